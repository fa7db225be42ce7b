#pragma once
// Lookups shared by the picture commands: the picture a window or picture
// buffer operand names, with the error each kind reports, and picture files
// read through a file reference.

#include <cstdint>
#include <memory>

#include "graphics/picture.h"

namespace qln {

struct Engine;
struct Window;

struct PictureDeleter {
    void operator()(Picture* p) const { picture_free(p); }
};
using PicturePtr = std::unique_ptr<Picture, PictureDeleter>;

// The picture of an open window or of a picture buffer; nullptr after the
// error (-106 "win_no = %d" or -112 "buf_no = %d") was reported into code.
Picture* target_picture(Engine& engine, int32_t number, bool is_window, int32_t& code);
// An open window, or nullptr with -106 "win_no = %d" in code.
Window* target_window(Engine& engine, int32_t win_no, int32_t& code);
// A picture buffer's picture, or nullptr with -112 "buf_no = %d" in code.
Picture* target_buffer(Engine& engine, int32_t buf_no, int32_t& code);

// Reads (not compressed) and decodes a picture file; nullptr after error
// -105 (unreadable) or -112 (no picture), both "File:%s(%d) Dir:%d".
PicturePtr picture_file_load(Engine& engine, const char* name, int32_t entry, int32_t dir,
                             int32_t& code);

}  // namespace qln
