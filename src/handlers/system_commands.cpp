#include "handlers/system_commands.h"

#include <cstring>

#include "engine/engine.h"
#include "files/file_paths.h"
#include "files/profile.h"
#include "platform/host_files.h"
#include "platform/platform.h"
#include "platform/process.h"
#include "run/dialogs.h"
#include "scenario/interp.h"
#include "scenario/scenario.h"
#include "tables/tables.h"

namespace qln {
namespace {

constexpr uint32_t kExecCheckMs = 200;

bool keep_waiting(void* context) {
    return !static_cast<Engine*>(context)->platform.clock->quit_requested();
}

bool is_executable_file(const std::string& path) {
    return host_file_executable(path);
}

void display_facts(Engine& engine, int& width, int& height, int& bpp) {
    width = 640;
    height = 480;
    bpp = 24;
    engine.platform.display->display_query(width, height, bpp);
}

int32_t hook_record(Engine& engine, const Args& args, int slot) {
    const hook_set_operands op(args);  // hook_set_alt reads the same
    const int32_t call_buf = op.call_buf();
    const int32_t entry = op.entry();
    const int32_t flag = op.flag();
    if (!buf_get_scenario(engine, call_buf)) {
        return err_report(engine, -107, "call_buf = %d, entry = %d flag = %d", call_buf, entry,
                          flag);
    }
    HookSlot& hook = engine.shell.hooks[slot];
    hook.call_buf = static_cast<uint16_t>(call_buf);
    hook.entry = static_cast<uint16_t>(entry);
    hook.flag = static_cast<uint16_t>(flag);
    return 0;
}

}  // namespace

int32_t cmd_ini_file(Engine& engine, const Args& args) {
    const ini_file_operands op(args);
    settings_copy_text(engine.shell.ini_path, kPathMax, op.path());
    return 0;
}

int32_t cmd_ini_read(Engine& engine, const Args& args) {
    const ini_read_operands op(args);
    const char* section = op.section();
    const char* key = op.key();
    // The settings file is the game's: read from the save folder first.
    std::string host;
    const std::string value = file_host_path(engine, engine.shell.ini_path, FileUse::Read, host)
                                  ? profile_read_host(host, section, key)
                                  : std::string();
    str_set(engine, 0, value.c_str());
    return 0;
}

int32_t cmd_ini_write(Engine& engine, const Args& args) {
    const ini_write_operands op(args);
    const char* section = op.section();
    const char* key = op.key();
    const char* value = op.value();
    // A failed write is silent, as is a refused one; it goes to the save
    // folder, so the game folder's copy stays as it was.
    std::string host;
    if (file_host_path(engine, engine.shell.ini_path, FileUse::Write, host)) {
        (void)profile_write_host(host, section, key, value);
    }
    return 0;
}

int32_t cmd_sys_metrics(Engine& engine, const Args&) {
    int display_width = 0, display_height = 0, display_bpp = 0;
    display_facts(engine, display_width, display_height, display_bpp);
    const Settings& s = engine.settings;
    // A screen size of 0 means the display's size.
    const bool display_sized = s.screen_width == 0 || s.screen_height == 0;
    result_set(engine, 1, display_sized ? display_width : s.screen_width);
    result_set(engine, 2, display_sized ? display_height : s.screen_height);
    result_set(engine, 3, display_bpp <= 8 ? 8 : 24);
    result_set(engine, 4, 0);  // no window handle to give
    result_set(engine, 5, 0);
    result_set(engine, 6, 0);
    result_set(engine, 7, display_width);
    result_set(engine, 8, display_height);
    result_set(engine, 9, s.view_width);
    result_set(engine, 10, s.view_height);
    str_set(engine, 0, engine.shell.program_path);
    return 0;
}

int32_t cmd_sys_time(Engine& engine, const Args&) {
    const LocalTime t = engine.platform.clock->local_time();
    result_set(engine, 1, t.day);
    result_set(engine, 2, t.month);
    result_set(engine, 3, t.year);
    result_set(engine, 4, t.day_of_week);
    result_set(engine, 5, t.hour);
    result_set(engine, 6, t.minute);
    result_set(engine, 7, t.second);
    return 0;
}

int32_t cmd_sys_message(Engine& engine, const Args& args) {
    const sys_message_operands op(args);
    dialog_message(engine, op.text(), engine.settings.title);
    return 0;
}

bool exec_arguments(const char* command_line, std::vector<std::string>& argv) {
    argv.clear();
    const std::vector<std::string> words = command_line_split(command_line ? command_line : "");
    if (words.empty() || words[0].empty()) return false;
    const std::string& program = words[0];
    std::string host;
    if (program.find_first_of("\\/:") != std::string::npos) {
        if (!host_path_map(program.c_str(), host)) return false;
    } else {
        std::string mapped;
        if (host_path_map(program.c_str(), mapped) && is_executable_file(mapped)) {
            host = mapped.find('/') == std::string::npos ? "./" + mapped : mapped;
        } else if (!sjis_to_utf8(program.data(), program.size(), host)) {
            return false;
        }
    }
    argv.push_back(std::move(host));
    for (size_t i = 1; i < words.size(); ++i) {
        std::string arg;
        if (!sjis_to_utf8(words[i].data(), words[i].size(), arg)) return false;
        argv.push_back(std::move(arg));
    }
    return true;
}

int32_t cmd_sys_exec(Engine& engine, const Args& args) {
    const sys_exec_operands op(args);
    const char* line = op.command_line();
    const int32_t flags = op.flags();
    // Bit 2 (start minimised) has no meaning without a desktop.
    process_reap(engine.shell.detached_children);
    std::vector<std::string> argv;
    int pid = -1;
    if (engine.files.sandbox) {
        std::string shown;
        if (!sjis_to_utf8(line, std::strlen(line), shown)) shown = line;
        sandbox_refusal(engine, "start of the program", shown);
    }
    const bool started = engine.shell.host_effects_allowed && !engine.files.sandbox &&
                         exec_arguments(line, argv) && process_start(argv, pid);
    if (!started) {
        if (flags & 1) return err_report(engine, -107, "command: %s", line);
        result_set(engine, 1, -1);
        return 0;
    }
    if (flags & 2) {
        engine.shell.detached_children.push_back(pid);
        result_set(engine, 1, 0);
        return 0;
    }
    // Nothing else runs meanwhile (no poll step); only an ending program
    // gives up the wait, leaving the started program running.
    int exit_code = 0;
    if (process_wait(pid, kExecCheckMs, keep_waiting, &engine, exit_code)) {
        result_set(engine, 1, exit_code);
    } else {
        engine.shell.detached_children.push_back(pid);
    }
    return 0;
}

int32_t cmd_hook_set(Engine& engine, const Args& args) {
    return hook_record(engine, args, 0);
}

int32_t cmd_hook_set_alt(Engine& engine, const Args& args) {
    return hook_record(engine, args, 1);
}

}  // namespace qln
