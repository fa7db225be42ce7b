// The file reader's archive and packed-layout logic over arbitrary bytes held
// in memory (the same code file_read runs over a host file).
// Input: a control byte (bit 0: compressed flag; bit 1: take the entry number
// from the next two bytes, else from the next byte modulo 8), then the file.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "files/archive_read.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const bool compressed = data[0] & 1;
    uint16_t entry;
    if (data[0] & 2) {
        entry = static_cast<uint16_t>(data[1] | (data[2] << 8));
        data += 3;
        size -= 3;
    } else {
        entry = data[1] % 8;
        data += 2;
        size -= 2;
    }
    std::vector<uint8_t> file(data, data + size);
    const qln::MemorySource source(file.data(), file.size());
    // A small limit keeps huge stated sizes from making every run slow; the
    // checks are the same at any limit.
    constexpr uint64_t kLimit = uint64_t(4) << 20;
    std::vector<uint8_t> out;
    if (!qln::source_read(source, entry, compressed, out, kLimit) && !out.empty()) std::abort();
    if (out.size() > kLimit) std::abort();

    // What qlnpack list does: every entry's facts, bounded.
    uint32_t count = 0;
    if (qln::archive_count(source, count)) {
        for (uint32_t n = 1; n <= count && n <= 64; ++n) {
            qln::ArchiveEntryInfo info;
            if (!qln::archive_entry_info(source, n, info, kLimit)) break;
            if (info.offset > file.size() || info.stored > file.size() - info.offset) std::abort();
        }
    }
    return 0;
}
