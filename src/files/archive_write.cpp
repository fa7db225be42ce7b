// Writers for the "Gpc7" and "QSCF" archive layouts.
#include "files/archive_write.h"

#include "files/pack.h"

namespace qln {
namespace {

constexpr size_t kMaxEntries = 0xFFFF;

void put_u32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void set_u32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

bool fits_u32(uint64_t v) {
    return v <= 0xFFFFFFFFu;
}

}  // namespace

bool archive_write_gpc7(const std::vector<std::vector<uint8_t>>& entries,
                        std::vector<uint8_t>& out) {
    out.clear();
    if (entries.size() > kMaxEntries) return false;
    const uint32_t count = static_cast<uint32_t>(entries.size());
    out.insert(out.end(), {'G', 'p', 'c', '7'});
    put_u32(out, count);
    out.resize(out.size() + 4 * size_t(count), 0);
    for (uint32_t n = 1; n <= count; ++n) {
        const std::vector<uint8_t>& data = entries[n - 1];
        if (!fits_u32(out.size()) || !fits_u32(data.size())) return false;
        set_u32(out, 4 + 4 * size_t(n), static_cast<uint32_t>(out.size()));
        std::vector<uint8_t> packed = pack_b(data.data(), data.size());
        // Packed length 0 marks stored data, so only a real gain is packed.
        const bool use_b = !data.empty() && packed.size() < data.size();
        const std::vector<uint8_t>& body = use_b ? packed : data;
        put_u32(out, use_b ? static_cast<uint32_t>(packed.size()) : 0);
        put_u32(out, static_cast<uint32_t>(data.size()));
        out.insert(out.end(), body.begin(), body.end());
    }
    if (!fits_u32(out.size())) {
        out.clear();
        return false;
    }
    return true;
}

bool archive_write_qscf(const std::vector<std::vector<uint8_t>>& entries,
                        std::vector<uint8_t>& out) {
    out.clear();
    if (entries.size() > kMaxEntries) return false;
    const size_t count = entries.size();
    out.insert(out.end(), {'Q', 'S', 'C', 'F'});
    uint64_t offset = 4 + 4 * uint64_t(count + 1);
    for (size_t i = 0; i <= count; ++i) {
        if (!fits_u32(offset)) return false;
        put_u32(out, static_cast<uint32_t>(offset));
        if (i < count) offset += entries[i].size();
    }
    for (const std::vector<uint8_t>& data : entries)
        out.insert(out.end(), data.begin(), data.end());
    if (count > 0 && entries.back().empty()) out.push_back(0);
    if (!fits_u32(out.size())) {
        out.clear();
        return false;
    }
    return true;
}

}  // namespace qln
