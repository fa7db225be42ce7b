#include <cstdio>
#include <new>
#include <string>

#include "base/sjis.h"
#include "engine/engine.h"
#include "files/file_paths.h"
#include "platform/host_files.h"
#include "plugins/plugin.h"
#include "plugins/plugin_export.h"
#include "plugins/plugin_info.h"
#include "tables/plugin.h"
#include "tables/tables.h"

namespace qln {
namespace {

// Opens the library a scenario path names. Only a regular file is handed to
// the dynamic linker: a pipe would block it, and a bare name would send it
// searching the system's library directories instead of the game's.
// A refusal of the dynamic linker is kept in failure ("PATH": REASON).
void* library_open_mapped(LibraryService& libraries, const std::string& sjis_path,
                          std::string& failure) {
    std::string host;
    if (!host_path_map(sjis_path.c_str(), host)) return nullptr;
    if (host_path_kind(host) != HostPathKind::File) return nullptr;
    if (host.find('/') == std::string::npos) host.insert(0, "./");
    std::string reason;
    void* library = libraries.library_open(host.c_str(), reason);
    if (!library) failure = "\"" + host + "\": " + reason;
    return library;
}

// Export 1 accepts or refuses the library.
bool library_initialise(Engine& engine, const Plugin& plugin) {
    const qln_export_fn init = plugin_export(plugin, 1);
    if (!init) return false;
    PluginCallFrame frame;
    plugin_frame_build(engine, frame);
    return init(QLN_INFO_WORDS, frame.info, frame.info) == 0;
}

}  // namespace

std::string plugin_native_name(const std::string& sjis_path) {
    // The last component starts after the last separator; a double-byte
    // character's second byte may equal the backslash and is skipped.
    size_t component = 0;
    for (size_t i = 0; i < sjis_path.size(); ++i) {
        const uint8_t c = static_cast<uint8_t>(sjis_path[i]);
        if (sjis_is_lead_byte(c) && i + 1 < sjis_path.size()) {
            ++i;
        } else if (c == '\\' || c == '/' || c == ':') {
            component = i + 1;
        }
    }
    // No byte of a double-byte character is a full stop.
    const size_t dot = sjis_path.rfind('.');
    const size_t stem_end = dot != std::string::npos && dot > component ? dot : sjis_path.size();
    return sjis_path.substr(0, stem_end) + ".so";
}

bool plugin_load(Engine& engine, int32_t buf_no, const char* name, int32_t dir) {
    buf_free(engine, buf_no);
    DataBuffer* slot = buf_entry(engine, buf_no);
    if (!slot) return false;
    // A directory without a system string counts as none.
    const char* prefix = dir >= 0 ? sysstr_get(engine, dir) : nullptr;
    const std::string path = std::string(prefix ? prefix : "") + (name ? name : "");
    // A sandboxed run starts no host code of the game's.
    if (engine.files.sandbox) {
        sandbox_refusal(engine, "load of the library", path);
        return false;
    }

    LibraryService& libraries = *engine.platform.libraries;
    std::string failure;
    void* library = library_open_mapped(libraries, path, failure);
    if (!library) {
        const std::string native = plugin_native_name(path);
        if (native != path) library = library_open_mapped(libraries, native, failure);
    }
    if (!library) {
        // The scenario sees only the failure; the player is told why.
        if (!failure.empty()) std::fprintf(stderr, "quillon: plugin %s\n", failure.c_str());
        return false;
    }

    Plugin* plugin = new (std::nothrow) Plugin{&libraries, library};
    if (!plugin || !library_initialise(engine, *plugin)) {
        libraries.library_close(library);
        delete plugin;
        return false;
    }
    slot->type = BufType::Plugin;
    slot->size = 0;
    slot->plugin = plugin;
    return true;
}

}  // namespace qln
