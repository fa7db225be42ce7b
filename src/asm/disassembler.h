#pragma once
// The scenario disassembler: prints any image as scenario assembly text
// (docs/scenario-assembly.md) that assembles back to the same bytes, byte for
// byte. Whatever cannot be shown as commands, settings or strings is shown as
// raw bytes.

#include <cstddef>
#include <cstdint>
#include <string>

namespace qln {

std::string disassemble(const uint8_t* image, size_t len);

}  // namespace qln
