// Method B over arbitrary input: never out of bounds, and whenever it
// succeeds its output equals a plain byte-at-a-time decoding.
// Input: 3 bytes of unpacked length (capped at 256 KiB), then the data.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "files/unpack.h"

namespace {

uint64_t be(const uint8_t* p, int n) {
    uint64_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | p[i];
    return v;
}

bool reference_b(const uint8_t* in, size_t in_len, uint8_t* out, size_t out_len) {
    size_t ip = 0, op = 0;
    while (op < out_len) {
        if (ip >= in_len) return false;
        const unsigned t = in[ip++];
        const size_t left = in_len - ip;
        uint64_t n = 0, distance = 0, len = 0;
        bool literal = true;
        if (t <= 0x1C) {
            n = t + 1;
        } else if (t == 0x1D) {
            if (left < 1) return false;
            n = in[ip] + 30u;
            ip += 1;
        } else if (t == 0x1E) {
            if (left < 2) return false;
            n = be(in + ip, 2) + 286;
            ip += 2;
        } else if (t == 0x1F) {
            if (left < 4) return false;
            n = be(in + ip, 4);
            ip += 4;
        } else {
            literal = false;
            if (t < 0x40) {
                len = (t & 3) + 3;
                distance = ((t >> 2) & 7) + 1;
            } else if (t < 0x60) {
                if (left < 2) return false;
                distance = ((t & 0x1F) << 8 | in[ip]) + 1;
                len = in[ip + 1] + 7u;
                ip += 2;
            } else if (t < 0x80) {
                if (left < 5) return false;
                distance = ((t & 0x1F) << 8 | in[ip]) + 1;
                len = be(in + ip + 1, 4) + 3;
                ip += 5;
            } else {
                if (left < 1) return false;
                len = ((t >> 5) & 3) + 3;
                distance = ((t & 0x1F) << 8 | in[ip]) + 1;
                ip += 1;
            }
        }
        if (literal) {
            if (n > in_len - ip || n > out_len - op) return false;
            for (uint64_t i = 0; i < n; ++i) out[op++] = in[ip++];
        } else {
            if (distance > op || len > out_len - op) return false;
            for (uint64_t i = 0; i < len; ++i, ++op) out[op] = out[op - distance];
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
    std::vector<uint8_t> in(data, data + size);
    std::vector<uint8_t> fast(out_len), slow(out_len);
    const bool ok = qln::unpack_b(in.data(), in.size(), fast.data(), fast.size());
    const bool ref = reference_b(in.data(), in.size(), slow.data(), slow.size());
    if (ok != ref) std::abort();
    if (ok && fast != slow) std::abort();
    return 0;
}
