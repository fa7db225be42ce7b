// Settings files of any bytes: a lookup never fails, and a write followed by
// a lookup of the same names gives back the written value (cut at its first
// line break, with blanks and matching quotes trimmed as on any read).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/profile.h"

namespace {

bool simple(std::string_view s) {
    for (char c : s) {
        if (c == '[' || c == ']' || c == '=' || c == '\r' || c == '\n' || c == ' ' || c == '\t' ||
            c == '"' || c == '\'' || static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    // The first three bytes give the lengths of the section, key and value.
    const size_t ls = data[0] % 8, lk = data[1] % 8, lv = data[2] % 16;
    data += 3;
    size -= 3;
    if (size < ls + lk + lv) return 0;
    const std::string_view section(reinterpret_cast<const char*>(data), ls);
    const std::string_view key(reinterpret_cast<const char*>(data + ls), lk);
    const std::string_view value(reinterpret_cast<const char*>(data + ls + lk), lv);
    const std::string_view file(reinterpret_cast<const char*>(data + ls + lk + lv),
                                size - ls - lk - lv);
    (void)qln::profile_lookup(file, section, key);
    const std::string updated = qln::profile_update(file, section, key, value);
    if (!simple(section) || !simple(key) || !simple(value) || section.empty() || key.empty()) {
        return 0;
    }
    bool found = false;
    if (qln::profile_lookup(updated, section, key, &found) != value || !found) std::abort();
    return 0;
}
