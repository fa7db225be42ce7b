#include "scenario/command_handlers.h"

#include "scenario/control_commands.h"

namespace qln {
namespace {

std::array<CommandHandler, 256> make_handlers() {
    std::array<CommandHandler, 256> h{};
    // Control flow and scenarios.
    h[0x00] = cmd_eval;
    h[0x01] = cmd_jump;
    h[0x02] = cmd_jump_if;
    h[0x03] = cmd_call_if;
    h[0x04] = cmd_call;
    h[0x05] = cmd_call_args;
    h[0x06] = cmd_scn_call_buf;
    h[0x07] = cmd_return;
    h[0x08] = cmd_scn_call_file;
    h[0x09] = cmd_scn_jump_file;
    h[0x0C] = cmd_scn_return;
    h[0x0D] = cmd_jump_table;
    h[0x0E] = cmd_sys_restart;
    h[0x28] = cmd_eval;  // eval_alt shares the handler of eval
    h[0xFF] = cmd_end;
    return h;
}

}  // namespace

const std::array<CommandHandler, 256> command_handlers = make_handlers();

}  // namespace qln
