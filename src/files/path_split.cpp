#include "files/path_split.h"

#include "base/sjis.h"

namespace qln {

PathParts path_split(std::string_view path) {
    size_t cut = 0;  // bytes of the directory part
    for (size_t i = 0; i < path.size();) {
        const uint8_t c = uint8_t(path[i]);
        if (sjis_is_lead_byte(c)) {
            i += 2;
            continue;
        }
        ++i;
        if (c == '\\' || c == ':') cut = i;
    }
    return PathParts{path.substr(0, cut), path.substr(cut)};
}

int32_t path_drive_number(std::string_view path) {
    int32_t first = path.empty() ? 0 : uint8_t(path[0]);
    if (first >= 'a' && first <= 'z') first -= 'a' - 'A';
    return first - 64;
}

}  // namespace qln
