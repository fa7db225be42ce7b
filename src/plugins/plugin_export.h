#pragma once
// Finding a plug-in's export by number.

#include <cstdint>

#include "quillon/plugin.h"

namespace qln {

struct Plugin;

// Export `ordinal` (its low 16 bits) of the library, the C symbol
// qln_export_N with N in decimal; nullptr when there is none or the number
// is 0.
qln_export_fn plugin_export(const Plugin& plugin, int32_t ordinal);

}  // namespace qln
