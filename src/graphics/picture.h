#pragma once
// The Picture record: 24-bit blue-green-red pixels, rows top-down, an
// optional 8-bit alpha plane, and three cell fields used by picture fonts.
// Drawing, composition and the decoders build on this record.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace qln {

struct Picture {
    uint16_t width = 0;
    uint16_t height = 0;
    std::unique_ptr<uint8_t[]> pixels;  // width * height * 3, stride width * 3
    uint16_t cell[3] = {0, 0, 0};
    std::unique_ptr<uint8_t[]> alpha;  // width * height, or null

    size_t pixel_bytes() const { return size_t(width) * height * 3; }
    size_t alpha_bytes() const { return size_t(width) * height; }
};

// Allocates a picture of width x height; pixels uninitialised, no alpha plane.
// None beyond the caps of base/limits.h (picture_size_allowed).
// nullptr when the memory cannot be had.
[[nodiscard]] Picture* picture_create(uint16_t width, uint16_t height);
void picture_free(Picture* picture);

// Recognises and decodes a picture file; nullptr when the bytes are no picture
// this engine reads.
[[nodiscard]] Picture* picture_decode(const uint8_t* bytes, size_t length);

}  // namespace qln
