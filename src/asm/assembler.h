#pragma once
// The scenario assembler: scenario assembly text (docs/scenario-assembly.md)
// in, a scenario image out. Tests use it to build scenarios in-process.

#include <cstdint>
#include <string_view>
#include <vector>

#include "asm/asm_error.h"

namespace qln {

// Assembles source into a raw scenario image (what the loader holds after
// unpacking). On failure image is left empty and error says where and why.
[[nodiscard]] bool assemble(std::string_view source, std::vector<uint8_t>& image, AsmError& error);

// Assembles source into a scenario file in the packed layout (method A),
// which is what the engine loads.
[[nodiscard]] bool assemble_packed(std::string_view source, std::vector<uint8_t>& file,
                                   AsmError& error);

}  // namespace qln
