#include "scenario/control_commands.h"

#include <vector>

#include "files/file_read.h"
#include "scenario/interp.h"
#include "scenario/scenario.h"
#include "engine/engine.h"
#include "tables/tables.h"

namespace qln {
namespace {

void set_call_arguments(Engine& engine, int32_t a1, int32_t a2, int32_t a3, int32_t a4) {
    result_set(engine, 1, a1);
    result_set(engine, 2, a2);
    result_set(engine, 3, a3);
    result_set(engine, 4, a4);
}

int32_t end_current(Engine& engine) { return scn_end(engine) ? 0 : kResultEndAll; }

// Shared by scn_call_file and scn_jump_file: operands name, entry, dir.
int32_t start_file(Engine& engine, const Args& args, bool reset_chain) {
    const char* name = args.str(0);
    const int32_t entry = args.num(1);
    const int32_t dir = args.num(2);
    FileRef ref;
    ref.name = name;
    ref.entry = static_cast<uint16_t>(entry);
    ref.directory = static_cast<uint16_t>(dir + 1);
    ref.compressed = true;
    std::vector<uint8_t> bytes;
    if (!file_read(engine, ref, bytes)) {
        return err_report(engine, -105, "File:%s(%d) Dir:%d", name, entry, dir);
    }
    Scenario* scenario = scn_create(engine, bytes.data(), static_cast<uint32_t>(bytes.size()),
                                    name, static_cast<uint16_t>(entry));
    if (!scenario) return err_report(engine, -102, "File:%s(%d) Dir:%d", name, entry, dir);
    if (!scn_start(engine, scenario, reset_chain, true)) {
        scn_release(scenario);
        return err_report(engine, -103, nullptr);
    }
    return reset_chain ? -2 : 0;
}

}  // namespace

int32_t cmd_eval(Engine&, const Args&) { return 0; }

int32_t cmd_jump(Engine& engine, const Args& args) {
    engine.interp.current->pc = args.word(0);
    return 0;
}

int32_t cmd_jump_if(Engine& engine, const Args& args) {
    if (args.num(0) != 0) engine.interp.current->pc = args.word(1);
    return 0;
}

int32_t cmd_call_if(Engine& engine, const Args& args) {
    if (args.num(0) == 0) return 0;
    set_call_arguments(engine, args.num(2), args.num(3), args.num(4), args.num(5));
    if (!call_push(engine, args.word(1))) return err_report(engine, -101, nullptr);
    return 0;
}

int32_t cmd_call(Engine& engine, const Args& args) {
    if (!call_push(engine, args.word(0))) return err_report(engine, -101, nullptr);
    return 0;
}

int32_t cmd_call_args(Engine& engine, const Args& args) {
    set_call_arguments(engine, args.num(0), args.num(1), args.num(2), args.num(3));
    if (!call_push(engine, args.word(4))) return err_report(engine, -101, nullptr);
    return 0;
}

int32_t cmd_scn_call_buf(Engine& engine, const Args& args) {
    const int32_t buf_no = args.num(0);
    Scenario* scenario = buf_get_scenario(engine, buf_no);
    if (!scenario) return err_report(engine, -102, "buf_no = %d", buf_no);
    set_call_arguments(engine, args.num(1), args.num(2), args.num(3), args.num(4));
    if (!scn_start(engine, scenario, false, false)) {
        return err_report(engine, -103, "buf_no = %d", buf_no);
    }
    return 0;
}

int32_t cmd_return(Engine& engine, const Args& args) {
    result_set(engine, 1, args.num(0));
    if (!call_pop(engine)) return err_report(engine, -104, nullptr);
    return 0;
}

int32_t cmd_scn_call_file(Engine& engine, const Args& args) { return start_file(engine, args, false); }

int32_t cmd_scn_jump_file(Engine& engine, const Args& args) { return start_file(engine, args, true); }

int32_t cmd_scn_return(Engine& engine, const Args& args) {
    result_set(engine, 1, args.num(0));
    return end_current(engine);
}

int32_t cmd_jump_table(Engine& engine, const Args& args) {
    const int32_t index = args.num(0);
    const int32_t strict = args.num(1);
    if (index >= 0 && static_cast<uint32_t>(index) < args.list_count) {
        engine.interp.current->pc = args.list[index].word;
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

int32_t cmd_end(Engine& engine, const Args&) { return end_current(engine); }

}  // namespace qln
