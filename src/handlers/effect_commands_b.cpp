// The block spread, the centred zoom, the additive glow and the scaled copy.
#include "base/rect.h"
#include "commands/command_table.h"
#include "effects/fx_frame.h"
#include "effects/fx_glow.h"
#include "effects/fx_scale.h"
#include "effects/fx_scatter.h"
#include "effects/fx_zoom.h"
#include "engine/engine.h"
#include "tables/tables.h"

namespace qln {
namespace {

// Operands marked 16-bit keep only their low 16 bits, so -1 reads as 65535.
int32_t low16(int32_t value) {
    return value & 0xFFFF;
}

// A colour number outside the table fills black, like every soft lookup.
FxFill fill_colour(Engine& engine, int32_t colour_no) {
    FxFill fill;
    if (!colour_get(engine, colour_no, fill.red, fill.green, fill.blue)) fill = FxFill{};
    return fill;
}

}  // namespace

int32_t cmd_fx_scatter(Engine& engine, const Args& args) {
    const fx_scatter_operands op(args);
    const int32_t buf_no = op.buf_no(), win_no = op.win_no(), x = op.x(), y = op.y();
    const int32_t area_w = low16(op.area_width()), area_h = low16(op.area_height());
    const int32_t scale = low16(op.scale_percent()), block = low16(op.block_size());
    const int32_t colour_no = op.colour_number();
    const Picture* src = fx_source(engine, buf_no);
    FxTarget target;
    if (!src || !fx_target(engine, win_no, x, y, target)) return fx_missing(engine);
    fx_scatter_draw(*target.picture, target.x, target.y, *src, area_w, area_h, scale, block,
                    fill_colour(engine, colour_no));
    return fx_done(engine, target, target.x, target.y, area_w, area_h);
}

int32_t cmd_fx_zoom(Engine& engine, const Args& args) {
    const fx_zoom_operands op(args);
    const int32_t buf_no = op.buf_no(), win_no = op.win_no(), x = op.x(), y = op.y();
    const int32_t percent = low16(op.percent()), colour_no = low16(op.colour_number());
    const Picture* src = fx_source(engine, buf_no);
    FxTarget target;
    if (!src || !fx_target(engine, win_no, x, y, target)) return fx_missing(engine);
    fx_zoom_draw(*target.picture, target.x, target.y, *src, percent,
                 fill_colour(engine, colour_no));
    return fx_done(engine, target, target.x, target.y, src->width, src->height);
}

int32_t cmd_fx_glow(Engine& engine, const Args& args) {
    const fx_glow_operands op(args);
    const int32_t light_no = op.light_buf_no(), base_no = op.base_buf_no();
    const int32_t win_no = low16(op.win_no()), x = op.x(), y = op.y();
    const int32_t radius = low16(op.radius()), divisor = low16(op.divisor());
    const Picture* light = fx_source(engine, light_no);
    const Picture* base = fx_source(engine, base_no);
    FxTarget target;
    if (!light || !base || !fx_target(engine, win_no, x, y, target)) return fx_missing(engine);
    fx_glow_draw(*target.picture, target.x, target.y, *light, *base, radius, divisor);
    const int32_t base_x = clamp_to_int32(fx_glow_base_origin(target.x, base->width, light->width));
    const int32_t base_y =
        clamp_to_int32(fx_glow_base_origin(target.y, base->height, light->height));
    return fx_done(engine, target, base_x, base_y, base->width, base->height);
}

int32_t cmd_fx_scale(Engine& engine, const Args& args) {
    const fx_scale_operands op(args);
    const int32_t buf_no = op.buf_no(), win_no = op.win_no(), x = op.x(), y = op.y();
    const int32_t percent = low16(op.percent());
    const Picture* src = fx_source(engine, buf_no);
    FxTarget target;
    if (!src || !fx_target(engine, win_no, x, y, target)) return fx_missing(engine);
    const FxScaled size = fx_scale_draw(*target.picture, target.x, target.y, *src, percent);
    result_set(engine, 1, size.width);
    result_set(engine, 2, size.height);
    result_set(engine, 3, size.drawn_width);
    result_set(engine, 4, size.drawn_height);
    return fx_done(engine, target, target.x, target.y, size.width, size.height);
}

}  // namespace qln
