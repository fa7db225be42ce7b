// The mosaic, wave, jitter, dissolve and pattern effects as commands: every
// operand is read before the lookups, a missing picture or window is error
// -116, and the numbers the effects take as 16 bits keep their low 16 bits.

#include "commands/command_table.h"
#include "effects/fx_dissolve.h"
#include "effects/fx_frame.h"
#include "effects/fx_mosaic.h"
#include "effects/fx_pattern.h"
#include "effects/fx_row_shift.h"
#include "engine/engine.h"
#include "graphics/picture.h"
#include "tables/tables.h"
#include "windows/window.h"

namespace qln {
namespace {

constexpr int32_t kWrapAround = -1;

RowFill fill_of(Engine& engine, int32_t colour_no) {
    RowFill fill;
    if (colour_no == kWrapAround) {
        fill.wrap = true;
    } else if (!colour_get(engine, colour_no, fill.red, fill.green, fill.blue)) {
        fill.red = fill.green = fill.blue = 0;
    }
    return fill;
}

}  // namespace

int32_t cmd_fx_mosaic(Engine& engine, const Args& args) {
    const fx_mosaic_operands op(args);
    const Picture* src = fx_source(engine, op.buf_no());
    FxTarget target;
    if (!src || !fx_target(engine, op.win_no(), op.x(), op.y(), target)) return fx_missing(engine);
    fx_mosaic(*target.picture, target.x, target.y, *src, op.block_width(), op.block_height());
    return fx_done(engine, target, target.x, target.y, src->width, src->height);
}

int32_t cmd_fx_wave(Engine& engine, const Args& args) {
    const fx_wave_operands op(args);
    const Picture* src = fx_source(engine, op.buf_no());
    FxTarget target;
    if (!src || !fx_target(engine, op.win_no(), op.x(), op.y(), target)) return fx_missing(engine);
    fx_wave(*target.picture, target.x, target.y, *src, engine.screen.sine, uint16_t(op.phase()),
            uint16_t(op.phase_step()), uint16_t(op.amplitude()),
            fill_of(engine, op.colour_number()));
    return fx_done(engine, target, target.x, target.y, src->width, src->height);
}

int32_t cmd_fx_jitter(Engine& engine, const Args& args) {
    const fx_jitter_operands op(args);
    const Picture* src = fx_source(engine, op.buf_no());
    FxTarget target;
    if (!src || !fx_target(engine, op.win_no(), op.x(), op.y(), target)) return fx_missing(engine);
    // The sixth operand has no meaning; it is read so the next command
    // starts after it.
    fx_jitter(*target.picture, target.x, target.y, *src, uint16_t(op.amplitude()), engine.random);
    return fx_done(engine, target, target.x, target.y, src->width, src->height);
}

int32_t cmd_fx_dissolve(Engine& engine, const Args& args) {
    const fx_dissolve_operands op(args);
    const Picture* src = fx_source(engine, op.buf_no());
    FxTarget target;
    if (!src || !fx_target(engine, op.win_no(), op.x(), op.y(), target)) return fx_missing(engine);
    // The passes mark and show what they change themselves; a callback
    // during the waits may even close the window.
    fx_dissolve(engine, op.buf_no(), op.win_no(), target, uint16_t(op.edge_width()),
                uint16_t(op.mode()), uint16_t(op.step_delay()));
    return 0;
}

int32_t cmd_fx_pattern(Engine& engine, const Args& args) {
    const fx_pattern_operands op(args);
    const Picture* pattern = fx_source(engine, op.pattern_buf_no());
    const Picture* src = nullptr;
    if (op.source_is_window() != 0) {
        const Window* source = win_get(engine, op.source_number(), true);
        src = source ? source->picture : nullptr;
    } else {
        src = fx_source(engine, op.source_number());
    }
    FxTarget target;
    if (!pattern || !src || !fx_target(engine, op.win_no(), op.x(), op.y(), target)) {
        return fx_missing(engine);
    }
    fx_pattern(*target.picture, target.x, target.y, *src, *pattern, uint16_t(op.frame_number()));
    return fx_done(engine, target, target.x, target.y, src->width, src->height);
}

}  // namespace qln
