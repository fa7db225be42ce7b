#include "tables/plugin.h"

#include "tables/tables.h"

namespace qln {

void plugin_release(Plugin* plugin) {
    delete plugin;
}

}  // namespace qln
