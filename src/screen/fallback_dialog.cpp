// Layout and drawing of the engine's own dialogs. Sizes are in screen
// pixels; the dialog keeps to the screen, cutting lines it has no room for.

#include "screen/fallback_dialog.h"

#include <algorithm>

#include "base/sjis.h"
#include "engine/engine.h"
#include "graphics/picture.h"
#include "text/font.h"

namespace qln {
namespace {

constexpr int32_t kFontHeight = 12;  // the text's cell height
constexpr int32_t kLineHeight = kFontHeight + 2;
constexpr int32_t kCaptionHeight = kFontHeight + 6;
constexpr int32_t kButtonHeight = kFontHeight + 10;
constexpr int32_t kButtonMinWidth = 64;
constexpr int32_t kButtonGap = 8;
constexpr int32_t kPad = 8;
constexpr int32_t kBorder = 1;
constexpr int32_t kScreenMargin = 8;  // kept free around a dialog that fits

struct Colour {
    uint8_t blue, green, red;
};
constexpr Colour kFrameColour{0, 0, 0};
constexpr Colour kFaceColour{192, 192, 192};
constexpr Colour kCaptionBar{128, 0, 0};  // dark blue
constexpr Colour kCaptionText{255, 255, 255};
constexpr Colour kTextColour{0, 0, 0};
constexpr Colour kButtonFace{224, 224, 224};

// The character at text[at] as the font takes it; its length in bytes.
size_t char_at(const std::string& text, size_t at, uint16_t& code) {
    const uint8_t c = uint8_t(text[at]);
    if (sjis_is_lead_byte(c) && at + 1 < text.size()) {
        code = uint16_t(c << 8 | uint8_t(text[at + 1]));
        return 2;
    }
    code = c;
    return 1;
}

int32_t advance_of(Engine& engine, FontRecord& font, uint16_t code) {
    GlyphInk ink;
    return font.face && font_glyph(engine, font, code, 0, ink) ? ink.cx : 0;
}

int32_t width_of(Engine& engine, FontRecord& font, const std::string& text) {
    int32_t width = 0;
    for (size_t at = 0; at < text.size();) {
        uint16_t code = 0;
        at += char_at(text, at, code);
        width += advance_of(engine, font, code);
    }
    return width;
}

// Lines at each "\n", broken again wherever a line would pass max_width (a
// character wider than that still gets a line of its own).
std::vector<std::string> lines_of(Engine& engine, FontRecord& font, const std::string& text,
                                  int32_t max_width) {
    std::vector<std::string> lines(1);
    int32_t width = 0;
    for (size_t at = 0; at < text.size();) {
        uint16_t code = 0;
        const size_t len = char_at(text, at, code);
        if (code == '\n') {
            lines.emplace_back();
            width = 0;
        } else if (code != '\r') {
            const int32_t advance = advance_of(engine, font, code);
            if (width + advance > max_width && !lines.back().empty()) {
                lines.emplace_back();
                width = 0;
            }
            lines.back().append(text, at, len);
            width += advance;
        }
        at += len;
    }
    return lines;
}

void fill(Picture& picture, const Rect& area, Colour colour) {
    const Rect r = rect_intersect(area, Rect{0, 0, picture.width, picture.height});
    for (int32_t y = r.top; y < r.bottom; ++y) {
        uint8_t* p = picture.pixels.get() + (size_t(y) * picture.width + size_t(r.left)) * 3;
        for (int32_t x = r.left; x < r.right; ++x, p += 3) {
            p[0] = colour.blue;
            p[1] = colour.green;
            p[2] = colour.red;
        }
    }
}

void outline(Picture& picture, const Rect& r, int32_t thickness, Colour colour) {
    fill(picture, Rect{r.left, r.top, r.right, r.top + thickness}, colour);
    fill(picture, Rect{r.left, r.bottom - thickness, r.right, r.bottom}, colour);
    fill(picture, Rect{r.left, r.top, r.left + thickness, r.bottom}, colour);
    fill(picture, Rect{r.right - thickness, r.top, r.right, r.bottom}, colour);
}

// Draws text with its top left at (x, y), cut to clip.
void text_at(Engine& engine, FontRecord& font, Picture& picture, int32_t x, int32_t y,
             const std::string& text, Colour colour, const Rect& clip) {
    if (!font.face) return;
    const Rect limit = rect_intersect(clip, Rect{0, 0, picture.width, picture.height});
    for (size_t at = 0; at < text.size();) {
        uint16_t code = 0;
        at += char_at(text, at, code);
        GlyphInk ink;
        if (!font_glyph(engine, font, code, 0, ink)) return;
        for (int32_t gy = 0; ink.ink && gy < ink.cy; ++gy) {
            const int32_t py = y + gy;
            if (py < limit.top || py >= limit.bottom) continue;
            for (int32_t gx = 0; gx < ink.cx; ++gx) {
                const int32_t px = x + gx;
                if (px < limit.left || px >= limit.right || !ink.ink[gy * ink.cx + gx]) continue;
                uint8_t* p = picture.pixels.get() + (size_t(py) * picture.width + size_t(px)) * 3;
                p[0] = colour.blue;
                p[1] = colour.green;
                p[2] = colour.red;
            }
        }
        x += ink.cx;
    }
}

int32_t button_width(Engine& engine, FontRecord& font, const DialogButton& button) {
    return std::max(kButtonMinWidth, width_of(engine, font, button.label) + 2 * kPad);
}

void draw(Engine& engine, FallbackDialog& dialog, const std::vector<std::string>& lines) {
    Picture& picture = *dialog.picture;
    const int32_t w = picture.width, h = picture.height;
    fill(picture, Rect{0, 0, w, h}, kFaceColour);
    outline(picture, Rect{0, 0, w, h}, kBorder, kFrameColour);
    const Rect bar{kBorder, kBorder, w - kBorder, kBorder + kCaptionHeight};
    fill(picture, bar, kCaptionBar);
    text_at(engine, dialog.font, picture, bar.left + 4, bar.top + 3, dialog.caption, kCaptionText,
            bar);
    const Rect body{kBorder + kPad, bar.bottom + kPad, w - kBorder - kPad,
                    h - kBorder - 2 * kPad - kButtonHeight};
    for (size_t i = 0; i < lines.size(); ++i) {
        text_at(engine, dialog.font, picture, body.left, body.top + int32_t(i) * kLineHeight,
                lines[i], kTextColour, body);
    }
    for (size_t i = 0; i < dialog.buttons.size(); ++i) {
        const Rect& on_screen = dialog.button_rects[i];
        const Rect r{on_screen.left - dialog.frame.left, on_screen.top - dialog.frame.top,
                     on_screen.right - dialog.frame.left, on_screen.bottom - dialog.frame.top};
        fill(picture, r, kButtonFace);
        outline(picture, r, i == dialog.focus ? 2 : 1, kFrameColour);
        const std::string label = dialog.buttons[i].label;
        const int32_t label_x = r.left + (r.width() - width_of(engine, dialog.font, label)) / 2;
        text_at(engine, dialog.font, picture, label_x, r.top + (kButtonHeight - kFontHeight) / 2,
                label, kTextColour, r);
    }
}

void mark_area(Engine& engine, const Rect& area) {
    engine.screen.dirty = rect_union(engine.screen.dirty, area);
}

// The text lines of the last layout, kept for redraws.
std::vector<std::string> layout(Engine& engine, FallbackDialog& dialog) {
    const Picture& screen = *engine.screen.screen;
    const int32_t chrome = 2 * (kBorder + kPad);
    const int32_t max_text = std::max(kFontHeight, screen.width - chrome - 2 * kScreenMargin);
    std::vector<std::string> lines = lines_of(engine, dialog.font, dialog.text, max_text);
    const int32_t fixed = 2 * kBorder + kCaptionHeight + 3 * kPad + kButtonHeight;
    const int32_t room = (screen.height - fixed - 2 * kScreenMargin) / kLineHeight;
    lines.resize(std::min(lines.size(), size_t(std::max(1, room))));

    int32_t content = width_of(engine, dialog.font, dialog.caption) + 8;
    for (const std::string& line : lines) {
        content = std::max(content, width_of(engine, dialog.font, line));
    }
    int32_t buttons = -kButtonGap;
    for (const DialogButton& b : dialog.buttons) {
        buttons += button_width(engine, dialog.font, b) + kButtonGap;
    }
    content = std::max(content, buttons);
    const int32_t w = std::min<int32_t>(screen.width, content + chrome);
    const int32_t h = std::min<int32_t>(screen.height, fixed + int32_t(lines.size()) * kLineHeight);
    const int32_t x = (screen.width - w) / 2, y = (screen.height - h) / 2;
    dialog.frame = rect_of(x, y, w, h);

    // Buttons at the bottom right, in order.
    dialog.button_rects.assign(dialog.buttons.size(), Rect{});
    int32_t right = x + w - kBorder - kPad;
    const int32_t top = y + h - kBorder - kPad - kButtonHeight;
    for (size_t i = dialog.buttons.size(); i-- > 0;) {
        const int32_t bw = button_width(engine, dialog.font, dialog.buttons[i]);
        dialog.button_rects[i] = Rect{right - bw, top, right, top + kButtonHeight};
        right -= bw + kButtonGap;
    }
    return lines;
}

}  // namespace

bool fallback_dialog_open(Engine& engine, FallbackDialog& dialog) {
    if (!engine.screen.screen || dialog.buttons.empty()) return false;
    // Without a font the dialog still shows its frame and buttons.
    (void)font_open(engine, dialog.font, kFontStartFace, kFontHeight, 400, false, 0);
    dialog.focus = std::min(dialog.default_button, dialog.buttons.size() - 1);
    const std::vector<std::string> lines = layout(engine, dialog);
    dialog.picture =
        picture_create(uint16_t(dialog.frame.width()), uint16_t(dialog.frame.height()));
    if (!dialog.picture) {
        font_release(engine, dialog.font);
        return false;
    }
    draw(engine, dialog, lines);
    ScreenState& s = engine.screen;
    dialog.overlay_below = s.overlay;
    dialog.overlay_below_x = s.overlay_x;
    dialog.overlay_below_y = s.overlay_y;
    s.overlay = dialog.picture;
    s.overlay_x = dialog.frame.left;
    s.overlay_y = dialog.frame.top;
    mark_area(engine, dialog.frame);
    return true;
}

void fallback_dialog_redraw(Engine& engine, FallbackDialog& dialog) {
    if (!dialog.picture) return;
    draw(engine, dialog, layout(engine, dialog));
    mark_area(engine, dialog.frame);
}

void fallback_dialog_close(Engine& engine, FallbackDialog& dialog) {
    if (!dialog.picture) return;
    ScreenState& s = engine.screen;
    s.overlay = dialog.overlay_below;
    s.overlay_x = dialog.overlay_below_x;
    s.overlay_y = dialog.overlay_below_y;
    mark_area(engine, dialog.frame);
    picture_free(dialog.picture);
    dialog.picture = nullptr;
    font_release(engine, dialog.font);
}

int32_t fallback_dialog_button_at(const FallbackDialog& dialog, int32_t x, int32_t y) {
    for (size_t i = 0; i < dialog.button_rects.size(); ++i) {
        const Rect& r = dialog.button_rects[i];
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return int32_t(i);
    }
    return -1;
}

}  // namespace qln
