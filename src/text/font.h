#pragma once
// Creating, releasing and rasterising the fonts of the engine's font tables.

#include <cstdint>

#include "engine/font_state.h"

namespace qln {

struct Engine;

// A height of 0 asks for the platform's default size: a cell 16 pixels high
// (the font is then made as with height 16). Heights beyond kFontMaxSize
// either way are refused (result 0): no screen shows such a character.
inline constexpr int32_t kFontDefaultHeight = 16;
inline constexpr int32_t kFontMaxSize = 2048;

// The face of font 0 at start, "ＭＳ ゴシック" (Shift-JIS).
inline constexpr char kFontStartFace[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";

// Results of font_create.
inline constexpr int kFontFailed = 0;
inline constexpr int kFontCreated = 1;     // with the requested face
inline constexpr int kFontSubstitute = 2;  // the face is not installed; another stands in

// face is Shift-JIS. The original platform's face names are mapped to
// metric-compatible installed faces ("ＭＳ ゴシック" and "MS Gothic" to
// IPAGothic, and so on); a mapped face counts as the face itself.
int font_create(Engine& engine, int32_t n, const char* face, int32_t height, int32_t weight,
                bool italic, int32_t advance);
// font_create into a record of the caller's (a font the engine draws its
// own dialogs with), released with font_release.
int font_open(Engine& engine, FontRecord& record, const char* face, int32_t height, int32_t weight,
              bool italic, int32_t advance);

// The record, or nullptr for n outside 0 .. 35.
FontRecord* font_get(Engine& engine, int32_t n);
void font_release(Engine& engine, FontRecord& record);

// The glyph of code (a single-byte code, or lead x 256 + trail) in style,
// rasterised once and then taken from the font's cache. False when the
// record is empty. A code the face has no glyph for is drawn as the face's
// missing-glyph box with that glyph's advance.
// The ink of a cached glyph stays valid until the font is created again or
// released, or until the cache, grown past its bound of a few MiB, starts
// over at the start of a later font_glyph call: use one glyph before asking
// for the next. Also false when memory for the glyph cannot be had.
bool font_glyph(Engine& engine, FontRecord& record, uint16_t code, uint16_t style, GlyphInk& out);
// The same glyph, rasterised through the face every time into a scratch
// buffer of the font (valid until the next call for this font); the
// reference for the cache's benchmark.
bool font_glyph_uncached(Engine& engine, FontRecord& record, uint16_t code, uint16_t style,
                         GlyphInk& out);

// Font 0 as every game starts with it: "ＭＳ ゴシック", height 16, weight
// 400, upright, advance 16. font_create's result: kFontFailed when no font
// at all could be had, kFontSubstitute when the Japanese faces are missing
// and another face stands in.
int fonts_init(Engine& engine);
// The family name of the face a font record draws with ("" for none).
const char* font_family_name(const FontRecord& record);
// Releases every font and picture-font record (at exit).
void fonts_release(Engine& engine);

// n >= 36 -> false. Otherwise the record is zeroed and set (enabled stays 0)
// and the cell layout is written into the picture's cell fields.
bool picfont_define(Engine& engine, int32_t n, int32_t buf_no, Picture& picture,
                    uint16_t cell_width, uint16_t cell_height, uint16_t per_row, uint16_t advance,
                    uint16_t first_code, uint16_t last_code, uint32_t mode);
void picfont_release(PictureFontRecord& record);
// The record's sheet when its data buffer still holds it, else nullptr (the
// buffer was freed or replaced since the definition).
Picture* picfont_picture(Engine& engine, const PictureFontRecord& record);

}  // namespace qln
