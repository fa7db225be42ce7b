#include "screen/clipboard.h"

#include <vector>

#include "engine/engine.h"
#include "graphics/draw.h"
#include "graphics/picture.h"
#include "platform/platform.h"
#include "resources/embedded_picture.h"

namespace qln {

bool clipboard_copy_embedded_picture(Engine& engine) {
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (!resource_find("QCG", 103, data, size)) return false;
    Picture* picture = picture_decode(data, size);
    if (!picture) return false;
    const std::vector<uint8_t> dib = picture_to_packed_dib(*picture);
    picture_free(picture);
    if (dib.empty()) return false;
    engine.platform.display->clipboard_set_dib(dib.data(), dib.size());
    return true;
}

}  // namespace qln
