// The animation commands: define, start, stop, and play a range waiting
// for its end.

#include "animation/animation.h"
#include "commands/command_table.h"
#include "engine/engine.h"
#include "tables/tables.h"
#include "windows/window.h"

namespace qln {

int32_t cmd_anim_def(Engine& engine, const Args& args) {
    const anim_def_operands op(args);
    const int32_t anime_no = op.anime_no(), win_no = op.win_no(), x = op.x(), y = op.y();
    const int32_t sheet = op.sheet_buf_no(), script = op.script_buf_no(), flags = op.flags();
    if (!win_get(engine, win_no, true)) return err_report(engine, -106, "win_no = %d", win_no);
    if (!buf_get_picture(engine, sheet)) return err_report(engine, -112, "buf_no = %d", sheet);
    const DataBuffer* slot = buf_entry(engine, script);
    if (!slot || slot->type != BufType::Raw) {
        return err_report(engine, -109, "buf_no = %d", script);
    }
    anim_define(engine, uint16_t(anime_no), win_no, x, y, sheet, script, uint16_t(flags));
    return 0;
}

int32_t cmd_anim_start(Engine& engine, const Args& args) {
    const anim_start_operands op(args);
    const int32_t anime_no = op.anime_no();
    if (!anim_set_running(engine, uint16_t(anime_no), true)) {
        return err_report(engine, -107, "anime_no = %d", anime_no);
    }
    return 0;
}

int32_t cmd_anim_stop(Engine& engine, const Args& args) {
    const anim_stop_operands op(args);
    const int32_t anime_no = op.anime_no();
    if (!anim_set_running(engine, uint16_t(anime_no), false)) {
        return err_report(engine, -107, "anime_no = %d", anime_no);
    }
    return 0;
}

int32_t cmd_anim_play(Engine& engine, const Args& args) {
    const anim_play_operands op(args);
    const int32_t first = op.first(), last = op.last(), loops = op.loops();
    if (anim_play_range(engine, uint16_t(first), uint16_t(last), uint16_t(loops)) !=
        PlayEnd::Done) {
        return err_report(engine, -107, "from = %d, to = %d, loop = %d", first, last, loops);
    }
    return 0;
}

}  // namespace qln
