#pragma once
// The four picture readers behind picture_decode, and what they share. Each
// reader takes the whole file and returns a new picture, or nullptr when it
// refuses the data; none reads past the data or writes past the picture.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "base/limits.h"
#include "graphics/picture.h"

namespace qln {

// The compressed engine format's signature, compared with its zero byte.
inline constexpr char gcmp_signature[8] = {'G', 'C', 'm', 'p', 'S', 'H', '0', '\0'};
inline constexpr size_t gcmp_header_bytes = 16;

// The key that scrambles the planar format's palette.
inline constexpr char planar_key[8] = {'V', 'O', 'R', 'T', 'A', 'M', 'E', 'L'};
inline constexpr size_t planar_header_bytes = 52;

// Owns a picture while a reader fills it; released to the caller on success.
struct PictureFree {
    void operator()(Picture* p) const { picture_free(p); }
};
using PictureOwner = std::unique_ptr<Picture, PictureFree>;

// The picture a reader fills: none when the file states a size beyond the
// caps of base/limits.h.
inline Picture* picture_create_decoded(uint32_t width, uint32_t height) {
    if (!picture_file_size_allowed(width, height)) return nullptr;
    return picture_create(static_cast<uint16_t>(width), static_cast<uint16_t>(height));
}

bool is_gcmp(const uint8_t* bytes, size_t length);
bool is_bmp(const uint8_t* bytes, size_t length);

[[nodiscard]] Picture* decode_gcmp(const uint8_t* bytes, size_t length);
[[nodiscard]] Picture* decode_bmp(const uint8_t* bytes, size_t length);
[[nodiscard]] Picture* decode_targa(const uint8_t* bytes, size_t length);
[[nodiscard]] Picture* decode_planar(const uint8_t* bytes, size_t length);

// Palette byte b at file offset 4 + k descrambled: (NOT b - key[k]) mod 256.
// Blue sits third in each entry but takes the entry's first key character.
inline uint8_t planar_key_char(size_t entry, size_t byte_in_entry) {
    // byte_in_entry 0 = green (stored first), 1 = red, 2 = blue.
    return static_cast<uint8_t>(planar_key[(3 * entry + 2 - byte_in_entry) % 8]);
}

}  // namespace qln
