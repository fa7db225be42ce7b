#pragma once
// The rasteriser library of one engine: FreeType, its own fontconfig
// configuration (never the process-wide one) and a code page 932 decoder.
// Opened at the first font_create, closed with the font tables.

#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>
#include <iconv.h>

#include <cstddef>
#include <cstdint>

namespace qln {

struct FontLibrary {
    FT_Library freetype = nullptr;
    FcConfig* config = nullptr;
    iconv_t sjis = reinterpret_cast<iconv_t>(-1);  // CP932 -> UTF-32LE
};

// nullptr when FreeType, fontconfig or the decoder cannot be had.
FontLibrary* font_library_open();
void font_library_close(FontLibrary* library);

// Decodes len Shift-JIS bytes into at most cap code points; the count, or -1
// when the bytes are no Shift-JIS text or do not fit.
int32_t sjis_decode(FontLibrary& library, const char* bytes, size_t len, uint32_t* out, size_t cap);

// The Unicode character of a code (a single byte, or lead x 256 + trail);
// false when the code stands for no single character.
bool sjis_code_to_unicode(FontLibrary& library, uint16_t code, uint32_t& out);

}  // namespace qln
