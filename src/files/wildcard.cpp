#include "files/wildcard.h"

#include <cstdint>

#include "base/ascii.h"
#include "base/sjis.h"

namespace qln {
namespace {

// Bytes of the character at i: 2 for a lead byte with its trail, else 1.
size_t char_len(std::string_view s, size_t i) {
    return (sjis_is_lead_byte(uint8_t(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

bool same_char(std::string_view a, size_t i, size_t la, std::string_view b, size_t j, size_t lb) {
    if (la != lb) return false;
    if (la == 2) return a[i] == b[j] && a[i + 1] == b[j + 1];
    return ascii_lower(a[i]) == ascii_lower(b[j]);
}

bool has_dot(std::string_view name) {
    for (size_t i = 0; i < name.size(); i += char_len(name, i)) {
        if (name[i] == '.') return true;
    }
    return false;
}

// Plain matching of "*" and "?", backtracking to the last star only, which
// keeps the work linear in pattern times name.
bool glob(std::string_view p, std::string_view n) {
    size_t i = 0, j = 0;
    size_t star_p = std::string_view::npos, star_n = 0;
    while (j < n.size()) {
        const size_t lj = char_len(n, j);
        if (i < p.size() && p[i] == '*') {
            star_p = ++i;
            star_n = j;
            continue;
        }
        if (i < p.size()) {
            const size_t li = char_len(p, i);
            if ((li == 1 && p[i] == '?') || same_char(p, i, li, n, j, lj)) {
                i += li;
                j += lj;
                continue;
            }
        }
        if (star_p == std::string_view::npos) return false;
        i = star_p;
        star_n += char_len(n, star_n);
        j = star_n;
    }
    while (i < p.size() && p[i] == '*') ++i;
    return i == p.size();
}

bool ends_outside_double_byte(std::string_view s, std::string_view tail) {
    if (s.size() < tail.size() || s.substr(s.size() - tail.size()) != tail) return false;
    size_t i = 0;
    while (i < s.size() - tail.size()) i += char_len(s, i);
    return i == s.size() - tail.size();  // the tail starts on a character
}

}  // namespace

bool wildcard_match(std::string_view pattern, std::string_view name) {
    if (glob(pattern, name)) return true;
    if (has_dot(name)) return false;
    if (ends_outside_double_byte(pattern, ".*")) {
        return glob(pattern.substr(0, pattern.size() - 2), name);
    }
    if (ends_outside_double_byte(pattern, ".")) {
        return glob(pattern.substr(0, pattern.size() - 1), name);
    }
    return false;
}

bool wildcard_has_any(std::string_view text) {
    for (size_t i = 0; i < text.size(); i += char_len(text, i)) {
        if (text[i] == '*' || text[i] == '?') return true;
    }
    return false;
}

}  // namespace qln
