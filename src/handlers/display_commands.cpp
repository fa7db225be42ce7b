#include "commands/command_table.h"

#include "engine/engine.h"
#include "scenario/interp.h"
#include "screen/screen.h"
#include "tables/tables.h"

namespace qln {

int32_t cmd_sys_display(Engine& engine, const Args& args) {
    const sys_display_operands op(args);
    const bool full_screen = op.full_screen() != 0;
    result_set(engine, 1, display_mode_request(engine, full_screen));
    return 0;
}

}  // namespace qln
