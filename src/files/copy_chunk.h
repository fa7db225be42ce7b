#pragma once
// How much a copy with a progress callback moves between two calls: a
// fiftieth of the whole, rounded up to whole 4096-byte blocks, at least one
// block and at most a mebibyte.

#include <cstdint>

namespace qln {

inline constexpr uint32_t kCopyBlock = 4096;
inline constexpr uint32_t kCopyChunkMax = 1048576;

constexpr uint32_t copy_chunk_size(uint64_t total) {
    const uint64_t fiftieth = total / 50;
    const uint64_t blocks = (fiftieth + kCopyBlock - 1) / kCopyBlock;
    if (blocks == 0) return kCopyBlock;
    if (blocks >= kCopyChunkMax / kCopyBlock) return kCopyChunkMax;
    return static_cast<uint32_t>(blocks * kCopyBlock);
}

}  // namespace qln
