#include "scenario/scenario.h"

#include <cstring>
#include <new>
#include <vector>

#include "base/byte_order.h"
#include "base/limits.h"
#include "engine/engine.h"
#include "files/file_read.h"

namespace qln {

static bool has_magic(const uint8_t* image, uint32_t length) {
    return length >= 3 && image[0] == 'Q' && image[1] == 'L' && image[2] == 'N';
}

Scenario* scn_create(Engine& engine, const uint8_t* image, uint32_t length, const char* name,
                     uint16_t entry) {
    if (!image || !has_magic(image, length) || length < 5) return nullptr;
    if (length > kScenarioImageBytesMax) return nullptr;
    const uint16_t header = read_u16(image + 3);
    // T is read at H, so the word at H must lie inside the image.
    if (uint32_t(header) + 2 > length) return nullptr;
    const uint16_t table = read_u16(image + header);
    if (table > length) return nullptr;

    auto* scenario = new (std::nothrow) Scenario;
    if (!scenario) return nullptr;
    const uint16_t capacity = engine.settings.max_call_depth;
    const uint16_t locals = engine.settings.local_variable_count;
    scenario->code.reset(new (std::nothrow) uint8_t[length + Scenario::kCodePadding]());
    scenario->call_stack.reset(new (std::nothrow) uint32_t[capacity ? capacity : 1]());
    scenario->locals.reset(new (std::nothrow) int32_t[locals ? locals : 1]());
    if (!scenario->code || !scenario->call_stack || !scenario->locals) {
        delete scenario;
        return nullptr;
    }
    std::memcpy(scenario->code.get(), image, length);
    scenario->size = length;
    scenario->entry_offset = static_cast<uint16_t>(header + 2);
    scenario->string_table = table;
    scenario->call_capacity = capacity;
    scenario->local_count = locals;
    settings_copy_text(scenario->file_name, kPathMax, name);
    scenario->entry_number = entry;
    return scenario;
}

Scenario* scn_load(Engine& engine, const char* name, uint16_t entry, uint16_t directory) {
    FileRef ref;
    ref.name = name;
    ref.entry = entry;
    ref.directory = directory;
    ref.compressed = true;
    std::vector<uint8_t> bytes;
    if (!file_read(engine, ref, bytes)) return nullptr;
    return scn_create(engine, bytes.data(), static_cast<uint32_t>(bytes.size()), name, entry);
}

void scn_release(Scenario* scenario) {
    delete scenario;
}

}  // namespace qln
