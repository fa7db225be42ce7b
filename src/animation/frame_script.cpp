#include "animation/frame_script.h"

#include "base/byte_order.h"

namespace qln {
namespace {

uint16_t word_at(const FrameScript& script, uint32_t offset) {
    if (!script.bytes || script.size < 2 || offset > script.size - 2) return 0;
    return read_u16(script.bytes + offset);
}

}  // namespace

ScriptHeader script_header(const FrameScript& script) {
    ScriptHeader h;
    h.cell_width = word_at(script, 0);
    h.cell_height = word_at(script, 2);
    h.cells_per_row = word_at(script, 4);
    h.mode = word_at(script, 8);
    return h;
}

ScriptFrame script_frame(const FrameScript& script, uint16_t index) {
    const uint32_t offset = kScriptHeaderBytes + uint32_t(index) * kScriptFrameBytes;
    ScriptFrame frame;
    if (!script.bytes || script.size < offset + kScriptFrameBytes) return frame;
    const uint8_t* p = script.bytes + offset;
    frame.cell = read_u16(p);
    if (frame.end()) return frame;
    frame.a = read_u16(p + 2);
    frame.b = read_u16(p + 4);
    frame.duration = read_u16(p + 6);
    return frame;
}

CellOrigin cell_origin(const ScriptHeader& header, uint16_t cell) {
    if (header.cells_per_row == 0) return {int64_t(cell) * header.cell_width, 0};
    return {int64_t(cell % header.cells_per_row) * header.cell_width,
            int64_t(cell / header.cells_per_row) * header.cell_height};
}

}  // namespace qln
