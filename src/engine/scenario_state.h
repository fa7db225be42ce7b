#pragma once
// The scenario object as a record: the data buffers and the chain of active
// scenarios own such objects, and the variables read its locals.

#include <cstdint>
#include <memory>

#include "engine/settings.h"

namespace qln {

// A loaded scenario. The image copy is followed by zero bytes, so a string
// that starts inside the image always ends inside the allocation.
struct Scenario {
    std::unique_ptr<uint8_t[]> code;         // image copy, size + kCodePadding bytes
    uint32_t size = 0;                       // image length
    uint16_t entry_offset = 0;               // H + 2
    uint16_t pc = 0;                         // next byte to execute
    uint32_t string_table = 0;               // T: offset of the string table
    std::unique_ptr<uint32_t[]> call_stack;  // capacity = call_capacity
    uint16_t call_capacity = 0;
    uint16_t call_depth = 0;
    std::unique_ptr<int32_t[]> locals;  // variable space 11, zeroed at creation
    uint16_t local_count = 0;
    bool in_use = false;       // on the chain of active scenarios
    bool free_on_end = false;  // released when it ends
    char file_name[kPathMax] = {};
    uint16_t entry_number = 0;
    Scenario* previous = nullptr;  // becomes current when this one ends

    static constexpr uint32_t kCodePadding = 8;
};

}  // namespace qln
