#include "plugins/plugin_args.h"

namespace qln {
namespace {

intptr_t argument_value(const ListItem& item) {
    switch (item.tag) {
        case 0:
            return static_cast<intptr_t>(item.num);
        case 1:
            return static_cast<intptr_t>(static_cast<uint8_t>(item.num));
        case 2:
            return reinterpret_cast<intptr_t>(item.str ? item.str : "");
        default:
            return 0;
    }
}

}  // namespace

bool plugin_args_build(std::span<const ListItem> items, PluginArgs& out) {
    out.count = 0;
    if (items.size() > size_t(PluginArgs::kMax)) return false;
    for (const ListItem& item : items) out.values[out.count++] = argument_value(item);
    return true;
}

}  // namespace qln
