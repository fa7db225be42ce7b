// Paths of any bytes: the two parts put together give the path again, the
// directory part ends at a separator, and the file name holds none.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/path_split.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view path(reinterpret_cast<const char*>(data), size);
    const qln::PathParts parts = qln::path_split(path);
    if (parts.directory.size() + parts.name.size() != path.size()) std::abort();
    if (parts.directory.data() != path.data()) std::abort();
    if (!parts.directory.empty() && parts.directory.back() != '\\' &&
        parts.directory.back() != ':') {
        std::abort();
    }
    if (!qln::path_split(parts.name).directory.empty()) std::abort();
    (void)qln::path_drive_number(path);
    return 0;
}
