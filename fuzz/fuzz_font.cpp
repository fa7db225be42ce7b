// Outline fonts from hostile face names, heights and character codes: the
// record is created, every code's glyph is taken through the cache in all
// three styles and checked against a fresh rasterisation byte for byte.
//
// Input: byte 0 the face name length (mod 48), the name, then
//   2 bytes height (signed; bit 15 of the raw value set and the low byte
//     0xff-0xfc picks a refused height instead), 2 bytes weight (x 4),
//   1 byte bit 0 italic, bits 1-7 the font number (mod 40: 36-39 none),
// and then two-byte character codes (at most 64).

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/engine.h"
#include "text/font.h"

namespace {

int32_t height_of(const uint8_t* p) {
    const uint16_t raw = uint16_t(p[0] | p[1] << 8);
    switch (raw) {
        case 0xfffc:
            return INT32_MIN;
        case 0xfffd:
            return INT32_MAX;
        case 0xfffe:
            return qln::kFontMaxSize + 1;
        case 0xffff:
            return -qln::kFontMaxSize - 1;
        default:
            return int16_t(raw) % 161;  // up to 160 pixels keeps runs quick
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // fontconfig's start-up once per process; torn down at exit so the leak
    // check sees the library's memory returned.
    static qln::Engine* engine = [] {
        std::atexit([] { delete engine; });
        return new qln::Engine;
    }();
    if (size < 1) return 0;
    const size_t name_len = data[0] % 48;
    if (size < 1 + name_len + 5) return 0;
    char face[48];
    std::memcpy(face, data + 1, name_len);
    face[name_len] = '\0';
    const uint8_t* p = data + 1 + name_len;
    const int32_t height = height_of(p);
    const int32_t weight = int32_t(p[2] | p[3] << 8) * 4;
    const bool italic = (p[4] & 1) != 0;
    const int32_t n = (p[4] >> 1) % 40;
    const int result = qln::font_create(*engine, n, face, height, weight, italic, 0);
    qln::FontRecord* record = qln::font_get(*engine, n);
    if (!record) {
        if (result != qln::kFontFailed) abort();
        return 0;
    }
    if ((result == qln::kFontFailed) != (record->face == nullptr)) abort();
    const uint8_t* codes = p + 5;
    const size_t count = (size - (codes - data)) / 2;
    for (size_t i = 0; i < count && i < 64; ++i) {
        const uint16_t code = uint16_t(codes[2 * i] << 8 | codes[2 * i + 1]);
        for (uint16_t style = 0; style < 3; ++style) {
            qln::GlyphInk cached;
            if (!qln::font_glyph(*engine, *record, code, style, cached)) {
                if (record->face) abort();
                continue;
            }
            const size_t bytes = size_t(cached.cx) * size_t(cached.cy);
            qln::GlyphInk fresh;
            if (!qln::font_glyph_uncached(*engine, *record, code, style, fresh)) abort();
            if (fresh.cx != cached.cx || fresh.cy != cached.cy) abort();
            if (bytes > 0 && std::memcmp(fresh.ink, cached.ink, bytes) != 0) abort();
        }
    }
    return 0;
}
