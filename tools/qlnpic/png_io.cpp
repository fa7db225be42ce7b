#include "png_io.h"

#include <png.h>

#include <cstring>
#include <new>
#include <string>

#include "base/limits.h"

namespace qlnpic {

bool is_png(const std::vector<uint8_t>& bytes) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return bytes.size() >= 8 && std::memcmp(bytes.data(), signature, 8) == 0;
}

bool png_read(const std::vector<uint8_t>& bytes, qln::PictureOwner& out, std::string& error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        error = image.message;
        return false;
    }
    if (!qln::picture_file_size_allowed(image.width, image.height)) {
        png_image_free(&image);
        error = std::to_string(image.width) + " x " + std::to_string(image.height) +
                " is beyond the picture limits (16384 pixels a side, 256 MiB)";
        return false;
    }
    image.format = PNG_FORMAT_BGRA;
    std::vector<uint8_t> bgra(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, bgra.data(), 0, nullptr)) {
        error = image.message;
        return false;
    }
    out.reset(qln::picture_create(uint16_t(image.width), uint16_t(image.height)));
    if (!out) {
        error = "out of memory";
        return false;
    }
    const size_t n = size_t(image.width) * image.height;
    bool opaque = true;
    for (size_t i = 0; i < n; ++i) {
        std::memcpy(out->pixels.get() + 3 * i, bgra.data() + 4 * i, 3);
        opaque = opaque && bgra[4 * i + 3] == 255;
    }
    if (!opaque) {
        out->alpha.reset(new uint8_t[n + 1]);
        for (size_t i = 0; i < n; ++i) out->alpha[i] = bgra[4 * i + 3];
    }
    return true;
}

bool png_write(const qln::Picture& p, std::vector<uint8_t>& out, std::string& error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = p.width;
    image.height = p.height;
    const bool alpha = p.alpha != nullptr;
    image.format = alpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
    const size_t channels = alpha ? 4 : 3;
    const size_t n = size_t(p.width) * p.height;
    std::vector<uint8_t> pixels(n * channels);
    for (size_t i = 0; i < n; ++i) {
        std::memcpy(pixels.data() + channels * i, p.pixels.get() + 3 * i, 3);
        if (alpha) pixels[4 * i + 3] = p.alpha[i];
    }
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, pixels.data(), 0, nullptr)) {
        error = image.message;
        return false;
    }
    out.resize(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr)) {
        error = image.message;
        return false;
    }
    out.resize(size);
    return true;
}

}  // namespace qlnpic
