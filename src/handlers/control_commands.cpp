#include "commands/command_table.h"

#include <vector>

#include "engine/engine.h"
#include "files/file_read.h"
#include "scenario/interp.h"
#include "scenario/scenario.h"
#include "tables/tables.h"

namespace qln {
namespace {

void set_call_arguments(Engine& engine, int32_t a1, int32_t a2, int32_t a3, int32_t a4) {
    result_set(engine, 1, a1);
    result_set(engine, 2, a2);
    result_set(engine, 3, a3);
    result_set(engine, 4, a4);
}

int32_t end_current(Engine& engine) {
    return scn_end(engine) ? 0 : kResultEndAll;
}

// Shared by scn_call_file and scn_jump_file: operands name, entry, dir.
int32_t start_file(Engine& engine, const Args& args, bool reset_chain) {
    const scn_call_file_operands op(args);  // scn_jump_file reads the same
    const char* name = op.name();
    const int32_t entry = op.entry();
    const int32_t dir = op.dir();
    const FileRef ref = file_ref_of(name, entry, dir, true);
    std::vector<uint8_t> bytes;
    if (!file_read(engine, ref, bytes)) {
        return err_report(engine, -105, "File:%s(%d) Dir:%d", name, entry, dir);
    }
    Scenario* scenario = scn_create(engine, bytes.data(), static_cast<uint32_t>(bytes.size()), name,
                                    static_cast<uint16_t>(entry));
    if (!scenario) return err_report(engine, -102, "File:%s(%d) Dir:%d", name, entry, dir);
    if (!scn_start(engine, scenario, reset_chain, true)) {
        scn_release(scenario);
        return err_report(engine, -103, nullptr);
    }
    return reset_chain ? -2 : 0;
}

}  // namespace

int32_t cmd_eval(Engine&, const Args&) {
    return 0;
}

int32_t cmd_jump(Engine& engine, const Args& args) {
    const jump_operands op(args);
    engine.interp.current->pc = op.target();
    return 0;
}

int32_t cmd_jump_if(Engine& engine, const Args& args) {
    const jump_if_operands op(args);
    if (op.condition() != 0) engine.interp.current->pc = op.target();
    return 0;
}

int32_t cmd_call_if(Engine& engine, const Args& args) {
    const call_if_operands op(args);
    if (op.condition() == 0) return 0;
    set_call_arguments(engine, op.a1(), op.a2(), op.a3(), op.a4());
    if (!call_push(engine, op.target())) return err_report(engine, -101, nullptr);
    return 0;
}

int32_t cmd_call(Engine& engine, const Args& args) {
    const call_operands op(args);
    if (!call_push(engine, op.target())) return err_report(engine, -101, nullptr);
    return 0;
}

int32_t cmd_call_args(Engine& engine, const Args& args) {
    const call_args_operands op(args);
    set_call_arguments(engine, op.a1(), op.a2(), op.a3(), op.a4());
    if (!call_push(engine, op.target())) return err_report(engine, -101, nullptr);
    return 0;
}

int32_t cmd_scn_call_buf(Engine& engine, const Args& args) {
    const scn_call_buf_operands op(args);
    const int32_t buf_no = op.buf_no();
    Scenario* scenario = buf_get_scenario(engine, buf_no);
    if (!scenario) return err_report(engine, -102, "buf_no = %d", buf_no);
    set_call_arguments(engine, op.a1(), op.a2(), op.a3(), op.a4());
    if (!scn_start(engine, scenario, false, false)) {
        return err_report(engine, -103, "buf_no = %d", buf_no);
    }
    return 0;
}

int32_t cmd_return(Engine& engine, const Args& args) {
    const return_operands op(args);
    result_set(engine, 1, op.value());
    if (!call_pop(engine)) return err_report(engine, -104, nullptr);
    return 0;
}

int32_t cmd_scn_call_file(Engine& engine, const Args& args) {
    return start_file(engine, args, false);
}

int32_t cmd_scn_jump_file(Engine& engine, const Args& args) {
    return start_file(engine, args, true);
}

int32_t cmd_scn_return(Engine& engine, const Args& args) {
    const scn_return_operands op(args);
    result_set(engine, 1, op.value());
    return end_current(engine);
}

int32_t cmd_jump_table(Engine& engine, const Args& args) {
    const jump_table_operands op(args);
    const int32_t index = op.index();
    const int32_t strict = op.strict();
    if (index >= 0 && static_cast<uint32_t>(index) < op.targets().size()) {
        engine.interp.current->pc = op.targets()[index].word;
        return 0;
    }
    if (strict != 0) return err_report(engine, -117, "index = %d", index);
    return 0;
}

int32_t cmd_sys_restart(Engine& engine, const Args&) {
    engine.shell.restart = true;
    result_set(engine, 1, 0);
    return end_current(engine);
}

int32_t cmd_end(Engine& engine, const Args&) {
    return end_current(engine);
}

}  // namespace qln
