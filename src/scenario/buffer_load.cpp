#include "scenario/buffer_load.h"

#include <vector>

#include "engine/engine.h"
#include "files/file_read.h"
#include "graphics/picture.h"
#include "scenario/scenario.h"
#include "tables/tables.h"

namespace qln {

bool buf_load(Engine& engine, int32_t buf_no, const FileRef& ref) {
    if (!buf_entry(engine, buf_no)) return false;
    std::vector<uint8_t> bytes;
    if (!file_read(engine, ref, bytes)) return false;  // the slot keeps what it had
    // A picture first, then a scenario, else the bytes as they are.
    if (Picture* picture = picture_decode(bytes.data(), bytes.size()))
        return buf_store_picture(engine, buf_no, picture);
    if (bytes.size() <= UINT32_MAX) {
        if (Scenario* scenario =
                scn_create(engine, bytes.data(), uint32_t(bytes.size()), ref.name, ref.entry))
            return buf_store_scenario(engine, buf_no, scenario);
    }
    return buf_store_bytes(engine, buf_no, bytes.data(), bytes.size());
}

}  // namespace qln
