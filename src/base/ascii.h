#pragma once
// ASCII case folding. Only A-Z fold: bytes of Shift-JIS characters and of
// UTF-8 sequences pass unchanged, whatever the host's locale.

#include <cstdint>
#include <string>
#include <string_view>

namespace qln {

constexpr uint32_t ascii_lower(uint32_t c) {
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

constexpr char ascii_lower(char c) {
    return static_cast<char>(ascii_lower(static_cast<uint32_t>(static_cast<uint8_t>(c))));
}

inline std::string ascii_lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = ascii_lower(c);
    return out;
}

}  // namespace qln
