#include "platform/headless/console_text.h"

#include <cstdio>
#include <cstring>

#include "base/sjis.h"
#include "platform/host_files.h"

namespace qln {
namespace {

void append_hex(std::string& out, uint8_t c) {
    char buf[5];
    std::snprintf(buf, sizeof buf, "\\x%02X", c);
    out += buf;
}

void append_escaped_ascii(std::string& out, uint8_t c, bool quoted) {
    switch (c) {
        case '\\':
            out += "\\\\";
            return;
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        case '"':
            out += quoted ? "\\\"" : "\"";
            return;
        default:
            if (c < 0x20 || c == 0x7F) {
                append_hex(out, c);
            } else {
                out += static_cast<char>(c);
            }
    }
}

}  // namespace

std::string console_text(const char* sjis, bool quoted) {
    std::string out;
    if (!sjis) return out;
    const size_t len = std::strlen(sjis);
    const auto* p = reinterpret_cast<const uint8_t*>(sjis);
    std::string piece;
    size_t i = 0;
    while (i < len) {
        const uint8_t c = p[i];
        if (c < 0x80) {
            append_escaped_ascii(out, c, quoted);
            ++i;
            continue;
        }
        // Gather the run of non-ASCII bytes and convert it whole; a run that
        // does not convert is converted character by character.
        size_t end = i;
        while (end < len && p[end] >= 0x80)
            end += (sjis_is_lead_byte(p[end]) && end + 1 < len) ? 2 : 1;
        if (end > len) end = len;
        if (sjis_to_utf8(sjis + i, end - i, piece)) {
            out += piece;
            i = end;
            continue;
        }
        while (i < end) {
            const size_t n = (sjis_is_lead_byte(p[i]) && i + 1 < len) ? 2 : 1;
            if (sjis_to_utf8(sjis + i, n, piece) && !piece.empty()) {
                out += piece;
                i += n;
            } else {
                append_hex(out, p[i]);
                ++i;
            }
        }
    }
    return out;
}

}  // namespace qln
