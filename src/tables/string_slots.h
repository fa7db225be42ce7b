#pragma once
// The string pool's one store operation, shared by the string registers, the
// system strings and string picking.

#include <cstddef>
#include <cstdint>

#include "tables/tables.h"

namespace qln {

// Stores length bytes of text (which need not be terminated and may lie in
// the pool itself) as the string of slot. False, with the slot unchanged,
// when the slot does not exist or the pool cannot grow.
bool string_slot_store(Tables& tables, uint32_t slot, const char* text, size_t length);

}  // namespace qln
