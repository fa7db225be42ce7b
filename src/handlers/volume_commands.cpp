// The mixer volume commands. Their operand orders differ: vol_get reports
// the second value first, vol_set takes the first value first, vol_fade
// takes the second value's target first.

#include "commands/command_table.h"
#include "engine/engine.h"
#include "sound/mixer.h"
#include "tables/tables.h"

namespace qln {

int32_t cmd_vol_get(Engine& engine, const Args& args) {
    const vol_get_operands op(args);
    VolumeReading v;
    const int32_t line = op.channel();
    if (line >= 0 && vol_read(engine, uint32_t(line), v)) {
        result_set(engine, 1, int32_t(v.second));
        result_set(engine, 2, int32_t(v.first));
        result_set(engine, 3, v.fading ? 1 : 0);
    } else {
        result_set(engine, 1, -1);
        result_set(engine, 2, -1);
        result_set(engine, 3, 0);
    }
    return 0;
}

int32_t cmd_vol_set(Engine& engine, const Args& args) {
    const vol_set_operands op(args);
    const int32_t line = op.channel();
    if (line < 0 || uint32_t(line) >= kMixerLines) return 0;
    engine.sound.lines[line].fading = false;
    (void)vol_write(engine, uint32_t(line), op.first(), op.second());
    return 0;
}

int32_t cmd_vol_fade(Engine& engine, const Args& args) {
    const vol_fade_operands op(args);
    const int32_t line = op.channel();
    if (line >= 0) (void)vol_fade_start(engine, uint32_t(line), op.t0(), op.t1(), op.duration());
    return 0;
}

int32_t cmd_vol_fade_end(Engine& engine, const Args& args) {
    const vol_fade_end_operands op(args);
    const int32_t line = op.channel();
    if (line >= 0) (void)vol_fade_finish(engine, uint32_t(line));
    return 0;
}

}  // namespace qln
