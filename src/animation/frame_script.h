#pragma once
// The frame script of an animation, read from the bytes of a raw data
// buffer (little-endian): cell width, cell height, cells per row of the
// sheet, a word not read, the mode (0 places each cell at its frame's
// offset, anything else scrolls it), then frames of cell number, offsets a
// and b and duration in units of 10 ms, eight bytes each, up to a frame
// whose cell number is 0xFFFF.

#include <cstdint>

namespace qln {

inline constexpr uint16_t kFrameEndCell = 0xFFFF;
inline constexpr uint32_t kScriptHeaderBytes = 10;
inline constexpr uint32_t kScriptFrameBytes = 8;

struct FrameScript {
    const uint8_t* bytes = nullptr;  // null: the script is gone
    uint32_t size = 0;
};

struct ScriptHeader {
    uint16_t cell_width = 0;
    uint16_t cell_height = 0;
    uint16_t cells_per_row = 0;
    uint16_t mode = 0;
};

struct ScriptFrame {
    uint16_t cell = kFrameEndCell;
    uint16_t a = 0, b = 0;
    uint16_t duration = 0;  // units of 10 ms
    bool end() const { return cell == kFrameEndCell; }
};

// The header; a field beyond the bytes reads 0.
ScriptHeader script_header(const FrameScript& script);

// Frame index. A frame that does not lie wholly inside the bytes reads as
// the end marker, and the end marker's duration always reads 0, so a
// truncated or missing script ends its animation instead of reading on.
ScriptFrame script_frame(const FrameScript& script, uint16_t index);

// Where cell lies on the sheet. A cells-per-row of 0 lays every cell out
// in one row. 64 bits: a far cell lies well beyond any picture.
struct CellOrigin {
    int64_t x = 0, y = 0;
};
CellOrigin cell_origin(const ScriptHeader& header, uint16_t cell);

}  // namespace qln
