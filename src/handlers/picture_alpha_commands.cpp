// The alpha-plane commands: a plane from a key colour, from a picture file's
// blue bytes, or from a picture buffer's blue bytes.

#include <new>

#include "commands/command_table.h"
#include "engine/engine.h"
#include "scenario/interp.h"
#include "screen/screen.h"
#include "tables/tables.h"
#include "windows/picture_targets.h"
#include "windows/window.h"

namespace qln {
namespace {

// Gives the picture an alpha plane when it has none; false when the memory
// cannot be had.
bool alpha_plane(Picture& p) {
    if (!p.alpha) p.alpha.reset(new (std::nothrow) uint8_t[p.alpha_bytes() + 1]);
    return p.alpha != nullptr;
}

// Each alpha value becomes the blue byte of the same pixel of source (same
// size as p).
void alpha_from_blue(Picture& p, const Picture& source) {
    if (!alpha_plane(p)) return;
    const uint8_t* src = source.pixels.get();
    uint8_t* alpha = p.alpha.get();
    const size_t n = p.alpha_bytes();
    for (size_t i = 0; i < n; ++i) alpha[i] = src[3 * i];
}

bool same_size(const Picture& a, const Picture& b) {
    return a.width == b.width && a.height == b.height;
}

}  // namespace

int32_t cmd_alpha_key(Engine& engine, const Args& args) {
    const alpha_key_operands op(args);
    const int32_t target = op.target(), colour = op.colour(), kind = op.kind();
    const bool is_window = kind != 0;
    int32_t code = 0;
    Window* window = nullptr;
    Picture* picture = nullptr;
    if (is_window) {
        window = target_window(engine, target, code);
        if (window) picture = window->picture;
    } else {
        picture = target_buffer(engine, target, code);
    }
    if (!picture) return code;
    if (colour < 0) {
        picture->alpha.reset();
        return 0;
    }
    // The key is a colour of the colour table; a number outside it reads as
    // black, like every soft lookup.
    uint8_t red = 0, green = 0, blue = 0;
    if (!colour_get(engine, colour, red, green, blue)) red = green = blue = 0;
    if (!alpha_plane(*picture)) return 0;
    const uint8_t* px = picture->pixels.get();
    uint8_t* alpha = picture->alpha.get();
    const size_t n = picture->alpha_bytes();
    for (size_t i = 0; i < n; ++i, px += 3) {
        alpha[i] = (px[0] == blue && px[1] == green && px[2] == red) ? 0 : 255;
    }
    // mark_dirty passes over a hidden window; window 0 is always shown.
    if (window) mark_dirty(engine, window);
    return 0;
}

int32_t cmd_alpha_load(Engine& engine, const Args& args) {
    const alpha_load_operands op(args);
    const int32_t target = op.target();
    const char* name = op.name();
    const int32_t entry = op.entry(), dir = op.directory(), kind = op.kind();
    int32_t code = 0;
    Picture* picture = target_picture(engine, target, kind != 0, code);
    if (!picture) return code;
    PicturePtr loaded = picture_file_load(engine, name, entry, dir, code);
    if (!loaded) return code;
    if (!same_size(*picture, *loaded)) return err_report(engine, -118, nullptr);
    alpha_from_blue(*picture, *loaded);
    return 0;
}

int32_t cmd_alpha_copy(Engine& engine, const Args& args) {
    const alpha_copy_operands op(args);
    const int32_t target = op.target(), source = op.source_buf_no(), kind = op.kind();
    int32_t code = 0;
    Picture* picture = target_picture(engine, target, kind != 0, code);
    if (!picture) return code;
    const Picture* src = target_buffer(engine, source, code);
    if (!src) return code;
    if (!same_size(*picture, *src)) return err_report(engine, -118, nullptr);
    // The source may be the target itself; each byte is read before its own
    // alpha value is written, so that is harmless.
    alpha_from_blue(*picture, *src);
    return 0;
}

}  // namespace qln
