// Placeholder definitions until the font rasteriser lands.

#include "windows/font.h"

namespace qln {

FontTables::~FontTables() = default;

int font_create(Engine&, int32_t, const char*, int32_t, int32_t, bool, int32_t) {
    return kFontFailed;
}
FontRecord* font_get(Engine&, int32_t) {
    return nullptr;
}
void font_release(Engine&, FontRecord& record) {
    record = FontRecord{};
}
bool font_glyph(Engine&, FontRecord&, uint16_t, uint16_t, GlyphInk&) {
    return false;
}
bool fonts_init(Engine&) {
    return true;
}
void fonts_release(Engine&) {}
bool picfont_define(Engine&, int32_t, int32_t, Picture&, uint16_t, uint16_t, uint16_t, uint16_t,
                    uint16_t, uint16_t, uint32_t) {
    return false;
}
void picfont_release(PictureFontRecord& record) {
    record = PictureFontRecord{};
}
Picture* picfont_picture(Engine&, const PictureFontRecord&) {
    return nullptr;
}

}  // namespace qln
