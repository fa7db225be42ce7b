#include "text/font_names.h"

#include <cstring>

#include "base/ascii.h"
#include "text/font_library.h"

namespace qln {
namespace {

// The original faces' cell is one em: ascent 1802 and descent 246 of 2048.
constexpr int32_t kOriginalAscent = 1802;
constexpr int32_t kOriginalDescent = 246;
constexpr int32_t kOriginalEm = 2048;

constexpr FaceAlias kGothic{"IPAGothic", kOriginalAscent, kOriginalDescent, kOriginalEm};
constexpr FaceAlias kPGothic{"IPAPGothic", kOriginalAscent, kOriginalDescent, kOriginalEm};
constexpr FaceAlias kMincho{"IPAMincho", kOriginalAscent, kOriginalDescent, kOriginalEm};
constexpr FaceAlias kPMincho{"IPAPMincho", kOriginalAscent, kOriginalDescent, kOriginalEm};

struct AliasKey {
    const char* folded;  // folded as fold_name does
    const FaceAlias* alias;
};

constexpr AliasKey kAliasKeys[] = {
    {"msgothic", &kGothic},
    {"ms\xe3\x82\xb4\xe3\x82\xb7\xe3\x83\x83\xe3\x82\xaf", &kGothic},  // ms + ゴシック
    {"mspgothic", &kPGothic},
    {"msp\xe3\x82\xb4\xe3\x82\xb7\xe3\x83\x83\xe3\x82\xaf", &kPGothic},
    {"msmincho", &kMincho},
    {"ms\xe6\x98\x8e\xe6\x9c\x9d", &kMincho},  // ms + 明朝
    {"mspmincho", &kPMincho},
    {"msp\xe6\x98\x8e\xe6\x9c\x9d", &kPMincho},
};

// Reads one UTF-8 character at s[i]; advances i. Bytes that do not form a
// character come back as themselves.
uint32_t utf8_next(const char* s, size_t& i) {
    const auto b = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
    const uint8_t lead = b(i);
    int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    uint32_t c = more == 3   ? lead & 0x07u
                 : more == 2 ? lead & 0x0Fu
                 : more == 1 ? lead & 0x1Fu
                             : lead;
    size_t k = i + 1;
    for (int m = 0; m < more; ++m, ++k) {
        if ((b(k) & 0xC0) != 0x80) {  // also stops at the terminating NUL
            ++i;
            return lead;
        }
        c = c << 6 | (b(k) & 0x3Fu);
    }
    i = k;
    return c;
}

// Appends c as UTF-8 when it fits in out[0 .. cap - 1] with room for the NUL.
bool utf8_put(uint32_t c, char* out, size_t cap, size_t& n) {
    char tmp[4];
    size_t len = 0;
    if (c < 0x80) {
        tmp[len++] = static_cast<char>(c);
    } else if (c < 0x800) {
        tmp[len++] = static_cast<char>(0xC0 | c >> 6);
        tmp[len++] = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        tmp[len++] = static_cast<char>(0xE0 | c >> 12);
        tmp[len++] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
        tmp[len++] = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        tmp[len++] = static_cast<char>(0xF0 | (c >> 18 & 0x07));
        tmp[len++] = static_cast<char>(0x80 | (c >> 12 & 0x3F));
        tmp[len++] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
        tmp[len++] = static_cast<char>(0x80 | (c & 0x3F));
    }
    if (n + len + 1 > cap) return false;
    std::memcpy(out + n, tmp, len);
    n += len;
    out[n] = '\0';
    return true;
}

// Full-width ASCII as ASCII, lower case, spaces dropped.
void fold_name(const char* utf8, char* out, size_t cap) {
    size_t n = 0;
    out[0] = '\0';
    for (size_t i = 0; utf8[i] != '\0';) {
        uint32_t c = utf8_next(utf8, i);
        if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;
        if (c == 0x20 || c == 0x3000) continue;
        if (!utf8_put(ascii_lower(c), out, cap, n)) return;
    }
}

}  // namespace

FaceName face_name_decode(FontLibrary& library, const char* sjis) {
    FaceName name;
    size_t len = strnlen(sjis, 255);
    uint32_t chars[255];
    int32_t count = sjis_decode(library, sjis, len, chars, len);
    // The cut may have split a double-byte character: drop its lead byte.
    if (count < 0 && len == 255) {
        len = 254;
        count = sjis_decode(library, sjis, len, chars, len);
    }
    if (count < 0) {
        name.valid = false;
        return name;
    }
    size_t n = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (!utf8_put(chars[i], name.utf8, sizeof name.utf8, n)) break;
    }
    return name;
}

const FaceAlias* face_alias_find(const char* utf8) {
    char folded[256];
    fold_name(utf8, folded, sizeof folded);
    for (const AliasKey& key : kAliasKeys) {
        if (std::strcmp(folded, key.folded) == 0) return key.alias;
    }
    return nullptr;
}

bool face_name_equal(const char* a, const char* b) {
    size_t i = 0;
    for (; a[i] != '\0' && b[i] != '\0'; ++i) {
        if (ascii_lower(a[i]) != ascii_lower(b[i])) {
            return false;
        }
    }
    return a[i] == b[i];
}

}  // namespace qln
