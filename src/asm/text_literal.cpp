#include "asm/text_literal.h"

namespace qln {
namespace {

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void append_hex_escape(std::string& out, unsigned char b) {
    static const char kDigits[] = "0123456789ABCDEF";
    out += "\\x";
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
}

}  // namespace

bool literal_decode(std::string_view content, Cp932& codec, std::string& out, size_t& bad_at,
                    std::string& why) {
    size_t run_start = 0;
    auto flush = [&](size_t end) {
        if (end == run_start) return true;
        size_t bad = 0;
        if (codec.encode(content.substr(run_start, end - run_start), out, bad)) return true;
        bad_at = run_start + bad;
        why = codec.ready() ? "character not in code page 932 (or not UTF-8)"
                            : "no code page 932 converter on this system";
        return false;
    };
    size_t i = 0;
    while (i < content.size()) {
        if (content[i] != '\\') {
            ++i;
            continue;
        }
        if (!flush(i)) return false;
        if (i + 1 >= content.size()) {
            bad_at = i;
            why = "unfinished escape";
            return false;
        }
        const char e = content[i + 1];
        size_t next = i + 2;
        switch (e) {
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'x': {
                const int hi = i + 2 < content.size() ? hex_digit(content[i + 2]) : -1;
                const int lo = i + 3 < content.size() ? hex_digit(content[i + 3]) : -1;
                if (hi < 0 || lo < 0) {
                    bad_at = i;
                    why = "\\x needs two hex digits";
                    return false;
                }
                out += static_cast<char>(hi * 16 + lo);
                next = i + 4;
                break;
            }
            default:
                bad_at = i;
                why = "unknown escape";
                return false;
        }
        i = next;
        run_start = i;
    }
    return flush(content.size());
}

std::string literal_quote(std::string_view bytes, Cp932& codec) {
    std::string out = "\"";
    std::string utf8;
    std::string back;
    size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            if (b == '"' || b == '\\') {
                out += '\\';
                out += static_cast<char>(b);
            } else if (b >= 0x20 && b < 0x7F) {
                out += static_cast<char>(b);
            } else {
                append_hex_escape(out, b);
            }
            ++i;
            continue;
        }
        // A character is written as text only when it comes back as the same
        // bytes; anything else keeps its bytes as escapes.
        const size_t n = cp932_char_length(b);
        bool as_text = false;
        if (i + n <= bytes.size()) {
            const std::string_view chunk = bytes.substr(i, n);
            utf8.clear();
            back.clear();
            size_t bad = 0;
            as_text = codec.decode(chunk, utf8) && !utf8.empty() &&
                      static_cast<unsigned char>(utf8[0]) >= 0x80 &&
                      codec.encode(utf8, back, bad) && back == chunk;
        }
        if (as_text) {
            out += utf8;
            i += n;
        } else {
            // Both bytes of a double-byte character that does not survive
            // stay together, so its trail byte is not read as a lead byte.
            const size_t take = i + n <= bytes.size() ? n : 1;
            for (size_t k = 0; k < take; ++k)
                append_hex_escape(out, static_cast<unsigned char>(bytes[i + k]));
            i += take;
        }
    }
    out += '"';
    return out;
}

}  // namespace qln
