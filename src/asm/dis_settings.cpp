// Printing the start-up settings records, and raw bytes.

#include <cstring>

#include "asm/asm_names.h"
#include "asm/dis_internal.h"
#include "asm/text_literal.h"

namespace qln {

void dis_bytes(const uint8_t* image, size_t from, size_t to, const std::set<uint32_t>& labels,
               std::string& out) {
    constexpr size_t kPerLine = 16;
    size_t i = from;
    while (i < to) {
        if (labels.count(static_cast<uint32_t>(i)))
            out += dis_label(static_cast<uint32_t>(i)) + ":\n";
        out += "    .bytes";
        size_t n = 0;
        do {
            out += ' ';
            out += dis_hex(image[i], 2);
            ++i;
            ++n;
        } while (i < to && n < kPerLine && !labels.count(static_cast<uint32_t>(i)));
        out += '\n';
    }
}

namespace {

// Parses a file-setting text back into name, entry and flag, and accepts it
// only when the assembler would store exactly this text for them.
bool file_setting_fields(std::string_view text, Cp932& codec, std::string& printed) {
    std::string_view name;
    std::string_view rest;
    if (!text.empty() && text[0] == '"') {
        const size_t close = text.find('"', 1);
        if (close == text.npos) return false;
        name = text.substr(1, close - 1);
        rest = text.substr(close + 1);
    } else {
        const size_t comma = text.find(',');
        if (comma == text.npos) return false;
        name = text.substr(0, comma);
        rest = text.substr(comma);
    }
    int64_t fields[2] = {0, 0};
    int count = 0;
    while (!rest.empty()) {
        if (rest[0] != ',' || count == 2) return false;
        rest.remove_prefix(1);
        size_t n = 0;
        bool negative = false;
        if (n < rest.size() && rest[n] == '-') {
            negative = true;
            ++n;
        }
        int64_t v = 0;
        const size_t digits_from = n;
        while (n < rest.size() && rest[n] >= '0' && rest[n] <= '9' && n - digits_from < 10)
            v = v * 10 + (rest[n++] - '0');
        if (n == digits_from) return false;
        fields[count++] = negative ? -v : v;
        rest.remove_prefix(n);
    }
    if (count == 0) return false;
    for (int i = 0; i < count; ++i)
        if (fields[i] < INT32_MIN || fields[i] > INT32_MAX) return false;
    std::string rebuilt;
    if (!file_setting_text(name, fields[0], count == 2 ? &fields[1] : nullptr, rebuilt) ||
        rebuilt != text)
        return false;
    printed = literal_quote(name, codec) + ", " + std::to_string(fields[0]);
    if (count == 2) printed += ", " + std::to_string(fields[1]);
    return true;
}

std::string tag_text(uint8_t tag) {
    if ((tag >= 'A' && tag <= 'Z') || (tag >= 'a' && tag <= 'z'))
        return std::string("\"") + char(tag) + "\"";
    return dis_hex(tag, 2);
}

}  // namespace

void dis_settings(const uint8_t* image, size_t h, Cp932& codec, std::string& out) {
    const std::set<uint32_t> no_labels;
    size_t pos = 5;
    while (pos < h) {
        const uint8_t tag = image[pos];
        if (tag == 'X') {
            out += "    end\n";
            dis_bytes(image, pos + 1, h, no_labels, out);
            return;
        }
        if (h - pos < 3) {
            dis_bytes(image, pos, h, no_labels, out);
            return;
        }
        const size_t next = image[pos + 1] | image[pos + 2] << 8;
        const size_t body = pos + 3;
        const RecordName* rec = record_by_tag(tag);
        const RecordPayload payload = rec ? rec->payload : RecordPayload::None;
        size_t body_end = body;
        std::string text;
        switch (payload) {
            case RecordPayload::None:
                break;
            case RecordPayload::Number:
                body_end = body + 2;
                break;
            case RecordPayload::TwoNumbers:
                body_end = body + 4;
                break;
            case RecordPayload::Text:
            case RecordPayload::FileSetting: {
                const void* nul = std::memchr(image + body, 0, h - body);
                body_end = nul ? static_cast<const uint8_t*>(nul) - image + 1 : h + 1;
                if (nul)
                    text.assign(reinterpret_cast<const char*>(image + body), body_end - 1 - body);
                break;
            }
        }
        std::string printed;
        bool named = body_end <= h && next == body_end;
        if (named) {
            auto u16 = [&](size_t at) { return std::to_string(image[at] | image[at + 1] << 8); };
            switch (payload) {
                case RecordPayload::None:
                    printed = "record " + tag_text(tag) + ", auto";
                    break;
                case RecordPayload::Number:
                    printed = std::string(rec->keyword) + " " + u16(body);
                    break;
                case RecordPayload::TwoNumbers:
                    printed = std::string(rec->keyword) + " " + u16(body) + ", " + u16(body + 2);
                    break;
                case RecordPayload::Text:
                    printed = std::string(rec->keyword) + " " + literal_quote(text, codec);
                    break;
                case RecordPayload::FileSetting: {
                    std::string fields;
                    printed =
                        std::string(rec->keyword) + " " +
                        (file_setting_fields(text, codec, fields) ? fields
                                                                  : literal_quote(text, codec));
                    break;
                }
            }
        }
        if (!named) {
            // The loader rejects the image here; keep the rest as one raw record.
            out += "    record " + tag_text(tag) + ", " + std::to_string(next);
            for (size_t i = body; i < h; ++i) out += ", " + dis_hex(image[i], 2);
            out += '\n';
            return;
        }
        out += "    " + printed + "\n";
        pos = next;
    }
}

}  // namespace qln
