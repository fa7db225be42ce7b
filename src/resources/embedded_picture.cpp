#include "resources/embedded_picture.h"

#include <cstring>

namespace qln {

bool resource_find(const char* type, int id, const uint8_t*& data, size_t& size) {
    if (!type || std::strcmp(type, "QCG") != 0 || id != 103) return false;
    data = embedded_picture_bytes;
    size = embedded_picture_size;
    return true;
}

}  // namespace qln
