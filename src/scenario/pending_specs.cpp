// Placeholder so everything links while the command table is written. Deleted
// by the change that implements it.
#include "scenario/command_spec.h"

namespace qln {
static std::array<CommandSpec, 256> make_specs() {
    std::array<CommandSpec, 256> specs{};
    for (int i = 0; i < 256; ++i) specs[i] = CommandSpec{uint8_t(i), nullptr, ""};
    return specs;
}
const std::array<CommandSpec, 256> command_specs = make_specs();
ListKind signature_list_kind(const char*) { return ListKind::None; }
}  // namespace qln
