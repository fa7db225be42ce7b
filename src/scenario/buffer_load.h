#pragma once
// Loading a file into a data buffer.

#include <cstdint>

namespace qln {

struct Engine;
struct FileRef;

// Reads the file into slot buf_no: a picture when it decodes as one, else a
// scenario object when it is one, else its bytes as they are. On a failed
// read the slot keeps what it had.
bool buf_load(Engine& engine, int32_t buf_no, const FileRef& ref);

}  // namespace qln
