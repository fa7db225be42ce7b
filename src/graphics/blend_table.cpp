// The blend table: [a][x] = floor((a * x + 128) / 255), x scaled by a / 255
// and rounded. Built at compile time, so it exists before anything draws and
// can never change.
#include "graphics/draw.h"

namespace qln {
namespace {

struct BlendTable {
    uint8_t entries[256][256];
};

constexpr BlendTable build_blend_table() {
    BlendTable table{};
    for (int a = 0; a < 256; ++a) {
        for (int x = 0; x < 256; ++x) {
            table.entries[a][x] = static_cast<uint8_t>((a * x + 128) / 255);
        }
    }
    return table;
}

}  // namespace

const uint8_t (&blend_table())[256][256] {
    static constexpr BlendTable table = build_blend_table();
    return table.entries;
}

}  // namespace qln
