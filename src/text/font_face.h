#pragma once
// One outline font at one size: the FreeType face, its pixel metrics, the
// emboldening and slant it needs, and its glyph cache. Characters are drawn
// as the original platform drew them: white on black into the record's own
// bitmap, the pen at the top left (origin at x = 0, baseline at y = ascent).

#include <cstdint>
#include <memory>

#include "text/font_library.h"
#include "text/glyph_cache.h"

namespace qln {

struct FaceAlias;
struct FaceChoice;
struct FontRecord;

struct FontFace {
    FT_Face face = nullptr;
    int32_t ppem = 0;       // em size in pixels (for a bitmap font, the strike's)
    int32_t ascent = 0;     // pixels above the baseline
    int32_t descent = 0;    // pixels below it; ascent + descent is the cell height
    bool embolden = false;  // bold asked for, the face has none
    bool slant = false;     // italic asked for, the face has none
    GlyphCache cache;
    uint32_t rasterisations = 0;         // glyphs drawn through FreeType, for tests
    std::unique_ptr<uint8_t[]> scratch;  // font_glyph_uncached's ink
    size_t scratch_size = 0;
};

// Opens choice's file at the height (negative: em height, positive: cell
// height). alias, when given, supplies the vertical metrics instead of the
// face's own. nullptr when the file is no font FreeType reads.
FontFace* font_face_open(FontLibrary& library, const FaceChoice& choice, int32_t height,
                         const FaceAlias* alias, bool embolden, bool slant);
void font_face_close(FontFace* face);

// Draws code into record.bits (its cell cleared first) and gives the text
// extent: cx the advance in whole pixels, cy the cell height. A code
// without a character or glyph draws the face's missing-glyph box.
void font_face_draw(FontLibrary& library, FontRecord& record, uint16_t code, int32_t& cx,
                    int32_t& cy);

// Copies the cx x cy cell from record.bits into out; what lies beyond the
// bitmap reads as no ink.
void font_face_copy_cell(const FontRecord& record, int32_t cx, int32_t cy, uint8_t* out);

}  // namespace qln
