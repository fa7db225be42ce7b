// Start-up settings records: a tag byte, the u16 offset of the next record,
// then the payload.

#include "asm/asm_context.h"
#include "asm/asm_names.h"

namespace qln {

bool AsmState::file_setting(std::string& text) {
    std::string name;
    if (!string_literal(name, false)) return false;
    if (!lx_.accept(",")) {
        text = name;  // one string: the stored text as it stands
        return true;
    }
    // name, entry [, flag]: the text the record reader splits again.
    const int name_end_col = lx_.peek().col;
    int64_t entry = 0;
    if (!signed_number(INT32_MIN, INT32_MAX, entry, "an entry number")) return false;
    int64_t flag = 0;
    const bool has_flag = lx_.accept(",");
    if (has_flag && !signed_number(INT32_MIN, INT32_MAX, flag, "a flag")) return false;
    if (!file_setting_text(name, entry, has_flag ? &flag : nullptr, text))
        return fail(name_end_col, "a file name that needs quotes cannot hold a double quote");
    return true;
}

// record TAG, NEXT|auto [, byte or string]...
bool AsmState::record_raw() {
    const size_t start = image_.size();
    if (lx_.peek().kind == TokKind::String) {
        std::string tag;
        const Token t = lx_.peek();
        if (!string_literal(tag, true)) return false;
        if (tag.size() != 1) return fail_at(t, "a record tag is one byte");
        image_.push_back(static_cast<uint8_t>(tag[0]));
    } else {
        int64_t tag = 0;
        if (!signed_number(0, 255, tag, "a record tag")) return false;
        image_.push_back(static_cast<uint8_t>(tag));
    }
    if (!expect(",")) return false;
    std::optional<uint16_t> next;
    if (lx_.peek().is_ident("auto")) {
        lx_.next();
    } else {
        int64_t v = 0;
        if (!signed_number(0, 0xFFFF, v, "a next-record offset")) return false;
        next = static_cast<uint16_t>(v);
    }
    put_word(0);
    if (lx_.accept(",") && !bytes_items()) return false;
    const size_t end = image_.size();
    const auto w = static_cast<uint16_t>(next ? *next : end);
    image_[start + 1] = static_cast<uint8_t>(w);
    image_[start + 2] = static_cast<uint8_t>(w >> 8);
    return true;
}

bool AsmState::settings_line(const Token& keyword) {
    lx_.next();
    if (keyword.text == "record") {
        if (!record_raw()) return false;
    } else {
        const RecordName* rec = record_by_keyword(keyword.text);
        if (!rec)
            return fail_at(keyword, "unknown settings record '" + std::string(keyword.text) + "'");
        const size_t start = image_.size();
        image_.push_back(static_cast<uint8_t>(rec->tag));
        if (rec->payload != RecordPayload::None) {  // "end" is the bare tag
            put_word(0);
            int64_t a = 0;
            int64_t b = 0;
            std::string text;
            switch (rec->payload) {
                case RecordPayload::Number:
                    if (!signed_number(0, 0xFFFF, a, "a number")) return false;
                    put_word(static_cast<uint16_t>(a));
                    break;
                case RecordPayload::TwoNumbers:
                    if (!signed_number(0, 0xFFFF, a, "a number") || !expect(",") ||
                        !signed_number(0, 0xFFFF, b, "a number"))
                        return false;
                    put_word(static_cast<uint16_t>(a));
                    put_word(static_cast<uint16_t>(b));
                    break;
                case RecordPayload::Text:
                    if (!string_literal(text, false)) return false;
                    break;
                case RecordPayload::FileSetting:
                    if (!file_setting(text)) return false;
                    break;
                case RecordPayload::None:
                    break;
            }
            if (rec->payload == RecordPayload::Text || rec->payload == RecordPayload::FileSetting) {
                image_.insert(image_.end(), text.begin(), text.end());
                image_.push_back(0);
            }
            if (image_.size() > 0xFFFF)
                return fail_at(keyword, "settings records past offset 65,535");
            image_[start + 1] = static_cast<uint8_t>(image_.size());
            image_[start + 2] = static_cast<uint8_t>(image_.size() >> 8);
        }
    }
    if (!lx_.at_end()) return fail_expected("end of line");
    return true;
}

}  // namespace qln
