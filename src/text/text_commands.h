#pragma once
// The font and text commands: outline fonts by face name, picture fonts on
// picture buffers, and text drawn into a window or a picture buffer.

#include <cstdint>

namespace qln {

struct Engine;
struct Args;

int32_t cmd_font_make(Engine& engine, const Args& args);  // 0x32
int32_t cmd_font_pic(Engine& engine, const Args& args);   // 0x33
int32_t cmd_text_put(Engine& engine, const Args& args);   // 0x35

}  // namespace qln
