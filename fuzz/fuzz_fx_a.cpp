// The mosaic, wave, jitter, pattern and dissolve commands with arbitrary
// operands on small pictures. Every picture is allocated at its exact size,
// so a read outside a source or a write outside the window's picture is an
// AddressSanitizer report.
//
// Input: 8 bytes of setup, then 7 operands of 4 bytes each (little-endian,
// signed), then pixel bytes for the source and the pattern (repeated).
//   0      effect: mosaic, wave, jitter, pattern, dissolve (mod 5)
//   1, 2   source width 1-24, height 1-24
//   3, 4   window 1's width 1-24, height 1-24
//   5      target: window 0 (content offset (6, 4)), 1, or 2 (missing)
//   6      pattern width 0-5, bits 3-7 its height 0-31
//   7      pattern source: buffer 1, window 1 (maybe the target), window 0

#include <cstdint>
#include <cstring>

#include "commands/command_table.h"
#include "engine/command_args.h"
#include "engine/engine.h"
#include "graphics/picture.h"
#include "screen/screen.h"
#include "tables/tables.h"
#include "windows/window.h"

namespace {

constexpr size_t kSetup = 8, kOperands = 7;

struct World {
    qln::Engine engine;
    bool ok = false;
    World() {
        engine.null_platform.stop_on_error = false;
        engine.settings.screen_width = 32;
        engine.settings.screen_height = 24;
        engine.settings.view_width = 20;
        engine.settings.view_height = 16;
        ok = qln::tables_init(engine) && qln::screen_init(engine);
    }
};

void paint(qln::Picture& p, const uint8_t* bytes, size_t size) {
    for (size_t i = 0; i < p.pixel_bytes(); ++i) p.pixels[i] = size ? bytes[i % size] : uint8_t(i);
}

int32_t s32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return int32_t(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kSetup + 4 * kOperands) return 0;
    static World world;
    if (!world.ok) return 0;
    qln::Engine& engine = world.engine;
    engine.random.state = 1;
    engine.null_platform.errors.clear();
    const uint8_t* pixels = data + kSetup + 4 * kOperands;
    const size_t pixel_size = size - kSetup - 4 * kOperands;

    qln::Picture* src =
        qln::buf_new_picture(engine, 1, uint16_t(1 + data[1] % 24), uint16_t(1 + data[2] % 24));
    qln::Picture* pattern =
        qln::buf_new_picture(engine, 2, uint16_t(data[6] % 6), uint16_t(data[6] >> 3));
    qln::Window templ;
    if (!src || !pattern || !qln::win_open(engine, 1, 1 + data[3] % 24, 1 + data[4] % 24, templ))
        return 0;
    paint(*src, pixels, pixel_size);
    paint(*pattern, pixels + pixel_size / 2, pixel_size - pixel_size / 2);

    int32_t op[kOperands];
    for (size_t i = 0; i < kOperands; ++i) op[i] = s32(data + kSetup + 4 * i);
    const int32_t win_no = data[5] % 3;
    qln::Args args;
    auto push = [&args](std::initializer_list<int32_t> values) {
        args.clear();
        for (const int32_t v : values) args.push_num(v);
    };
    switch (data[0] % 5) {
        case 0:
            push({1, win_no, op[0], op[1], op[2], op[3]});
            (void)qln::cmd_fx_mosaic(engine, args);
            break;
        case 1:
            push({1, win_no, op[0], op[1], op[2], op[3], op[4], op[5] % 4 == 0 ? -1 : op[6]});
            (void)qln::cmd_fx_wave(engine, args);
            break;
        case 2:
            push({1, win_no, op[0], op[1], op[2], op[3]});
            (void)qln::cmd_fx_jitter(engine, args);
            break;
        case 3: {
            const int32_t source = data[7] % 3;
            push({2,
                  source == 0   ? 1
                  : source == 1 ? 1
                                : 0,
                  win_no, op[0], op[1], op[2], source == 0 ? 0 : 1});
            (void)qln::cmd_fx_pattern(engine, args);
            break;
        }
        default:
            // No delay: the passes run on the virtual clock without waiting.
            push({1, win_no, op[0], op[1], op[2], int32_t(uint32_t(op[3]) & 0xFFFF0003u),
                  int32_t(uint32_t(op[4]) & 0xFFFF0000u)});
            (void)qln::cmd_fx_dissolve(engine, args);
            break;
    }
    (void)qln::win_close(engine, 1);
    return 0;
}
