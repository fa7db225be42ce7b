// Placeholder definitions so everything links while the tables are written.
// Deleted by the change that implements them.
#include "tables/tables.h"

namespace qln {
bool tables_init(Engine&) { return false; }
void tables_release(Engine&) {}
int32_t var_get(Engine&, int32_t, int32_t) { return 0; }
void var_set(Engine&, int32_t, int32_t, int32_t) {}
bool var_map(Engine&, int32_t, int32_t, int32_t&) { return false; }
void result_set(Engine&, uint32_t, int32_t) {}
int32_t result_get(Engine&, uint32_t) { return 0; }
void results_use_callback_bank(Engine&, bool) {}
const char* str_get(Engine&, int32_t) { return nullptr; }
void str_set(Engine&, int32_t, const char*) {}
const char* sysstr_get(Engine&, int32_t) { return nullptr; }
void sysstr_set(Engine&, int32_t, const char*) {}
void colour_set(Engine&, int32_t, uint8_t, uint8_t, uint8_t) {}
bool colour_get(Engine&, int32_t, uint8_t&, uint8_t&, uint8_t&) { return false; }
DataBuffer* buf_entry(Engine&, int32_t) { return nullptr; }
Scenario* buf_get_scenario(Engine&, int32_t) { return nullptr; }
uint8_t* buf_get_raw(Engine&, int32_t) { return nullptr; }
Picture* buf_get_picture(Engine&, int32_t) { return nullptr; }
RegionList* buf_get_regions(Engine&, int32_t) { return nullptr; }
Plugin* buf_get_plugin(Engine&, int32_t) { return nullptr; }
uint32_t buf_size(Engine&, int32_t) { return 0; }
bool buf_free(Engine&, int32_t) { return false; }
bool buf_new_raw(Engine&, int32_t, uint32_t) { return false; }
Picture* buf_new_picture(Engine&, int32_t, uint16_t, uint16_t) { return nullptr; }
bool buf_new_regions(Engine&, int32_t, uint32_t) { return false; }
bool buf_load(Engine&, int32_t, const FileRef&) { return false; }
bool buf_dup(Engine&, int32_t, int32_t) { return false; }
bool buf_copy_bytes(Engine&, int32_t, int32_t, int32_t, int32_t, int32_t) { return false; }
void vars_clear(Engine&) {}
void plugin_release(Plugin*) {}
}  // namespace qln
