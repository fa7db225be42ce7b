// The string pool: string registers and system strings as offsets into one
// block. New text is appended; the old text of a slot stays behind as garbage
// until the pool is full, when every live string is copied into a larger
// block in slot order.
#include <cstring>
#include <memory>
#include <new>

#include "base/limits.h"
#include "engine/engine.h"
#include "tables/string_slots.h"

namespace qln {

namespace {

// Room a compaction adds beyond the new string and its terminator.
constexpr uint64_t kGrowthSlack = 16;

void append(StringPool& pool, uint32_t& slot_offset, const char* text, size_t length) {
    std::memmove(pool.base.get() + pool.end, text, length);
    pool.base[pool.end + length] = '\0';
    slot_offset = pool.end;
    pool.end += uint32_t(length + 1);
}

// Copies every live string into a block of capacity + length + 1 + 16 bytes,
// string registers first, then system strings. The new text is the caller's
// and may point into the old block, so it is set aside before that goes.
// The pool never grows past kStringPoolBytesMax: near it, the block is only
// as large as the live strings and the new one need, and a string that does
// not fit is refused (the register keeps its text).
bool compact(Tables& t, const char*& text, size_t length, std::unique_ptr<char[]>& aside) {
    uint64_t capacity = uint64_t(t.pool.capacity) + length + 1 + kGrowthSlack;
    if (capacity > kStringPoolBytesMax) {
        uint64_t live = 1 + length + 1;
        for (uint32_t offset : t.string_slots)
            if (offset != 0) live += std::strlen(t.pool.base.get() + offset) + 1;
        if (live > kStringPoolBytesMax) return false;
        capacity = kStringPoolBytesMax;
    }
    aside.reset(new (std::nothrow) char[length + 1]);
    std::unique_ptr<char[]> block(new (std::nothrow) char[capacity]);
    if (!aside || !block) return false;
    std::memcpy(aside.get(), text, length);
    text = aside.get();

    block[0] = '\0';
    uint32_t end = 1;
    for (uint32_t& offset : t.string_slots) {
        if (offset == 0) continue;
        // Every stored string is terminated inside the old block.
        const char* old = t.pool.base.get() + offset;
        const size_t bytes = std::strlen(old) + 1;
        std::memcpy(block.get() + end, old, bytes);
        offset = end;
        end += uint32_t(bytes);
    }
    t.pool.base = std::move(block);
    t.pool.capacity = uint32_t(capacity);
    t.pool.end = end;
    return true;
}

const char* slot_text(const Tables& t, uint32_t slot) {
    const uint32_t offset = t.string_slots[slot];
    return offset ? t.pool.base.get() + offset : "";
}

}  // namespace

bool string_slot_store(Tables& t, uint32_t slot, const char* text, size_t length) {
    if (slot >= t.string_slots.size() || !t.pool.base) return false;
    std::unique_ptr<char[]> aside;
    if (uint64_t(length) + 1 > uint64_t(t.pool.capacity) - t.pool.end &&
        !compact(t, text, length, aside))
        return false;
    append(t.pool, t.string_slots[slot], text, length);
    return true;
}

const char* str_get(Engine& engine, int32_t n) {
    const Tables& t = engine.tables;
    if (n < 0 || uint32_t(n) >= t.string_register_count) return nullptr;
    return slot_text(t, uint32_t(n));
}

void str_set(Engine& engine, int32_t n, const char* text) {
    Tables& t = engine.tables;
    if (n < 0 || uint32_t(n) >= t.string_register_count) return;
    if (!text) text = "";
    (void)string_slot_store(t, uint32_t(n), text, std::strlen(text));
}

const char* sysstr_get(Engine& engine, int32_t n) {
    const Tables& t = engine.tables;
    if (n < 0 || uint32_t(n) >= t.system_string_count) return nullptr;
    return slot_text(t, t.string_register_count + uint32_t(n));
}

void sysstr_set(Engine& engine, int32_t n, const char* text) {
    Tables& t = engine.tables;
    if (n < 0 || uint32_t(n) >= t.system_string_count) return;
    if (!text) text = "";
    (void)string_slot_store(t, t.string_register_count + uint32_t(n), text, std::strlen(text));
}

}  // namespace qln
