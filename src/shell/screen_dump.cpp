#include "shell/screen_dump.h"

#include "engine/engine.h"
#include "graphics/bmp_write.h"
#include "platform/host_files.h"

namespace qln {

bool screen_dump_write(Engine& engine, const std::string& host_path) {
    const Picture* screen = engine.screen.screen;
    if (!screen) return false;
    BmpFile file;
    return bmp_encode_24(*screen, file) &&
           host_file_write_replace(host_path, file.bytes.get(), file.size);
}

}  // namespace qln
