#include "graphics/picture.h"

#include <new>

#include "base/limits.h"

namespace qln {

Picture* picture_create(uint16_t width, uint16_t height) {
    // Sizes come from files and scenarios: refused before anything is taken.
    if (!picture_size_allowed(width, height)) return nullptr;
    auto* picture = new (std::nothrow) Picture;
    if (!picture) return nullptr;
    picture->width = width;
    picture->height = height;
    // Never a null pixel pointer, even for an empty picture.
    picture->pixels.reset(new (std::nothrow) uint8_t[picture->pixel_bytes() + 1]);
    if (!picture->pixels) {
        delete picture;
        return nullptr;
    }
    return picture;
}

void picture_free(Picture* picture) {
    delete picture;
}

}  // namespace qln
