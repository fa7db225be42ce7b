#include <charconv>

#include "engine/engine.h"
#include "plugins/plugin.h"
#include "plugins/plugin_export.h"
#include "plugins/plugin_info.h"
#include "tables/plugin.h"
#include "tables/tables.h"

namespace qln {

qln_export_fn plugin_export(const Plugin& plugin, int32_t ordinal) {
    const uint16_t number = static_cast<uint16_t>(ordinal);
    if (number == 0 || !plugin.libraries || !plugin.library) return nullptr;
    char name[24] = "qln_export_";
    constexpr size_t kPrefix = sizeof("qln_export_") - 1;
    const auto end = std::to_chars(name + kPrefix, name + sizeof(name) - 1, number).ptr;
    *end = '\0';
    return reinterpret_cast<qln_export_fn>(plugin.libraries->library_symbol(plugin.library, name));
}

int32_t plugin_invoke(Engine& engine, const Plugin& plugin, int32_t ordinal, int32_t count,
                      const intptr_t* args) {
    const qln_export_fn function = plugin_export(plugin, ordinal);
    if (!function) return -1;
    PluginCallFrame frame;
    plugin_frame_build(engine, frame);
    return function(count, args, frame.info);
}

bool plugin_callback(Engine& engine, int32_t buf_no, int32_t entry) {
    const Plugin* plugin = buf_get_plugin(engine, buf_no);
    return plugin && plugin_invoke(engine, *plugin, entry, 0, nullptr) > 0;
}

}  // namespace qln
