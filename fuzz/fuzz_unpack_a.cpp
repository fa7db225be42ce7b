// Method A over arbitrary input: never out of bounds, and whenever it
// succeeds its output equals a plain byte-at-a-time decoding.
// Input: 3 bytes of unpacked length (capped at 256 KiB), then the data.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "files/unpack.h"

namespace {

bool reference_a(const uint8_t* in, size_t in_len, uint8_t* out, size_t out_len) {
    size_t ip = 0, op = 0;
    while (op < out_len) {
        if (ip >= in_len) return false;
        const unsigned flags = in[ip++];
        for (int bit = 7; bit >= 0 && op < out_len; --bit) {
            if (((flags >> bit) & 1) == 0) {
                if (ip >= in_len) return false;
                out[op++] = in[ip++];
                continue;
            }
            if (in_len - ip < 2) return false;
            const unsigned w = in[ip] | (in[ip + 1] << 8);
            ip += 2;
            const size_t distance = (w >> 4) + 1;
            size_t len = (w & 15) + 3;
            if (distance > op) return false;
            if (len > out_len - op) len = out_len - op;
            for (size_t i = 0; i < len; ++i, ++op) out[op] = out[op - distance];
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const size_t out_len = (data[0] | (data[1] << 8) | (size_t(data[2]) << 16)) % (256 * 1024 + 1);
    data += 3;
    size -= 3;
    // Exact-size buffers, so a stray access lands outside an allocation.
    std::vector<uint8_t> in(data, data + size);
    std::vector<uint8_t> fast(out_len), slow(out_len);
    const bool ok = qln::unpack_a(in.data(), in.size(), fast.data(), fast.size());
    const bool ref = reference_a(in.data(), in.size(), slow.data(), slow.size());
    if (ok != ref) std::abort();
    if (ok && fast != slow) std::abort();
    return 0;
}
