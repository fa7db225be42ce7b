// The renderer's reading of a text: characters and "@" sequences, layout in
// the text area, and the choice of glyph source for every character.

#include "text/text_draw.h"

#include "base/full_width.h"
#include "base/sjis.h"
#include "engine/engine.h"
#include "graphics/picture.h"
#include "scenario/interp.h"
#include "tables/tables.h"
#include "text/font.h"
#include "text/text_compose.h"

namespace qln {
namespace {

void colour_of(Engine& engine, int32_t n, uint8_t* out) {
    uint8_t red = 0, green = 0, blue = 0;
    // A number outside the colour table draws black, like every soft lookup.
    if (!colour_get(engine, n, red, green, blue)) red = green = blue = 0;
    out[0] = blue;
    out[1] = green;
    out[2] = red;
}

// The attributes "@H" saves and "@R" restores.
struct Attributes {
    TextColours colours;
    uint16_t font = 0;
    uint16_t style = 0;
};

struct Renderer {
    Engine& engine;
    const TextSettings& settings;
    TextCanvas canvas;
    const uint8_t* p;  // the next byte of the text
    int64_t pen_x, pen_y;
    int64_t saved_x, saved_y;
    Attributes now, saved;
    FontRecord* font = nullptr;  // the current font's record; null draws nothing
    int32_t shadow_x, shadow_y;
    bool full_width = false;
    bool any_picture_font = false;  // some enable flag is set
    Rect changed;

    // The value of one argument character: 0-9, then letters 10-35 in either
    // case, anything else 0. The text's end is never read past; a double-byte
    // character counts as one argument character.
    int32_t argument() {
        const uint8_t c = *p;
        if (c == 0) return 0;
        ++p;
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'z') return c - 'a' + 10;
        if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
        if (sjis_is_lead_byte(c) && *p != 0) ++p;
        return 0;
    }
    int32_t argument2() {
        const int32_t first = argument();
        return first * 10 + argument();
    }

    void set_font(uint16_t n) {
        now.font = n;
        font = font_get(engine, n);
    }

    // Handles the sequence whose code letter is at p; false when it is none,
    // so the "@" is drawn and the letter read as text.
    bool control() {
        const uint8_t letter = *p;
        const uint8_t upper = (letter >= 'a' && letter <= 'z') ? uint8_t(letter - 32) : letter;
        const uint8_t* const before = p;
        ++p;
        switch (upper) {
            case 'B':
                pen_x += argument2();
                break;
            case 'V':
                pen_x -= argument2();
                break;
            case 'L':
                pen_y += argument2();
                break;
            case 'K':
                pen_y -= argument2();
                break;
            case 'W':
                argument2();
                break;
            case 'Q':
                argument();
                break;
            case 'C':
                colour_of(engine, argument(), now.colours.ink);
                break;
            case 'T':
                colour_of(engine, argument(), now.colours.back);
                break;
            case 'S':
                colour_of(engine, argument(), now.colours.shadow);
                break;
            case 'D':
            case 'E': {
                const int32_t x = argument();
                const int32_t y = argument();
                shadow_x = upper == 'D' ? x : -x;
                shadow_y = upper == 'D' ? y : -y;
                break;
            }
            case 'F': {
                const int32_t n = argument();
                if (n < kFontCount) set_font(uint16_t(n));
                break;
            }
            case 'P':
                now.style = uint16_t(argument());
                break;
            case 'X':
                picture_font_flag(argument());
                break;
            case 'Z':
                full_width = argument() != 0;
                break;
            case 'H':
                saved = now;
                break;
            case 'R':
                now = saved;
                set_font(now.font);
                break;
            case 'I':
                saved_x = pen_x;
                saved_y = pen_y;
                break;
            case 'J':
                pen_x = saved_x;
                pen_y = saved_y;
                break;
            case 'N':
                pen_x = settings.tx_px;
                pen_y += settings.tx_vt;
                break;
            default:
                p = before;
                return false;
        }
        return true;
    }

    void picture_font_flag(int32_t n) {
        PictureFontRecord* records = engine.fonts.picture_fonts;
        if (n == 0) {
            for (int i = 0; i < kPictureFontCount; ++i) records[i].enabled = 0;
            any_picture_font = false;
        } else if (n < kPictureFontCount) {
            records[n].enabled = 1;
            any_picture_font = true;
        }
    }

    // The first enabled picture font whose range holds code and whose sheet
    // is still there with a usable layout; null for the outline font.
    const PictureFontRecord* picture_font_for(uint16_t code, Picture*& sheet) {
        if (!any_picture_font) return nullptr;
        for (const PictureFontRecord& r : engine.fonts.picture_fonts) {
            if (!r.enabled || code < r.first_code || code > r.last_code) continue;
            sheet = picfont_picture(engine, r);
            if (sheet && sheet->pixels && sheet->cell[0] && sheet->cell[1] && sheet->cell[2])
                return &r;
        }
        return nullptr;
    }

    // Layout of a w x h cell: false when it does not fit (the pen may have
    // moved to the next line).
    bool place(int64_t w, int64_t h) {
        if (pen_y + h > settings.tx_ey) return false;
        if (pen_x + w > settings.tx_ex) {
            pen_x = settings.tx_px;
            pen_y += settings.tx_vt;
            if (pen_y + h > settings.tx_ey) return false;
        }
        return true;
    }

    void draw_picture_char(const PictureFontRecord& r, const Picture& sheet, uint16_t code) {
        const int32_t w = sheet.cell[0], h = sheet.cell[1], per_row = sheet.cell[2];
        const int64_t k = code - r.first_code;
        const int64_t cell_x = (k % per_row) * w, cell_y = (k / per_row) * h;
        // A glyph cell that the sheet does not wholly hold has no glyph.
        if (cell_x + w > sheet.width || cell_y + h > sheet.height) return;
        if (!place(w, h)) return;
        const Rect cell = text_compose_cell(canvas, pen_x, pen_y, sheet, int32_t(cell_x),
                                            int32_t(cell_y), w, h, r.mode == 1, now.colours);
        changed = rect_union(changed, cell);
        pen_x += r.advance;
    }

    void draw_outline_char(uint16_t code) {
        GlyphInk glyph;
        // An empty font record has no glyphs: its characters are skipped
        // without moving the pen.
        if (!font || !font_glyph(engine, *font, code, now.style, glyph)) return;
        if (!place(glyph.cx, glyph.cy)) return;
        const Rect cell =
            text_compose_glyph(canvas, pen_x, pen_y, glyph, now.colours, shadow_x, shadow_y);
        changed = rect_union(changed, cell);
        const int32_t advance = font->advance;
        if (advance >= 1) {
            const int64_t n = code > 0xFF ? 2 : 1;
            pen_x += (int64_t(advance) * n + 1) / 2;
        } else {
            pen_x += int64_t(glyph.cx) - advance;
        }
    }

    void draw_char(uint16_t code) {
        if (code <= 0xFF && full_width) {
            const uint16_t wide = full_width_of(uint8_t(code));
            if (wide) code = wide;
        }
        Picture* sheet = nullptr;
        if (const PictureFontRecord* r = picture_font_for(code, sheet)) {
            draw_picture_char(*r, *sheet, code);
        } else {
            draw_outline_char(code);
        }
    }

    void run() {
        while (*p) {
            const uint8_t c = *p++;
            if (c == '@') {
                if (*p == '@') {
                    ++p;
                    draw_char('@');
                } else if (*p == 0 || !control()) {
                    draw_char('@');
                }
            } else if (sjis_is_lead_byte(c)) {
                if (*p == 0) break;  // a lead byte before the end ends the text
                draw_char(uint16_t(c << 8 | *p++));
            } else {
                draw_char(c);
            }
        }
    }
};

}  // namespace

TextDrawResult text_draw(Engine& engine, Picture& picture, const char* text,
                         const TextSettings& settings, int32_t mask_value) {
    TextDrawResult result;
    if (settings.tx_font >= kFontCount) {
        result.status = err_report(engine, -117, "font_no = %d", int32_t(settings.tx_font));
        return result;
    }
    Renderer r{engine,
               settings,
               text_canvas_of(picture, mask_value, settings.tx_bcol >= 0),
               reinterpret_cast<const uint8_t*>(text ? text : ""),
               settings.tx_px,
               settings.tx_py,
               settings.tx_px,
               settings.tx_py,
               Attributes{},
               Attributes{},
               nullptr,
               settings.tx_ssx,
               settings.tx_ssy,
               false,
               false,
               Rect{}};
    colour_of(engine, settings.tx_ccol, r.now.colours.ink);
    colour_of(engine, settings.tx_bcol, r.now.colours.back);
    colour_of(engine, settings.tx_scol, r.now.colours.shadow);
    r.now.style = settings.tx_ftype;
    r.set_font(settings.tx_font);
    r.saved = r.now;
    r.picture_font_flag(0);
    r.run();
    result.changed = r.changed;
    return result;
}

}  // namespace qln
