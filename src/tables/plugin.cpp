#include "tables/plugin.h"

#include "tables/tables.h"

namespace qln {

void plugin_release(Plugin* plugin) {
    if (plugin && plugin->libraries) plugin->libraries->library_close(plugin->library);
    delete plugin;
}

}  // namespace qln
