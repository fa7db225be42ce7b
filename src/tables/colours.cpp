// The colour table: numbered colours the colour commands set and text and
// frames are drawn with.
#include "engine/engine.h"

namespace qln {

void colour_set(Engine& engine, int32_t n, uint8_t red, uint8_t green, uint8_t blue) {
    std::vector<Colour>& colours = engine.tables.colours;
    if (n < 0 || size_t(n) >= colours.size()) return;
    colours[size_t(n)].red = red;
    colours[size_t(n)].green = green;
    colours[size_t(n)].blue = blue;
}

bool colour_get(Engine& engine, int32_t n, uint8_t& red, uint8_t& green, uint8_t& blue) {
    const std::vector<Colour>& colours = engine.tables.colours;
    if (n < 0 || size_t(n) >= colours.size()) return false;
    red = colours[size_t(n)].red;
    green = colours[size_t(n)].green;
    blue = colours[size_t(n)].blue;
    return true;
}

}  // namespace qln
