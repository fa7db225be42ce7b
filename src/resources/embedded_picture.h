#pragma once
// The program's own picture: a 640 x 400 picture in the planar 16-colour
// format, the resource of type "QCG" with id 103. The bytes are generated
// from embedded_picture.qcg by make_embedded_picture.py.

#include <cstddef>
#include <cstdint>

namespace qln {

extern const uint8_t embedded_picture_bytes[];
extern const size_t embedded_picture_size;

// Looks up a resource built into the program; false when there is none of
// that type and id (only "QCG" 103 exists).
bool resource_find(const char* type, int id, const uint8_t*& data, size_t& size);

}  // namespace qln
