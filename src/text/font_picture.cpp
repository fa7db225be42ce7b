// Picture fonts: glyph sheets held in data buffers.
#include "engine/engine.h"
#include "graphics/picture.h"
#include "tables/tables.h"
#include "text/font.h"

namespace qln {

bool picfont_define(Engine& engine, int32_t n, int32_t buf_no, Picture& picture,
                    uint16_t cell_width, uint16_t cell_height, uint16_t per_row, uint16_t advance,
                    uint16_t first_code, uint16_t last_code, uint32_t mode) {
    if (n < 0 || n >= kPictureFontCount) return false;
    PictureFontRecord& record = engine.fonts.picture_fonts[n];
    record = PictureFontRecord{};
    record.picture = &picture;
    record.buf_no = buf_no;
    record.advance = advance;
    record.first_code = first_code;
    record.last_code = last_code;
    record.mode = mode;
    // The layout belongs to the sheet: records sharing it share the last one.
    picture.cell[0] = cell_width;
    picture.cell[1] = cell_height;
    picture.cell[2] = per_row;
    return true;
}

void picfont_release(PictureFontRecord& record) {
    record = PictureFontRecord{};
}

Picture* picfont_picture(Engine& engine, const PictureFontRecord& record) {
    if (!record.picture) return nullptr;
    // The buffer may have been freed or loaded anew since the definition.
    return buf_get_picture(engine, record.buf_no) == record.picture ? record.picture : nullptr;
}

}  // namespace qln
