// Arbitrary text into the assembler. Whatever assembles must disassemble into
// text that assembles to the same bytes.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "asm/assembler.h"
#include "asm/disassembler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view source(reinterpret_cast<const char*>(data), size);
    std::vector<uint8_t> image;
    qln::AsmError error;
    if (!qln::assemble(source, image, error)) return 0;
    const std::string text = qln::disassemble(image.data(), image.size());
    std::vector<uint8_t> again;
    if (!qln::assemble(text, again, error) || again != image) std::abort();
    return 0;
}
