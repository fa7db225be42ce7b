#pragma once
// The inner loops of drawing, one set per instruction set. Every kernel gives
// exactly the bytes of the blend table: table[a][x] is computed as
// (t * 0x8081) >> 23 with t = a * x + 128, which equals floor(t / 255) for
// every a and x. (The shorter (t + (t >> 8)) >> 8 does not: it rounds
// a * x = 127 down where the table rounds it up.) Kernels work on spans of
// one row; callers clip first.

#include <cstddef>
#include <cstdint>

namespace qln {

struct DrawKernels {
    // out = table[a][s] + table[255 - a][d], n bytes; out may be d.
    void (*blend)(uint8_t* out, const uint8_t* s, const uint8_t* d, size_t n, uint8_t a);
    // m = rop(s, d) for rop 1..5; d = m when a is 255, else
    // table[a][m] + table[255 - a][d]; n bytes.
    void (*rop)(uint8_t* d, const uint8_t* s, size_t n, int rop, uint8_t a);
    // Per pixel a = table[opacity][alpha]; m = rop(s, d) (rop 0 is s); then as
    // above. n pixels of 3 bytes, alpha one byte per pixel.
    void (*weighted)(uint8_t* d, const uint8_t* s, const uint8_t* alpha, size_t n, int rop,
                     uint8_t opacity);
};

// The kernels for this processor, chosen once.
const DrawKernels& draw_kernels();
// Each set by name, so tests can hold them to the same bytes; the AVX2 set is
// null on a processor without AVX2.
const DrawKernels& draw_kernels_sse2();
const DrawKernels* draw_kernels_avx2();

}  // namespace qln
