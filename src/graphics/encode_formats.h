#pragma once
// Writers of the four picture formats, used by the picture tool and the
// tests. Each returns the whole file, or an empty vector when the picture
// cannot be stored in that format (the comment says when).

#include <cstdint>
#include <vector>

#include "graphics/picture.h"

namespace qln {

// Whether a pixel counts as white in the black-and-white formats: its
// luminance (0.299 R + 0.587 G + 0.114 B) is at least 128.
bool is_light(const uint8_t* bgr);

// The compressed engine format, depth 24 (colour runs).
std::vector<uint8_t> encode_gcmp24(const Picture& p);
// The compressed engine format, depth 1: byte runs, or stored plain.
std::vector<uint8_t> encode_gcmp1(const Picture& p, bool runs = true);
// A Windows bitmap of 1, 8 or 24 bits per pixel; 8 bits needs at most 256
// colours.
std::vector<uint8_t> encode_bmp(const Picture& p, int bits);
// A 32-bit targa; alpha from the alpha plane, 255 without one.
std::vector<uint8_t> encode_targa(const Picture& p);
// The planar 16-colour format: width a multiple of 8 up to 2040, height a
// multiple of 2 up to 510, at most 16 colours whose components are multiples
// of 17. place_x and place_y are the two placement bytes.
std::vector<uint8_t> encode_planar(const Picture& p, uint8_t place_x = 0, uint8_t place_y = 0);

}  // namespace qln
