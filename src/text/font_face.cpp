#include "text/font_face.h"

#include FT_TRUETYPE_TABLES_H

#include <cstdlib>
#include <cstring>
#include <new>

#include "text/font.h"
#include "text/font_names.h"
#include "text/font_select.h"

namespace qln {
namespace {

// The slant of a face without an italic: x grows by 0.2 of the height.
constexpr FT_Fixed kSlantShear = 0x3333;
// Bounds that no sane face reaches at the largest size; a broken face's
// metrics are held to them so a cell's bytes stay countable.
constexpr int64_t kMaxPpem = 4096;
constexpr int64_t kMaxExtent = 8192;

int64_t clamp64(int64_t v, int64_t lo, int64_t hi) {
    return v < lo ? lo : v > hi ? hi : v;
}

// Holds the cell to kMaxExtent, the ascent first.
void bound_cell(FontFace& font) {
    font.ascent = int32_t(clamp64(font.ascent, 0, kMaxExtent));
    font.descent = int32_t(clamp64(font.descent, 0, kMaxExtent - font.ascent));
}

int64_t div_round(int64_t num, int64_t den) {
    return (num + den / 2) / den;
}

// The face's cell in font units: the Windows ascent and descent when the
// face has them, else its ascender and descender.
void design_cell(FT_Face face, int64_t& ascent, int64_t& descent) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        ascent = os2->usWinAscent;
        descent = os2->usWinDescent;
        return;
    }
    ascent = face->ascender;
    descent = -static_cast<int64_t>(face->descender);
}

bool size_scalable(FontFace& font, int32_t height, const FaceAlias* alias) {
    FT_Face face = font.face;
    int64_t ascent = 0;
    int64_t descent = 0;
    int64_t em = face->units_per_EM;
    if (alias) {
        ascent = alias->win_ascent;
        descent = alias->win_descent;
        em = alias->units_per_em;
    } else {
        design_cell(face, ascent, descent);
    }
    const bool has_cell = ascent >= 0 && descent >= 0 && ascent + descent > 0 && em > 0;
    int64_t ppem = height < 0 ? -int64_t(height) : height;
    if (height > 0 && has_cell) ppem = div_round(int64_t(height) * em, ascent + descent);
    ppem = clamp64(ppem, 1, kMaxPpem);
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(ppem)) != 0) return false;
    font.ppem = int32_t(ppem);
    if (!has_cell) {
        // No design cell at all: the sized face's own rounded metrics.
        font.ascent = int32_t(clamp64((face->size->metrics.ascender + 32) >> 6, 0, kMaxExtent));
        font.descent = int32_t(clamp64((-face->size->metrics.descender + 32) >> 6, 0, kMaxExtent));
        if (height > 0) font.descent = height - font.ascent;
        bound_cell(font);
        return true;
    }
    if (height > 0) {
        // The cell is exactly the asked height; the ascent takes its share.
        font.ascent = int32_t(div_round(int64_t(height) * ascent, ascent + descent));
        font.descent = height - font.ascent;
    } else {
        font.ascent = int32_t(clamp64(div_round(ppem * ascent, em), 0, kMaxExtent));
        font.descent = int32_t(clamp64(div_round(ppem * descent, em), 0, kMaxExtent));
    }
    bound_cell(font);
    return true;
}

// A face of fixed strikes only: the strike nearest the asked height.
bool size_strike(FontFace& font, int32_t height) {
    FT_Face face = font.face;
    if (face->num_fixed_sizes < 1) return false;
    const int64_t want = height < 0 ? -int64_t(height) : height;
    int best = 0;
    int64_t best_gap = -1;
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
        const int64_t gap = std::llabs(int64_t(face->available_sizes[i].height) - want);
        if (best_gap < 0 || gap < best_gap) {
            best = i;
            best_gap = gap;
        }
    }
    if (FT_Select_Size(face, best) != 0) return false;
    font.ppem = int32_t(face->size->metrics.y_ppem);
    font.ascent = int32_t(clamp64((face->size->metrics.ascender + 32) >> 6, 0, kMaxExtent));
    font.descent = int32_t(clamp64((-face->size->metrics.descender + 32) >> 6, 0, kMaxExtent));
    bound_cell(font);
    return true;
}

bool ink_at(const FT_Bitmap& bitmap, const uint8_t* row, unsigned x) {
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) return (row[x >> 3] & (0x80u >> (x & 7))) != 0;
    return row[x] >= 128;  // an embedded grey strike: half coverage and more is ink
}

// ORs the rendered glyph into the bitmap at (left, top), cut at its edges;
// emboldening draws it a second time one pixel to the right.
void blit(const FT_Bitmap& bitmap, int64_t left, int64_t top, bool embolden, FontRecord& record) {
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) {
        return;
    }
    if (!bitmap.buffer) return;
    const int64_t width = record.bits_width;
    const int64_t height = record.bits_height;
    const int64_t pitch = bitmap.pitch < 0 ? -int64_t(bitmap.pitch) : bitmap.pitch;
    const int64_t extra = embolden ? 1 : 0;
    for (unsigned r = 0; r < bitmap.rows; ++r) {
        const int64_t y = top + r;
        if (y < 0 || y >= height) continue;
        const int64_t source_row = bitmap.pitch >= 0 ? r : int64_t(bitmap.rows) - 1 - r;
        const uint8_t* src = bitmap.buffer + source_row * pitch;
        uint8_t* dst = record.bits.get() + y * width;
        for (unsigned c = 0; c < bitmap.width; ++c) {
            if (!ink_at(bitmap, src, c)) continue;
            for (int64_t x = left + c; x <= left + c + extra; ++x) {
                if (x >= 0 && x < width) dst[x] = 255;
            }
        }
    }
}

}  // namespace

FontFace* font_face_open(FontLibrary& library, const FaceChoice& choice, int32_t height,
                         const FaceAlias* alias, bool embolden, bool slant) {
    FontFace* font = new (std::nothrow) FontFace;
    if (!font) return nullptr;
    if (FT_New_Face(library.freetype, choice.file, choice.index, &font->face) != 0) {
        font->face = nullptr;
        font_face_close(font);
        return nullptr;
    }
    FT_Select_Charmap(font->face, FT_ENCODING_UNICODE);  // without one every code is missing
    const bool sized = FT_IS_SCALABLE(font->face) ? size_scalable(*font, height, alias)
                                                  : size_strike(*font, height);
    if (!sized) {
        font_face_close(font);
        return nullptr;
    }
    font->embolden = embolden;
    font->slant = slant && FT_IS_SCALABLE(font->face);
    if (font->slant) {
        FT_Matrix shear{0x10000, kSlantShear, 0, 0x10000};
        FT_Set_Transform(font->face, &shear, nullptr);
    }
    return font;
}

void font_face_close(FontFace* face) {
    if (!face) return;
    if (face->face) FT_Done_Face(face->face);
    delete face;
}

void font_face_draw(FontLibrary& library, FontRecord& record, uint16_t code, int32_t& cx,
                    int32_t& cy) {
    FontFace& font = *record.face;
    ++font.rasterisations;
    cy = font.ascent + font.descent;
    cx = 0;
    uint32_t unicode = 0;
    const FT_UInt glyph =
        sjis_code_to_unicode(library, code, unicode) ? FT_Get_Char_Index(font.face, unicode) : 0;
    FT_Int32 flags = FT_LOAD_TARGET_MONO;
    if (font.slant) flags |= FT_LOAD_NO_BITMAP;  // strikes cannot be slanted
    FT_GlyphSlot slot = font.face->glyph;
    bool loaded = FT_Load_Glyph(font.face, glyph, flags) == 0;
    if (loaded && slot->format != FT_GLYPH_FORMAT_BITMAP) {
        loaded = FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0;
    }
    if (loaded) {
        const int64_t advance = (int64_t(slot->advance.x) + 32) >> 6;
        cx = int32_t(clamp64(advance, 0, kMaxExtent - 1));
        if (font.embolden) ++cx;  // bold made up by the rasteriser is one pixel wider
    }
    // The opaque background fills the character's cell, as a text output would.
    const int32_t clear_w = cx < record.bits_width ? cx : record.bits_width;
    const int32_t clear_h = cy < record.bits_height ? cy : record.bits_height;
    for (int32_t y = 0; y < clear_h; ++y) {
        std::memset(record.bits.get() + size_t(y) * size_t(record.bits_width), 0, size_t(clear_w));
    }
    if (loaded) {
        blit(slot->bitmap, slot->bitmap_left, int64_t(font.ascent) - slot->bitmap_top,
             font.embolden, record);
    }
}

void font_face_copy_cell(const FontRecord& record, int32_t cx, int32_t cy, uint8_t* out) {
    const int32_t inside_w = cx < record.bits_width ? cx : record.bits_width;
    for (int32_t y = 0; y < cy; ++y) {
        uint8_t* dst = out + size_t(y) * size_t(cx);
        if (y >= record.bits_height) {
            std::memset(dst, 0, size_t(cx));
            continue;
        }
        std::memcpy(dst, record.bits.get() + size_t(y) * size_t(record.bits_width),
                    size_t(inside_w));
        std::memset(dst + inside_w, 0, size_t(cx - inside_w));
    }
}

}  // namespace qln
