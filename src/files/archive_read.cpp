// Archive entries and the packed layout over a byte source.
#include "files/archive_read.h"

#include <algorithm>
#include <cstring>

#include "files/unpack.h"

namespace qln {
namespace {

constexpr uint32_t kMagicGpc7 = 0x37637047;  // "Gpc7"
constexpr uint32_t kMagicQscf = 0x46435351;  // "QSCF"

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

bool read_u32(const ByteSource& source, uint64_t offset, uint32_t& value) {
    uint8_t b[4];
    if (!source.read_at(offset, b, 4)) return false;
    value = le32(b);
    return true;
}

bool read_block(const ByteSource& source, uint64_t offset, uint64_t len,
                std::vector<uint8_t>& out) {
    out.resize(static_cast<size_t>(len));
    return len == 0 || source.read_at(offset, out.data(), out.size());
}

}  // namespace

bool MemorySource::read_at(uint64_t offset, uint8_t* dst, size_t len) const {
    if (offset > len_ || len > len_ - offset) return false;
    if (len > 0) std::memcpy(dst, data_ + offset, len);
    return true;
}

ArchiveKind archive_kind(const ByteSource& source) {
    uint32_t magic = 0;
    if (!read_u32(source, 0, magic)) return ArchiveKind::None;
    if (magic == kMagicGpc7) return ArchiveKind::Gpc7;
    if (magic == kMagicQscf) return ArchiveKind::Qscf;
    return ArchiveKind::None;
}

bool archive_count(const ByteSource& source, uint32_t& count) {
    count = 0;
    const ArchiveKind kind = archive_kind(source);
    if (kind == ArchiveKind::Gpc7) return read_u32(source, 4, count);
    if (kind != ArchiveKind::Qscf) return false;
    uint32_t first = 0;
    if (!read_u32(source, 4, first)) return false;
    // Entry n needs the offsets at 4n and 4n + 4 before the first entry's data
    // and inside the source.
    uint64_t table_end = first;
    if (table_end > source.size()) table_end = source.size();
    count = table_end >= 8 ? static_cast<uint32_t>((table_end - 8) / 4) : 0;
    return true;
}

bool archive_entry_info(const ByteSource& source, uint32_t n, ArchiveEntryInfo& info,
                        uint64_t limit) {
    info = {};
    const uint64_t size = source.size();
    // The reader's first step: the first 4n + 8 bytes must exist.
    if (n == 0 || uint64_t(4) * n + 8 > size) return false;
    uint32_t magic = 0;
    if (!read_u32(source, 0, magic)) return false;

    if (magic == kMagicGpc7) {
        uint32_t count = 0, offset = 0;
        if (!read_u32(source, 4, count) || count < n) return false;
        if (!read_u32(source, 4 + uint64_t(4) * n, offset)) return false;
        uint8_t head[8];
        if (!source.read_at(offset, head, 8)) return false;
        const uint32_t packed = le32(head);
        const uint32_t unpacked = le32(head + 4);
        const uint64_t room = size - offset - 8;
        info.offset = uint64_t(offset) + 8;
        info.unpacked = unpacked;
        info.method_b = packed != 0;
        info.stored = info.method_b ? packed : unpacked;
        return info.stored <= room && info.unpacked <= limit;
    }
    if (magic == kMagicQscf) {
        uint32_t start = 0, end = 0;
        if (!read_u32(source, uint64_t(4) * n, start)) return false;
        if (!read_u32(source, uint64_t(4) * n + 4, end)) return false;
        // An end before its start or past the file is damage, not a huge read.
        if (start >= size || end < start || end > size) return false;
        info.offset = start;
        info.stored = info.unpacked = end - start;
        return info.unpacked <= limit;
    }
    return false;
}

bool packed_layout_unpack(const uint8_t* bytes, size_t len, std::vector<uint8_t>& out) {
    out.clear();
    if (len < 4) return false;
    const size_t unpacked = size_t(bytes[0]) | (size_t(bytes[1]) << 8);
    const size_t packed = size_t(bytes[2]) | (size_t(bytes[3]) << 8);
    if (packed != len - 4) return false;
    out.resize(unpacked);
    if (!unpack_a(bytes + 4, packed, out.data(), out.size())) {
        out.clear();
        return false;
    }
    return true;
}

bool source_read(const ByteSource& source, uint16_t entry, bool compressed,
                 std::vector<uint8_t>& out, uint64_t limit) {
    out.clear();
    // Packed-layout bytes state their length in 16 bits: anything longer
    // cannot pass the check, so it is not even read.
    if (compressed) limit = std::min<uint64_t>(limit, 0xFFFF + 4);
    std::vector<uint8_t> bytes;
    bool ok = false;
    if (entry == 0) {
        ok = source.size() <= limit && read_block(source, 0, source.size(), bytes);
    } else {
        ArchiveEntryInfo info;
        ok = archive_entry_info(source, entry, info, limit) &&
             read_block(source, info.offset, info.stored, bytes);
        if (ok && info.method_b) {
            std::vector<uint8_t> packed;
            packed.swap(bytes);
            bytes.resize(static_cast<size_t>(info.unpacked));
            ok = unpack_b(packed.data(), packed.size(), bytes.data(), bytes.size());
        }
    }
    if (!ok) return false;
    if (compressed) return packed_layout_unpack(bytes.data(), bytes.size(), out);
    out.swap(bytes);
    return true;
}

}  // namespace qln
