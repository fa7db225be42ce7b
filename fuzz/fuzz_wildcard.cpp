// File name patterns of any bytes: matching ends, every text matches itself
// as a pattern, "*" matches every name, and a name with a dot that a
// pattern matches still matches when the pattern gains a star at its end.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/wildcard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // The first byte says where the pattern ends and the name begins.
    const size_t cut = data[0] % size;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string_view pattern = rest.substr(0, cut < rest.size() ? cut : rest.size());
    const std::string_view name = rest.substr(pattern.size());
    const bool matched = qln::wildcard_match(pattern, name);
    (void)qln::wildcard_has_any(pattern);
    if (!qln::wildcard_match(name, name)) std::abort();
    if (!qln::wildcard_match("*", name)) std::abort();
    // A name with a dot is matched by stars and question marks alone (the
    // dot rules are for names without one), so a star more at the end of the
    // pattern still matches it. Plain ASCII keeps lead bytes out of the way.
    bool plain = name.find('.') != std::string_view::npos;
    for (char c : std::string(pattern) + std::string(name)) plain = plain && uint8_t(c) < 0x80;
    if (matched && plain && !qln::wildcard_match(std::string(pattern) + "*", name)) {
        std::abort();
    }
    return 0;
}
