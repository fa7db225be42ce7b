// Commands 0xC5-0xC6: load a plug-in library into a data buffer and call its
// exports with typed arguments.

#include "commands/command_table.h"
#include "engine/engine.h"
#include "plugins/plugin.h"
#include "plugins/plugin_args.h"
#include "tables/tables.h"

namespace qln {

int32_t cmd_plugin_load(Engine& engine, const Args& args) {
    const plugin_load_operands op(args);
    const int32_t buf_no = op.buf_no();
    const int32_t dir = op.dir();
    if (!plugin_load(engine, buf_no, op.name(), dir)) {
        return err_report(engine, -120, "File:%s Dir:%d", op.name(), dir);
    }
    return 0;
}

int32_t cmd_plugin_call(Engine& engine, const Args& args) {
    const plugin_call_operands op(args);
    const int32_t buf_no = op.buf_no();
    const int32_t entry = op.entry();
    PluginArgs list;
    const bool fits = plugin_args_build(op.arguments(), list);
    const Plugin* plugin = buf_get_plugin(engine, buf_no);
    if (!plugin) return err_report(engine, -120, "buf_no = %d", buf_no);
    if (!fits || plugin_invoke(engine, *plugin, entry, list.count, list.values) < 0) {
        return err_report(engine, -121, "buf_no = %d, entry = %d", buf_no, entry);
    }
    return 0;
}

}  // namespace qln
