#include "text/glyph_cache.h"

#include <algorithm>
#include <new>

namespace qln {

size_t GlyphCache::slot_of(uint32_t key) const {
    // Fibonacci hashing spreads the codes of one lead byte over the table.
    return (size_t(key) * 0x9E3779B1u) & (slots_.size() - 1);
}

const GlyphCache::Entry* GlyphCache::find(uint32_t key) const {
    if (slots_.empty()) return nullptr;
    const size_t mask = slots_.size() - 1;
    for (size_t s = slot_of(key);; s = (s + 1) & mask) {
        const uint32_t index = slots_[s];
        if (index == 0) return nullptr;
        if (entries_[index - 1].key == key) return &entries_[index - 1];
    }
}

uint8_t* GlyphCache::reserve(size_t n) {
    while (block_ < blocks_.size()) {
        Block& block = blocks_[block_];
        if (block.size - used_ >= n) {
            uint8_t* at = block.bytes.get() + used_;
            used_ += n;
            ink_bytes_ += n;
            return at;
        }
        ++block_;
        used_ = 0;
    }
    // Blocks double so a font that keeps drawing new characters allocates
    // rarely; a glyph larger than that gets a block of its own size.
    const size_t last = blocks_.empty() ? kFirstBlock / 2 : blocks_.back().size;
    const size_t size = std::max(n, std::max(kFirstBlock, std::min(last * 2, kBudgetBytes)));
    Block block;
    block.bytes.reset(new (std::nothrow) uint8_t[size]);
    if (!block.bytes) return nullptr;
    block.size = size;
    blocks_.push_back(std::move(block));
    block_ = blocks_.size() - 1;
    used_ = n;
    ink_bytes_ += n;
    return blocks_.back().bytes.get();
}

void GlyphCache::grow_index() {
    const size_t size = slots_.empty() ? 256 : slots_.size() * 2;
    slots_.assign(size, 0);
    const size_t mask = size - 1;
    for (size_t i = 0; i < entries_.size(); ++i) {
        size_t s = slot_of(entries_[i].key);
        while (slots_[s] != 0) s = (s + 1) & mask;
        slots_[s] = uint32_t(i + 1);
    }
}

void GlyphCache::insert(uint32_t key, int32_t cx, int32_t cy, const uint8_t* ink) {
    // Half full at most, so probes stay short.
    if ((entries_.size() + 1) * 2 > slots_.size()) {
        entries_.push_back(Entry{key, cx, cy, ink});
        grow_index();
        return;
    }
    entries_.push_back(Entry{key, cx, cy, ink});
    const size_t mask = slots_.size() - 1;
    size_t s = slot_of(key);
    while (slots_[s] != 0) s = (s + 1) & mask;
    slots_[s] = uint32_t(entries_.size());
}

bool GlyphCache::trim() {
    // One glyph alone may pass the budget (a giant font); it stays until a
    // second one comes.
    if (ink_bytes_ <= kBudgetBytes || entries_.size() < 2) return false;
    clear();
    // Blocks made for giant glyphs are let go; the others are filled again.
    std::erase_if(blocks_, [](const Block& block) { return block.size > kBudgetBytes; });
    return true;
}

void GlyphCache::clear() {
    entries_.clear();
    std::fill(slots_.begin(), slots_.end(), 0u);
    block_ = 0;
    used_ = 0;
    ink_bytes_ = 0;
}

}  // namespace qln
