#include "windows/picture_targets.h"

#include <vector>

#include "engine/engine.h"
#include "files/file_read.h"
#include "scenario/interp.h"
#include "tables/tables.h"
#include "windows/window.h"

namespace qln {

Window* target_window(Engine& engine, int32_t win_no, int32_t& code) {
    Window* window = win_get(engine, win_no, true);
    if (!window || !window->picture) {
        code = err_report(engine, -106, "win_no = %d", win_no);
        return nullptr;
    }
    return window;
}

Picture* target_buffer(Engine& engine, int32_t buf_no, int32_t& code) {
    Picture* picture = buf_get_picture(engine, buf_no);
    if (!picture) code = err_report(engine, -112, "buf_no = %d", buf_no);
    return picture;
}

Picture* target_picture(Engine& engine, int32_t number, bool is_window, int32_t& code) {
    if (!is_window) return target_buffer(engine, number, code);
    Window* window = target_window(engine, number, code);
    return window ? window->picture : nullptr;
}

PicturePtr picture_file_load(Engine& engine, const char* name, int32_t entry, int32_t dir,
                             int32_t& code) {
    const FileRef ref = file_ref_of(name, entry, dir, false);
    std::vector<uint8_t> bytes;
    if (!file_read(engine, ref, bytes)) {
        code = err_report(engine, -105, "File:%s(%d) Dir:%d", name, entry, dir);
        return nullptr;
    }
    PicturePtr picture(picture_decode(bytes.data(), bytes.size()));
    if (!picture) code = err_report(engine, -112, "File:%s(%d) Dir:%d", name, entry, dir);
    return picture;
}

}  // namespace qln
