#pragma once
// Element access of variable spaces 0 to 9, kept inline so the expression
// evaluator reads and writes variables without a call. Each view reaches only
// the elements that lie wholly inside its bytes: past them reads give 0 and
// writes are dropped, whether the view is a default array, a raw data buffer
// mapped at an offset, or a view whose buffer has been freed.

#include <cstdint>
#include <cstring>

#include "tables/tables.h"

namespace qln {

inline constexpr int kViewCount = 10;

// Element width in bytes of spaces 0 to 9.
inline constexpr uint8_t kSpaceWidth[kViewCount] = {1, 2, 2, 4, 2, 1, 2, 2, 2, 4};
// Spaces 1, 6 and 8 read their words signed; 2, 4 and 7 unsigned.
inline constexpr bool kSpaceSigned[kViewCount] = {false, true, false, true, false,
                                                  false, true, false, true, true};

// Reads element index of view space (0-9); 0 past the view's reach.
inline int32_t view_get(const VarView& view, uint32_t space, uint32_t index) {
    if (index >= view.reach) return 0;
    switch (kSpaceWidth[space]) {
        case 1:
            return view.base[index];
        case 2: {
            uint16_t word;
            std::memcpy(&word, view.base + size_t(index) * 2, 2);  // mapped views may be unaligned
            return kSpaceSigned[space] ? int32_t(int16_t(word)) : int32_t(word);
        }
        default: {
            int32_t dword;
            std::memcpy(&dword, view.base + size_t(index) * 4, 4);
            return dword;
        }
    }
}

// Stores the low bits of value in element index of view space (0-9).
inline void view_set(VarView& view, uint32_t space, uint32_t index, int32_t value) {
    if (index >= view.reach) return;
    switch (kSpaceWidth[space]) {
        case 1:
            view.base[index] = uint8_t(value);
            return;
        case 2: {
            uint16_t word = uint16_t(value);
            std::memcpy(view.base + size_t(index) * 2, &word, 2);
            return;
        }
        default:
            std::memcpy(view.base + size_t(index) * 4, &value, 4);
            return;
    }
}

// Points view space back at its default array.
void view_restore(Tables& tables, int space);
// Cuts every view mapped onto data buffer buf_no off its bytes (called before
// the buffer's memory goes): the view keeps its mapped number, so a scenario
// still sees it as mapped, but reads 0 and ignores writes until it is mapped
// or restored again.
void views_detach(Tables& tables, int32_t buf_no);

}  // namespace qln
