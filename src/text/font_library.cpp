#include "text/font_library.h"

#include <new>

#include "base/byte_order.h"

namespace qln {

namespace {
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
}  // namespace

FontLibrary* font_library_open() {
    FontLibrary* library = new (std::nothrow) FontLibrary;
    if (!library) return nullptr;
    if (FT_Init_FreeType(&library->freetype) != 0) library->freetype = nullptr;
    library->config = FcInitLoadConfigAndFonts();
    library->sjis = iconv_open("UTF-32LE", "CP932");
    if (!library->freetype || !library->config || library->sjis == kNoConverter) {
        font_library_close(library);
        return nullptr;
    }
    return library;
}

void font_library_close(FontLibrary* library) {
    if (!library) return;
    if (library->sjis != kNoConverter) iconv_close(library->sjis);
    if (library->config) FcConfigDestroy(library->config);
    if (library->freetype) FT_Done_FreeType(library->freetype);
    delete library;
}

int32_t sjis_decode(FontLibrary& library, const char* bytes, size_t len, uint32_t* out,
                    size_t cap) {
    if (len == 0) return 0;
    // Start every conversion from the initial state, whatever the last one left.
    iconv(library.sjis, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(bytes);  // iconv's signature is not const-correct
    size_t src_left = len;
    char* dst = reinterpret_cast<char*>(out);
    size_t dst_left = cap * 4;
    if (iconv(library.sjis, &src, &src_left, &dst, &dst_left) == static_cast<size_t>(-1) ||
        src_left != 0) {
        return -1;
    }
    const size_t bytes_out = cap * 4 - dst_left;
    // UTF-32LE in memory: turn the bytes into host order explicitly.
    const uint8_t* raw = reinterpret_cast<const uint8_t*>(out);
    const size_t count = bytes_out / 4;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = raw + i * 4;
        out[i] = read_u32(p);
    }
    return static_cast<int32_t>(count);
}

bool sjis_code_to_unicode(FontLibrary& library, uint16_t code, uint32_t& out) {
    char bytes[2];
    size_t len = 0;
    if (code > 0xFF) bytes[len++] = static_cast<char>(code >> 8);
    bytes[len++] = static_cast<char>(code & 0xFF);
    uint32_t chars[2];
    // A double-byte code whose bytes read as two characters is no character.
    if (sjis_decode(library, bytes, len, chars, 2) != 1) return false;
    out = chars[0];
    return true;
}

}  // namespace qln
