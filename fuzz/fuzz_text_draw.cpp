// The text renderer over hostile text and settings on small pictures.
//
// Input: 20 bytes of settings, then the text (to the end or a NUL).
//   0, 1   picture width 1-48, height 1-32
//   2      bit 0 alpha plane, bit 1 mask value >= 0, bits 2-7 the mask value
//   3      tx_font (mod 40: 36-39 name no font)
//   4      tx_ftype
//   5-7    tx_ccol, tx_bcol, tx_scol (signed; negative background = transparent)
//   8, 9   tx_ssx, tx_ssy (signed)
//   10-13  tx_px, tx_py (signed, x 2)
//   14-17  tx_ex, tx_ey (16 bits each, signed)
//   18     tx_vt (signed)
//   19     cell width, height and cells per row of sheet 1 (bits 0-2, 3-5, 6-7)
//
// Fonts: 0 the start-up font, 1 a 7-pixel font with spacing, 2 a 40-pixel
// font larger than any picture here. Picture fonts ("@X1" to "@X4"): 1
// tinted on sheet 1, 2 own colours with an alpha plane whose cells run past
// the sheet, 3 on a buffer freed after the definition, 4 on the sheet it is
// drawn into.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "engine/engine.h"
#include "graphics/picture.h"
#include "tables/tables.h"
#include "text/font.h"
#include "text/text_draw.h"

namespace {

constexpr size_t kHeader = 20;

int32_t s8(uint8_t b) {
    return int8_t(b);
}
int32_t s16(const uint8_t* p) {
    return int16_t(uint16_t(p[0] | p[1] << 8));
}

void fill(qln::Picture& p, uint8_t seed) {
    for (size_t i = 0; i < p.pixel_bytes(); ++i) p.pixels[i] = uint8_t(seed + i * 37);
    if (p.alpha)
        for (size_t i = 0; i < p.alpha_bytes(); ++i) p.alpha[i] = uint8_t(i * 11);
}

struct World {
    qln::Engine engine;
    bool ok = false;
    World() {
        ok = qln::tables_init(engine) && qln::fonts_init(engine);
        if (!ok) return;
        qln::font_create(engine, 1, "MS Gothic", 7, 400, false, -3);
        qln::font_create(engine, 2, "MS Mincho", -40, 700, true, 0);
        qln::Picture* sheet1 = qln::buf_new_picture(engine, 1, 16, 16);
        qln::Picture* sheet2 = qln::buf_new_picture(engine, 2, 15, 10);
        qln::Picture* sheet3 = qln::buf_new_picture(engine, 3, 8, 8);
        ok = sheet1 && sheet2 && sheet3;
        if (!ok) return;
        fill(*sheet1, 1);
        sheet2->alpha.reset(new uint8_t[sheet2->alpha_bytes()]);
        fill(*sheet2, 2);
        fill(*sheet3, 3);
        qln::picfont_define(engine, 1, 1, *sheet1, 4, 4, 4, 5, 'A', 'P', 1);
        qln::picfont_define(engine, 2, 2, *sheet2, 3, 5, 7, 3, 0x8140, 0x81FF, 0);
        qln::picfont_define(engine, 3, 3, *sheet3, 2, 2, 4, 2, '0', '9', 1);
        qln::buf_free(engine, 3);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kHeader) return 0;
    static World world;
    if (!world.ok) return 0;
    qln::Engine& engine = world.engine;
    const uint8_t* h = data;

    // The sheet's layout is the input's; zero sizes and rows are allowed.
    qln::Picture* sheet1 = qln::buf_get_picture(engine, 1);
    sheet1->cell[0] = uint16_t(h[19] & 7);
    sheet1->cell[1] = uint16_t((h[19] >> 3) & 7);
    sheet1->cell[2] = uint16_t(h[19] >> 6);

    const uint16_t width = uint16_t(1 + h[0] % 48), height = uint16_t(1 + h[1] % 32);
    // The picture goes into buffer 4 so picture font 4 can read its own target.
    qln::Picture* picture = qln::buf_new_picture(engine, 4, width, height);
    if (!picture) return 0;
    if (h[2] & 1) picture->alpha.reset(new uint8_t[picture->alpha_bytes()]);
    fill(*picture, h[0]);
    qln::picfont_define(engine, 4, 4, *picture, 3, 3, 2, 4, 'a', 'z', h[2] >> 7);

    qln::TextSettings s;
    s.tx_font = uint16_t(h[3] % 40);
    s.tx_ftype = h[4];
    s.tx_ccol = s8(h[5]);
    s.tx_bcol = s8(h[6]);
    s.tx_scol = s8(h[7]);
    s.tx_ssx = s8(h[8]);
    s.tx_ssy = s8(h[9]);
    s.tx_px = s16(h + 10);
    s.tx_py = s16(h + 12);
    s.tx_ex = s16(h + 14);
    s.tx_ey = s16(h + 16);
    s.tx_vt = s8(h[18]);
    const int32_t mask = (h[2] & 2) ? (h[2] >> 2) * 4 : -1;

    // The text in a block of its own size, so a read past its end is seen.
    const size_t length = size - kHeader;
    std::unique_ptr<char[]> text(new char[length + 1]);
    std::memcpy(text.get(), data + kHeader, length);
    text[length] = 0;

    const qln::TextDrawResult r = qln::text_draw(engine, *picture, text.get(), s, mask);
    if (!r.changed.empty() && (r.changed.left < 0 || r.changed.top < 0 || r.changed.right > width ||
                               r.changed.bottom > height)) {
        std::abort();
    }
    if ((r.status != 0) != (s.tx_font >= qln::kFontCount)) std::abort();
    return 0;
}
