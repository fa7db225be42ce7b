#pragma once
// The argument array of plugin_call, built from its typed operand list.

#include <cstdint>
#include <span>

#include "engine/command_args.h"

namespace qln {

struct PluginArgs {
    static constexpr int32_t kMax = 256;
    intptr_t values[kMax];
    int32_t count = 0;
};

// Fills out from the items of a typed list, in order: a number (type 0)
// sign-extended, a byte (type 1) zero-extended, a text (type 2) as the
// address of its characters ("" for a string register that does not exist),
// any other type 0. False, with out.count 0, when there are more than
// PluginArgs::kMax items: an export must never see a cut list.
bool plugin_args_build(std::span<const ListItem> items, PluginArgs& out);

}  // namespace qln
