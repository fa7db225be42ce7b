// The file reader: builds the path from the reference, maps it to the host and
// reads the whole file or one archive entry through the archive logic.
#include "files/file_read.h"

#include <string>

#include "engine/engine.h"
#include "files/archive_read.h"
#include "platform/host_files.h"
#include "tables/tables.h"

namespace qln {

bool file_read_path(const char* path_sjis, uint16_t entry, bool compressed,
                    std::vector<uint8_t>& out) {
    out.clear();
    std::string host_path;
    if (!host_path_map(path_sjis, host_path)) return false;
    HostFile file;
    if (!file.open(host_path)) return false;
    return source_read(HostFileSource(file), entry, compressed, out);
}

bool file_read(Engine& engine, const FileRef& ref, std::vector<uint8_t>& out) {
    out.clear();
    const char* name = ref.name != nullptr ? ref.name : "";
    if (ref.directory == 0) return file_read_path(name, ref.entry, ref.compressed, out);
    // A directory whose system string does not exist counts as empty.
    const char* prefix = sysstr_get(engine, static_cast<int32_t>(ref.directory) - 1);
    std::string path = prefix != nullptr ? prefix : "";
    path += name;
    return file_read_path(path.c_str(), ref.entry, ref.compressed, out);
}

}  // namespace qln
