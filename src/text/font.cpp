// Outline fonts: creation by face name and height, the glyph cache in front
// of the rasteriser, and the table's life.
#include "text/font.h"

#include <cstring>
#include <new>

#include "engine/engine.h"
#include "text/font_face.h"
#include "text/font_library.h"
#include "text/font_names.h"
#include "text/font_select.h"
#include "text/glyph_style.h"

namespace qln {
namespace {

constexpr int32_t kBoldWeight = 600;

void record_release(FontRecord& record) {
    font_face_close(record.face);
    record = FontRecord{};
}

FontLibrary* library_of(Engine& engine) {
    if (!engine.fonts.library) engine.fonts.library = font_library_open();
    return engine.fonts.library;
}

// Rasterises the plain glyph into ink of its own, from the cache's memory
// or the font's scratch buffer.
bool plain_glyph(FontLibrary& library, FontRecord& record, uint16_t code, bool cached,
                 GlyphInk& out) {
    FontFace& font = *record.face;
    int32_t cx = 0;
    int32_t cy = 0;
    font_face_draw(library, record, code, cx, cy);
    const size_t bytes = size_t(cx) * size_t(cy);
    uint8_t* ink = nullptr;
    if (cached) {
        ink = font.cache.reserve(bytes);
    } else {
        if (font.scratch_size < bytes) {
            font.scratch.reset(new (std::nothrow) uint8_t[bytes]);
            font.scratch_size = font.scratch ? bytes : 0;
        }
        ink = font.scratch.get();
    }
    if (!ink && bytes > 0) return false;
    font_face_copy_cell(record, cx, cy, ink);
    out = GlyphInk{cx, cy, bytes > 0 ? ink : nullptr};
    return true;
}

}  // namespace

FontTables::~FontTables() {
    for (FontRecord& record : fonts) record_release(record);
    font_library_close(library);
}

int font_create(Engine& engine, int32_t n, const char* face, int32_t height, int32_t weight,
                bool italic, int32_t advance) {
    FontRecord* record = font_get(engine, n);
    if (!record) return kFontFailed;
    return font_open(engine, *record, face, height, weight, italic, advance);
}

int font_open(Engine& engine, FontRecord& into, const char* face, int32_t height, int32_t weight,
              bool italic, int32_t advance) {
    FontRecord* record = &into;
    font_release(engine, *record);
    if (height == 0) height = kFontDefaultHeight;
    if (height < -kFontMaxSize || height > kFontMaxSize) return kFontFailed;

    FontLibrary* library = library_of(engine);
    if (!library) return kFontFailed;
    const FaceName name = face_name_decode(*library, face ? face : "");
    const FaceAlias* alias = name.valid ? face_alias_find(name.utf8) : nullptr;
    const char* family = !name.valid ? "" : alias ? alias->family : name.utf8;
    const bool want_bold = weight >= kBoldWeight;

    FaceChoice choice;
    int result = kFontCreated;
    if (!face_find_installed(*library, family, weight, italic, choice)) {
        alias = nullptr;  // the original's metrics belong to the mapped face only
        if (!face_find_substitute(*library, family, weight, italic, choice)) return kFontFailed;
        // No name at all takes the default face, as asking for every face
        // of the character set finds some.
        if (!name.valid || name.utf8[0] != '\0') result = kFontSubstitute;
    }
    FontFace* font = font_face_open(*library, choice, height, alias, want_bold && !choice.bold,
                                    italic && !choice.italic);
    if (!font) return kFontFailed;

    const int32_t size = height < 0 ? -height : height;
    record->size = size;
    record->advance = advance;
    record->stride_unit = (size + 3) / 4 * 4;
    record->bits_width = 3 * record->stride_unit;
    record->bits_height = 2 * size;
    record->bits.reset(new (std::nothrow)
                           uint8_t[size_t(record->bits_width) * size_t(record->bits_height)]());
    if (!record->bits) {
        font_face_close(font);
        *record = FontRecord{};
        return kFontFailed;
    }
    record->face = font;
    return result;
}

FontRecord* font_get(Engine& engine, int32_t n) {
    if (n < 0 || n >= kFontCount) return nullptr;
    return &engine.fonts.fonts[n];
}

void font_release(Engine&, FontRecord& record) {
    record_release(record);
}

bool font_glyph(Engine& engine, FontRecord& record, uint16_t code, uint16_t style, GlyphInk& out) {
    if (!record.face || !engine.fonts.library) return false;
    GlyphCache& cache = record.face->cache;
    // Starting over only here keeps every pointer handed out below valid.
    cache.trim();
    style = glyph_style_normalise(style);
    const uint32_t key = GlyphCache::key_of(code, style);
    if (const GlyphCache::Entry* hit = cache.find(key)) {
        out = GlyphInk{hit->cx, hit->cy, hit->ink};
        return true;
    }
    GlyphInk plain;
    const uint32_t plain_key = GlyphCache::key_of(code, 0);
    if (const GlyphCache::Entry* hit = cache.find(plain_key)) {
        plain = GlyphInk{hit->cx, hit->cy, hit->ink};
    } else {
        if (!plain_glyph(*engine.fonts.library, record, code, true, plain)) return false;
        cache.insert(plain_key, plain.cx, plain.cy, plain.ink);
    }
    if (style == 0) {
        out = plain;
        return true;
    }
    const size_t bytes = size_t(plain.cx) * size_t(plain.cy);
    uint8_t* ink = cache.reserve(bytes);
    if (!ink && bytes > 0) return false;
    if (bytes > 0) std::memcpy(ink, plain.ink, bytes);
    glyph_style_apply(ink, plain.cx, plain.cy, style);
    cache.insert(key, plain.cx, plain.cy, ink);
    out = GlyphInk{plain.cx, plain.cy, bytes > 0 ? ink : nullptr};
    return true;
}

bool font_glyph_uncached(Engine& engine, FontRecord& record, uint16_t code, uint16_t style,
                         GlyphInk& out) {
    if (!record.face || !engine.fonts.library) return false;
    if (!plain_glyph(*engine.fonts.library, record, code, false, out)) return false;
    glyph_style_apply(record.face->scratch.get(), out.cx, out.cy, glyph_style_normalise(style));
    return true;
}

int fonts_init(Engine& engine) {
    return font_create(engine, 0, kFontStartFace, 16, 400, false, 16);
}

const char* font_family_name(const FontRecord& record) {
    if (!record.face || !record.face->face || !record.face->face->family_name) return "";
    return record.face->face->family_name;
}

void fonts_release(Engine& engine) {
    for (FontRecord& record : engine.fonts.fonts) font_release(engine, record);
    for (PictureFontRecord& record : engine.fonts.picture_fonts) picfont_release(record);
}

}  // namespace qln
