#pragma once
// Writers for the two archive kinds, used by qlnpack and the tests.

#include <cstdint>
#include <vector>

namespace qln {

// A "Gpc7" archive: entry n is entries[n - 1], stored with method B when that
// is smaller, else as it is (packed length 0). False when there are more than
// 65,535 entries (the reader numbers them with 16 bits) or the archive would
// not fit 32-bit offsets.
[[nodiscard]] bool archive_write_gpc7(const std::vector<std::vector<uint8_t>>& entries,
                                      std::vector<uint8_t>& out);

// A "QSCF" archive: the offset table (every entry's start, then the end of
// the last), then the entries as they are. The reader refuses an entry that
// starts at the very end of the file, so when the last entries are empty one
// padding byte follows them. False as for "Gpc7".
[[nodiscard]] bool archive_write_qscf(const std::vector<std::vector<uint8_t>>& entries,
                                      std::vector<uint8_t>& out);

}  // namespace qln
