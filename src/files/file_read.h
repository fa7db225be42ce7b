#pragma once
// The file reader: whole files, archive entries of both kinds, and the packed
// layout. Every loader of the engine reads through file_read.

#include <cstdint>
#include <vector>

namespace qln {

struct Engine;

// How commands and settings name a file.
struct FileRef {
    const char* name = "";    // Shift-JIS, may use backslashes
    uint16_t directory = 0;   // 0: name as is; d >= 1: system string d - 1 in front
    uint16_t entry = 0;       // 0: whole file; n >= 1: entry n of an archive
    bool compressed = false;  // the bytes are in the packed layout (method A)
};

// The reference a command's operands name. Scenario directory numbers count
// from 0 and the reference's 0 means none, so a dir of -1 names the file as
// it is.
inline FileRef file_ref_of(const char* name, int32_t entry, int32_t dir, bool compressed) {
    return FileRef{name, static_cast<uint16_t>(dir + 1), static_cast<uint16_t>(entry), compressed};
}

// Reads the file the reference names into out (replacing its contents).
// Returns false, with out empty, on any failure: a missing file, a short or
// malformed archive, packed data that does not unpack to its stated length.
[[nodiscard]] bool file_read(Engine& engine, const FileRef& ref, std::vector<uint8_t>& out);

// The same without an engine: the path is used as given (already prefixed).
[[nodiscard]] bool file_read_path(const char* path_sjis, uint16_t entry, bool compressed,
                                  std::vector<uint8_t>& out);

}  // namespace qln
