#include "commands/command_table.h"

#include <string>

#include "engine/engine.h"
#include "files/file_paths.h"
#include "graphics/bmp_write.h"
#include "platform/host_files.h"
#include "scenario/interp.h"
#include "tables/tables.h"

namespace qln {

int32_t cmd_pic_save_bmp(Engine& engine, const Args& args) {
    const pic_save_bmp_operands op(args);
    const char* name = op.name();
    const int32_t buf_no = op.buf_no();
    const int32_t mode = op.mode();
    const Picture* picture = buf_get_picture(engine, buf_no);
    // The command has always named this buffer "buff_no" and reported -106.
    if (!picture) return err_report(engine, -106, "buff_no = %d", buf_no);

    BmpFile file;
    const bool encoded = mode == 0 ? bmp_encode_24(*picture, file)
                                   : bmp_encode_8(*picture, engine.screen.palette, file);
    std::string host;
    // The file is written beside and renamed over the old one, so a failure
    // never leaves half a file; it goes to the save folder, if there is one.
    const bool written = encoded && file_host_path(engine, name, FileUse::Write, host) &&
                         host_file_write_replace(host, file.bytes.get(), file.size);
    result_set(engine, 1, written ? 0 : 1);
    return 0;
}

}  // namespace qln
