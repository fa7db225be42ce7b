// The data-buffer table: typed slots that own raw bytes, pictures, scenario
// objects, region lists and plug-ins.
#include <cstring>
#include <new>
#include <vector>

#include "base/limits.h"
#include "engine/engine.h"
#include "engine/scenario_state.h"
#include "engine/window_state.h"
#include "graphics/picture.h"
#include "tables/plugin.h"
#include "tables/var_view.h"

namespace qln {

namespace {

// Region lists are counted in 16 bits like every other table of the engine.
constexpr uint32_t kMaxRegions = 0xFFFF;

DataBuffer* typed(Engine& engine, int32_t buf_no, BufType type) {
    DataBuffer* entry = buf_entry(engine, buf_no);
    return entry && entry->type == type ? entry : nullptr;
}

bool store_raw_copy(DataBuffer& entry, const uint8_t* bytes, size_t size) {
    if (size > UINT32_MAX) return false;
    std::unique_ptr<uint8_t[]> raw(new (std::nothrow) uint8_t[size]);
    if (!raw) return false;
    if (size) std::memcpy(raw.get(), bytes, size);
    entry.raw = std::move(raw);
    entry.type = BufType::Raw;
    entry.size = uint32_t(size);
    return true;
}

void store_picture(DataBuffer& entry, Picture* picture) {
    entry.picture = picture;
    entry.type = BufType::Picture;
    entry.size = 1;
}

Picture* copy_picture(const Picture& src) {
    Picture* copy = picture_create(src.width, src.height);
    if (!copy) return nullptr;
    std::memcpy(copy->pixels.get(), src.pixels.get(), src.pixel_bytes());
    if (src.alpha) {
        copy->alpha.reset(new (std::nothrow) uint8_t[src.alpha_bytes() + 1]);
        if (!copy->alpha) {
            picture_free(copy);
            return nullptr;
        }
        std::memcpy(copy->alpha.get(), src.alpha.get(), src.alpha_bytes());
    }
    return copy;
}

uint64_t picture_held(const Picture* p) {
    return p ? p->pixel_bytes() + (p->alpha ? p->alpha_bytes() : 0) : 0;
}

}  // namespace

uint64_t held_bytes(const Engine& engine) {
    uint64_t held = 0;
    for (const DataBuffer& b : engine.tables.buffers) {
        if (b.type == BufType::Raw) held += b.size;
        if (b.type == BufType::Picture) held += picture_held(b.picture);
        if (b.type == BufType::Scenario && b.scenario) held += b.scenario->size;
    }
    for (const Window& w : engine.windows.records) held += picture_held(w.picture);
    return held;
}

bool held_room(const Engine& engine, uint64_t more) {
    return more <= kHeldBytesMax && held_bytes(engine) <= kHeldBytesMax - more;
}

DataBuffer* buf_entry(Engine& engine, int32_t buf_no) {
    std::vector<DataBuffer>& buffers = engine.tables.buffers;
    if (buf_no < 0 || size_t(buf_no) >= buffers.size()) return nullptr;
    return &buffers[size_t(buf_no)];
}

Scenario* buf_get_scenario(Engine& engine, int32_t buf_no) {
    DataBuffer* entry = typed(engine, buf_no, BufType::Scenario);
    return entry ? entry->scenario : nullptr;
}

uint8_t* buf_get_raw(Engine& engine, int32_t buf_no) {
    DataBuffer* entry = typed(engine, buf_no, BufType::Raw);
    return entry ? entry->raw.get() : nullptr;
}

Picture* buf_get_picture(Engine& engine, int32_t buf_no) {
    DataBuffer* entry = typed(engine, buf_no, BufType::Picture);
    return entry ? entry->picture : nullptr;
}

RegionList* buf_get_regions(Engine& engine, int32_t buf_no) {
    DataBuffer* entry = typed(engine, buf_no, BufType::Regions);
    return entry ? entry->regions.get() : nullptr;
}

Plugin* buf_get_plugin(Engine& engine, int32_t buf_no) {
    DataBuffer* entry = typed(engine, buf_no, BufType::Plugin);
    return entry ? entry->plugin : nullptr;
}

uint32_t buf_size(Engine& engine, int32_t buf_no) {
    const DataBuffer* entry = buf_entry(engine, buf_no);
    return entry ? entry->size : 0;
}

bool buf_free(Engine& engine, int32_t buf_no) {
    DataBuffer* entry = buf_entry(engine, buf_no);
    if (!entry) return false;
    // Views mapped onto the slot must not outlive its bytes.
    views_detach(engine.tables, buf_no);
    switch (entry->type) {
        case BufType::Scenario:
            // A running or chained scenario belongs to the chain; the slot only lets go
            // of it, and the chain releases it when it ends instead of keeping it forever.
            if (entry->scenario && entry->scenario->in_use) {
                entry->scenario->free_on_end = true;
            } else if (entry->scenario) {
                delete entry->scenario;
            }
            entry->scenario = nullptr;
            break;
        case BufType::Raw:
            entry->raw.reset();
            break;
        case BufType::Picture:
            picture_free(entry->picture);
            entry->picture = nullptr;
            break;
        case BufType::Regions:
            entry->regions.reset();
            break;
        case BufType::Plugin:
            plugin_release(entry->plugin);
            entry->plugin = nullptr;
            break;
        case BufType::Empty:
            break;
    }
    // The size word stays as it was: scenarios can still read the last size.
    entry->type = BufType::Empty;
    return true;
}

bool buf_new_raw(Engine& engine, int32_t buf_no, uint32_t size) {
    DataBuffer* entry = buf_entry(engine, buf_no);
    if (!entry) return false;
    (void)buf_free(engine, buf_no);
    if (size > kDataBufferBytesMax || !held_room(engine, size)) return false;
    std::unique_ptr<uint8_t[]> raw(new (std::nothrow) uint8_t[size]());
    if (!raw) return false;
    entry->raw = std::move(raw);
    entry->type = BufType::Raw;
    entry->size = size;
    return true;
}

Picture* buf_new_picture(Engine& engine, int32_t buf_no, uint16_t width, uint16_t height) {
    DataBuffer* entry = buf_entry(engine, buf_no);
    if (!entry) return nullptr;
    (void)buf_free(engine, buf_no);
    if (!held_room(engine, uint64_t(width) * height * 3)) return nullptr;
    Picture* picture = picture_create(width, height);
    if (!picture) return nullptr;
    store_picture(*entry, picture);
    return picture;
}

bool buf_new_regions(Engine& engine, int32_t buf_no, uint32_t n) {
    DataBuffer* entry = buf_entry(engine, buf_no);
    if (!entry) return false;
    (void)buf_free(engine, buf_no);
    if (n > kMaxRegions) return false;
    std::unique_ptr<RegionList> list(new (std::nothrow) RegionList);
    if (!list) return false;
    list->entries.resize(n);
    for (uint32_t i = 0; i < n; ++i) list->entries[i].id = int32_t(i + 1);
    entry->regions = std::move(list);
    entry->type = BufType::Regions;
    entry->size = 1;
    return true;
}

bool buf_store_picture(Engine& engine, int32_t buf_no, Picture* picture) {
    DataBuffer* entry = buf_entry(engine, buf_no);
    if (!entry || !picture) {
        picture_free(picture);
        return false;
    }
    (void)buf_free(engine, buf_no);
    if (!held_room(engine, picture_held(picture))) {
        picture_free(picture);
        return false;
    }
    store_picture(*entry, picture);
    return true;
}

bool buf_store_scenario(Engine& engine, int32_t buf_no, Scenario* scenario) {
    DataBuffer* entry = buf_entry(engine, buf_no);
    if (!entry || !scenario) {
        delete scenario;
        return false;
    }
    (void)buf_free(engine, buf_no);
    if (!held_room(engine, scenario->size)) {
        delete scenario;
        return false;
    }
    entry->scenario = scenario;
    entry->type = BufType::Scenario;
    entry->size = 1;
    return true;
}

bool buf_store_bytes(Engine& engine, int32_t buf_no, const uint8_t* bytes, size_t size) {
    DataBuffer* entry = buf_entry(engine, buf_no);
    if (!entry) return false;
    (void)buf_free(engine, buf_no);
    return held_room(engine, size) && store_raw_copy(*entry, bytes, size);
}

bool buf_dup(Engine& engine, int32_t src, int32_t dst) {
    DataBuffer* from = buf_entry(engine, src);
    DataBuffer* to = buf_entry(engine, dst);
    if (!from || !to) return false;
    // dst goes first, so a slot duplicated onto itself ends up empty.
    (void)buf_free(engine, dst);
    if (from->type == BufType::Raw)
        return held_room(engine, from->size) && store_raw_copy(*to, from->raw.get(), from->size);
    if (from->type == BufType::Picture) {
        if (!held_room(engine, picture_held(from->picture))) return false;
        Picture* copy = copy_picture(*from->picture);
        if (!copy) return false;
        store_picture(*to, copy);
        return true;
    }
    return true;  // other kinds are not copied
}

bool buf_copy_bytes(Engine& engine, int32_t src, int32_t dst, int32_t dst_offset,
                    int32_t src_offset, int32_t length) {
    DataBuffer* from = typed(engine, src, BufType::Raw);
    DataBuffer* to = typed(engine, dst, BufType::Raw);
    if (!from || !to) return false;
    if (dst_offset < 0 || src_offset < 0 || length < 0) return false;
    if (int64_t(src_offset) + length > int64_t(from->size)) return false;
    if (int64_t(dst_offset) + length > int64_t(to->size)) return false;
    if (length)
        std::memmove(to->raw.get() + dst_offset, from->raw.get() + src_offset, size_t(length));
    return true;
}

}  // namespace qln
