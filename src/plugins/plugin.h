#pragma once
// Plug-in libraries: loading one into a data buffer, calling its exports by
// number, and serving callbacks with them. The calling contract is
// include/quillon/plugin.h; docs/plugins.md is the authors' guide.

#include <cstdint>
#include <string>

namespace qln {

struct Engine;
struct Plugin;

// Loads the library named by name (after system string dir when dir >= 0)
// into data buffer buf_no, which is freed first whatever the outcome. When
// the file is no library of this host (a Windows DLL, or missing), the same
// base name with ".so" beside it is tried, in any case. The library must
// have export 1 and it must answer 0; otherwise it is unloaded and the load
// fails, leaving the buffer empty. Every library the engine loads comes
// through here.
bool plugin_load(Engine& engine, int32_t buf_no, const char* name, int32_t dir);

// The scenario path plugin_load tries when sjis_path is no library: the
// last component's extension replaced by ".so" (added when it has none).
std::string plugin_native_name(const std::string& sjis_path);

// Calls export `ordinal` (its low 16 bits; 0 names none) with count
// arguments and a fresh info block: the export's status, or -1 when the
// library has no such export.
int32_t plugin_invoke(Engine& engine, const Plugin& plugin, int32_t ordinal, int32_t count,
                      const intptr_t* args);

// A callback served by export entry of the library in data buffer buf_no,
// called without arguments: true when the buffer holds a library and the
// export answers above 0.
bool plugin_callback(Engine& engine, int32_t buf_no, int32_t entry);

}  // namespace qln
