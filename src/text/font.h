#pragma once
// Fonts the text renderer draws with: outline fonts found by face name and
// rasterised without anti-aliasing, and picture fonts whose glyphs are cells
// of a picture held in a data buffer. Both live in fixed tables of 36
// records owned by the engine.
//
// An outline font behaves as the original platform's fonts did: a negative
// height asks for that character (em) height, a positive one for that cell
// height (ascent + descent); weight 600 and above is bold (emboldened where
// the face has no bold); the text extent of a character is its advance and
// the cell height. Glyphs are drawn, white on black and aligned at the top
// left, into the font's own 8-bit bitmap of 3 x stride unit by 2 x size
// pixels; a character larger than that bitmap is cut at its edges.

#include <cstdint>
#include <memory>

namespace qln {

struct Engine;
struct Picture;

inline constexpr int kFontCount = 36;
inline constexpr int kPictureFontCount = 36;

// Glyph styles of the renderer (tx_ftype, "@P").
inline constexpr uint16_t kStyleBold = 1;
inline constexpr uint16_t kStyleSlantedBold = 2;

// One character as the renderer reads it: cx x cy bytes, row by row, a
// non-zero byte is ink. The bytes stay valid until the font is created
// again or released.
struct GlyphInk {
    int32_t cx = 0;  // the character's text extent
    int32_t cy = 0;
    const uint8_t* ink = nullptr;  // cx * cy bytes; may be null when cx or cy is 0
};

struct FontFace;  // the rasteriser's face, size and glyph cache

struct FontRecord {
    FontFace* face = nullptr;         // none = the record is empty
    int32_t size = 0;                 // |height|
    int32_t advance = 0;              // >= 1 fixed, <= 0 proportional plus -advance
    int32_t stride_unit = 0;          // size rounded up to a multiple of 4
    std::unique_ptr<uint8_t[]> bits;  // the glyph bitmap, 3 x stride unit by 2 x size
    int32_t bits_width = 0;
    int32_t bits_height = 0;
};

struct PictureFontRecord {
    uint8_t enabled = 0;
    Picture* picture = nullptr;  // the glyph sheet; valid only while buf_no still holds it
    int32_t buf_no = -1;         // the data buffer the sheet was taken from
    uint16_t advance = 0;
    uint16_t first_code = 0;
    uint16_t last_code = 0;
    uint32_t mode = 0;  // 1 tinted, anything else own colours
};

struct FontLibrary;  // the rasteriser library, opened at the first font_create

struct FontTables {
    FontRecord fonts[kFontCount];
    PictureFontRecord picture_fonts[kPictureFontCount];
    FontLibrary* library = nullptr;

    FontTables() = default;
    FontTables(const FontTables&) = delete;
    FontTables& operator=(const FontTables&) = delete;
    ~FontTables();
};

// A height of 0 asks for the platform's default size: a cell 16 pixels high
// (the font is then made as with height 16). Heights beyond kFontMaxSize
// either way are refused (result 0): no screen shows such a character.
inline constexpr int32_t kFontDefaultHeight = 16;
inline constexpr int32_t kFontMaxSize = 2048;

// Results of font_create.
inline constexpr int kFontFailed = 0;
inline constexpr int kFontCreated = 1;     // with the requested face
inline constexpr int kFontSubstitute = 2;  // the face is not installed; another stands in

// face is Shift-JIS. The original platform's face names are mapped to
// metric-compatible installed faces ("ＭＳ ゴシック" and "MS Gothic" to
// IPAGothic, and so on); a mapped face counts as the face itself.
int font_create(Engine& engine, int32_t n, const char* face, int32_t height, int32_t weight,
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
// 400, upright, advance 16. False when no font at all could be created.
bool fonts_init(Engine& engine);
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
