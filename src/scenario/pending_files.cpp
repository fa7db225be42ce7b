// Placeholder so everything links while the file reader is written. Deleted
// by the change that implements it.
#include "scenario/file_read.h"
#include "scenario/unpack.h"

namespace qln {
bool file_read(Engine&, const FileRef&, std::vector<uint8_t>& out) { out.clear(); return false; }
bool file_read_path(const char*, uint16_t, bool, std::vector<uint8_t>& out) { out.clear(); return false; }
bool unpack_a(const uint8_t*, size_t, uint8_t*, size_t) { return false; }
bool unpack_b(const uint8_t*, size_t, uint8_t*, size_t) { return false; }
}  // namespace qln
