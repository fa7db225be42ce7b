// Variable spaces: the ten views, the result registers (space 10), the
// current scenario's locals (space 11), the immediate space (-1) and the
// mapping of views onto raw data buffers.
#include <algorithm>
#include <cstring>

#include "engine/engine.h"
#include "engine/scenario_state.h"
#include "tables/string_slots.h"
#include "tables/var_view.h"

namespace qln {

namespace {

constexpr int32_t kImmediateSpace = -1;
constexpr int32_t kResultSpace = 10;
constexpr int32_t kLocalSpace = 11;
constexpr int32_t kStringPickSpace = 12;

void view_point(VarView& view, int space, uint8_t* base, uint32_t bytes, uint32_t count,
                uint16_t mapped) {
    view.base = base;
    view.count = count;
    view.byte_limit = bytes;
    view.reach = std::min(count, bytes / kSpaceWidth[space]);
    view.mapped = mapped;
}

// Space 12: skips n NUL-terminated strings from the start of raw buffer
// buf_no and stores the string found there in string register 0. The walk
// never leaves the buffer: running out of bytes before the n-th string starts
// fails, and a last string without a terminator is taken up to the buffer's
// end.
bool pick_string(Engine& engine, int32_t buf_no, int32_t& offset_in_out) {
    const uint8_t* raw = buf_get_raw(engine, buf_no);
    if (!raw || offset_in_out < 0) return false;
    const uint32_t size = buf_size(engine, buf_no);
    uint32_t at = 0;
    for (int32_t skip = offset_in_out; skip > 0; --skip) {
        const void* nul = std::memchr(raw + at, 0, size - at);
        if (!nul) return false;
        at = uint32_t(static_cast<const uint8_t*>(nul) - raw) + 1;
    }
    if (at >= size && offset_in_out > 0) return false;  // no string starts there
    if (at > uint32_t(INT32_MAX)) return false;         // its offset could not be reported
    const void* nul = std::memchr(raw + at, 0, size - at);
    const uint32_t length = nul ? uint32_t(static_cast<const uint8_t*>(nul) - raw) - at : size - at;
    if (!string_slot_store(engine.tables, 0, reinterpret_cast<const char*>(raw + at), length))
        return false;
    offset_in_out = int32_t(at);
    return true;
}

}  // namespace

void view_restore(Tables& t, int space) {
    VarView& view = t.views[space];
    switch (space) {
        case 0:
        case 5:
            view_point(view, space, t.byte_array.data(), uint32_t(t.byte_array.size()),
                       uint32_t(t.byte_array.size()), 0xFFFF);
            break;
        case 1:
        case 6:
        case 8:
            view_point(view, space, reinterpret_cast<uint8_t*>(t.word_array1.data()),
                       uint32_t(t.word_array1.size() * 2), uint32_t(t.word_array1.size()), 0xFFFF);
            break;
        case 2:
        case 4:
        case 7:
            view_point(view, space, reinterpret_cast<uint8_t*>(t.word_array2.data()),
                       uint32_t(t.word_array2.size() * 2), uint32_t(t.word_array2.size()), 0xFFFF);
            break;
        default:
            view_point(view, space, reinterpret_cast<uint8_t*>(t.dword_array.data()),
                       uint32_t(t.dword_array.size() * 4), uint32_t(t.dword_array.size()), 0xFFFF);
            break;
    }
}

void views_detach(Tables& t, int32_t buf_no) {
    for (int space = 0; space < kViewCount; ++space) {
        VarView& view = t.views[space];
        if (view.mapped != buf_no) continue;
        view.base = nullptr;
        view.byte_limit = 0;
        view.reach = 0;
    }
}

int32_t var_get(Engine& engine, int32_t space, int32_t index) {
    // The immediate space comes first: its "index" is the value, negative or not.
    if (space == kImmediateSpace) return index;
    if (index < 0) return 0;
    Tables& t = engine.tables;
    if (uint32_t(space) < kViewCount)
        return view_get(t.views[space], uint32_t(space), uint32_t(index));
    if (space == kResultSpace) return result_get(engine, uint32_t(index));
    if (space == kLocalSpace) {
        const Scenario* current = engine.interp.current;
        if (!current || !current->locals || uint32_t(index) >= current->local_count) return 0;
        return current->locals[index];
    }
    return 0;
}

void var_set(Engine& engine, int32_t space, int32_t index, int32_t value) {
    if (index < 0) return;
    Tables& t = engine.tables;
    if (uint32_t(space) < kViewCount) {
        view_set(t.views[space], uint32_t(space), uint32_t(index), value);
        return;
    }
    if (space == kLocalSpace) {
        Scenario* current = engine.interp.current;
        if (!current || !current->locals || uint32_t(index) >= current->local_count) return;
        current->locals[index] = value;
    }
    // The result registers are read-only to scenarios; other spaces name nothing.
}

bool var_map(Engine& engine, int32_t buf_no, int32_t space, int32_t& offset_in_out) {
    Tables& t = engine.tables;
    if (space == kResultSpace || space == kLocalSpace) return true;  // never mapped
    if (space == kStringPickSpace) return pick_string(engine, buf_no, offset_in_out);
    if (uint32_t(space) >= kViewCount) return false;
    if (buf_no < 0) {
        view_restore(t, space);
        return true;
    }
    uint8_t* raw = buf_get_raw(engine, buf_no);
    if (!raw || offset_in_out < 0) return false;
    // The element count is the whole buffer's, as scenarios expect, but only
    // the elements between the offset and the buffer's end can be reached.
    const uint32_t size = buf_size(engine, buf_no);
    const uint32_t offset = std::min(uint32_t(offset_in_out), size);
    view_point(t.views[space], space, raw + offset, size - offset, size / kSpaceWidth[space],
               uint16_t(buf_no));
    return true;
}

void result_set(Engine& engine, uint32_t n, int32_t value) {
    Tables& t = engine.tables;
    if (n < t.result_count) t.results[n] = value;
}

int32_t result_get(Engine& engine, uint32_t n) {
    const Tables& t = engine.tables;
    return n < t.result_count ? t.results[n] : 0;
}

void results_use_callback_bank(Engine& engine, bool callback) {
    Tables& t = engine.tables;
    if (!t.ready) return;
    t.results = callback ? t.results_callback.data() : t.results_normal.data();
}

}  // namespace qln
