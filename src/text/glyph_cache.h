#pragma once
// The glyphs of one font, each character in each style rasterised once.
// Ink lives in blocks that never move, so a glyph's bytes stay where they
// are until the cache is emptied; the index is open addressing on a key of
// style and code. Once a glyph is cached, looking it up allocates nothing.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace qln {

class GlyphCache {
  public:
    struct Entry {
        uint32_t key = 0;
        int32_t cx = 0;
        int32_t cy = 0;
        const uint8_t* ink = nullptr;  // cx * cy bytes
    };

    // Past this many ink bytes the cache starts over at the next trim().
    static constexpr size_t kBudgetBytes = size_t(4) << 20;

    static uint32_t key_of(uint16_t code, uint16_t style) { return uint32_t(style) << 16 | code; }

    const Entry* find(uint32_t key) const;
    // Room for n ink bytes that stays put until the cache is emptied; nullptr
    // when the memory cannot be had. n = 0 gives a non-null pointer.
    uint8_t* reserve(size_t n);
    // Records a glyph whose ink came from reserve(). Entry pointers taken
    // before an insert may move; ink pointers do not.
    void insert(uint32_t key, int32_t cx, int32_t cy, const uint8_t* ink);

    // Empties the cache when its ink has passed the budget; every earlier
    // ink pointer is then stale. The font calls it only before it looks up
    // a glyph, never between handing one out and its use. True when emptied.
    bool trim();
    void clear();

    size_t ink_bytes() const { return ink_bytes_; }
    size_t glyph_count() const { return entries_.size(); }

  private:
    struct Block {
        std::unique_ptr<uint8_t[]> bytes;
        size_t size = 0;
    };
    static constexpr size_t kFirstBlock = size_t(16) << 10;

    size_t slot_of(uint32_t key) const;
    void grow_index();

    std::vector<Block> blocks_;
    size_t block_ = 0;  // the block being filled
    size_t used_ = 0;   // bytes used in it
    size_t ink_bytes_ = 0;
    std::vector<Entry> entries_;
    std::vector<uint32_t> slots_;  // entry index + 1; 0 = free
};

}  // namespace qln
