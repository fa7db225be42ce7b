// The file reader: builds the path from the reference, maps it to the host and
// reads the whole file or one archive entry through the archive logic.
#include "files/file_read.h"

#include <string>

#include "engine/engine.h"
#include "files/archive_read.h"
#include "files/file_paths.h"
#include "platform/host_files.h"
#include "tables/tables.h"

namespace qln {

namespace {

bool host_read(const std::string& host_path, uint16_t entry, bool compressed,
               std::vector<uint8_t>& out) {
    HostFile file;
    if (!file.open(host_path)) return false;
    return source_read(HostFileSource(file), entry, compressed, out);
}

}  // namespace

bool file_read_path(const char* path_sjis, uint16_t entry, bool compressed,
                    std::vector<uint8_t>& out) {
    out.clear();
    std::string host_path;
    if (!host_path_map(path_sjis, host_path)) return false;
    return host_read(host_path, entry, compressed, out);
}

bool file_read(Engine& engine, const FileRef& ref, std::vector<uint8_t>& out) {
    out.clear();
    // A directory whose system string does not exist counts as empty.
    const std::string path =
        file_operand_path(engine, ref.name, static_cast<int32_t>(ref.directory) - 1);
    // Saved games are read from the save folder first (files/file_paths.h).
    std::string host_path;
    if (!file_host_path(engine, path.c_str(), FileUse::Read, host_path)) return false;
    return host_read(host_path, ref.entry, ref.compressed, out);
}

}  // namespace qln
