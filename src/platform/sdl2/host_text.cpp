#include "platform/sdl2/host_text.h"

#include <cstdio>
#include <cstring>

#include "base/error_record.h"

namespace qln {
namespace {

// The length of the UTF-8 sequence that starts with lead, or 0 for a byte
// that starts none.
size_t utf8_length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

constexpr char kReplacement[] = "\xEF\xBF\xBD";

// The fields are arrays filled by the error report; never read past them.
std::string_view field(const char* text, size_t capacity) {
    return std::string_view(text, strnlen(text, capacity));
}

}  // namespace

void HostText::typed_to_cp932(std::string_view utf8, std::string& out) {
    out.clear();
    size_t i = 0;
    while (i < utf8.size()) {
        const size_t n = utf8_length(static_cast<unsigned char>(utf8[i]));
        if (n == 0 || i + n > utf8.size()) {
            ++i;  // not UTF-8: dropped
            continue;
        }
        const size_t before = out.size();
        size_t bad_at = 0;
        if (!cp932_.encode(utf8.substr(i, n), out, bad_at)) out.resize(before);
        i += n;
    }
}

void HostText::engine_to_utf8(std::string_view cp932, std::string& out) {
    out.clear();
    size_t i = 0;
    while (i < cp932.size()) {
        const size_t n = cp932_char_length(static_cast<unsigned char>(cp932[i]));
        const size_t take = i + n <= cp932.size() ? n : 1;
        const size_t before = out.size();
        if (!cp932_.decode(cp932.substr(i, take), out)) {
            out.resize(before);
            out += kReplacement;
            i += 1;  // a bad pair may hide a good second byte
            continue;
        }
        i += take;
    }
}

std::string HostText::error_dialog_body(const ScenarioErrorRecord& record) {
    char number[32];
    std::string body = "コマンド  ";
    std::snprintf(number, sizeof number, "0x%02x", record.command & 0xFFu);
    body += number;
    body += "  ";
    engine_to_utf8(field(record.command_name, sizeof record.command_name), one_);
    body += one_;
    body += "\nエラー  ";
    std::snprintf(number, sizeof number, "%u", record.error_number);
    body += number;
    body += "  ";
    engine_to_utf8(field(record.error_text, sizeof record.error_text), one_);
    body += one_;
    body += "\n情報  ";
    engine_to_utf8(field(record.detail, sizeof record.detail), one_);
    body += one_;
    // Beside the fields the game's files left empty, what the engine knows.
    if (record.hint[0]) {
        engine_to_utf8(field(record.hint, sizeof record.hint), one_);
        body += "\n\n" + one_;
    }
    return body;
}

}  // namespace qln
