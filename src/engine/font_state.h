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

}  // namespace qln
