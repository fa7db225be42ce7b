#pragma once
// The picture-file command: a picture buffer saved as a Windows bitmap.

#include <cstdint>

namespace qln {

struct Engine;
struct Args;

// 0x1E pic_save_bmp: name (the host path mapping, no directory number),
// buf_no, mode (0: 24-bit; other: 8-bit with the display palette). R1 = 0
// when written, 1 when the file could not be written.
int32_t cmd_pic_save_bmp(Engine& engine, const Args& args);

}  // namespace qln
