#pragma once
// PNG reading and writing for qlnpic (libpng's simplified interface).

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/decode_formats.h"

namespace qlnpic {

// A PNG file into a picture; the alpha plane is kept only when some pixel is
// not fully opaque. False with a reason when the bytes are no PNG we read.
bool png_read(const std::vector<uint8_t>& bytes, qln::PictureOwner& out, std::string& error);
// A picture as a PNG: RGBA when it has an alpha plane, RGB otherwise.
bool png_write(const qln::Picture& p, std::vector<uint8_t>& out, std::string& error);

bool is_png(const std::vector<uint8_t>& bytes);

}  // namespace qlnpic
