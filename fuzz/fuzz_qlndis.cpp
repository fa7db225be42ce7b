// Arbitrary bytes into the disassembler, as they are and behind a scenario
// header. Its text must assemble back to exactly those bytes.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "asm/assembler.h"
#include "asm/disassembler.h"

namespace {

void check(const std::vector<uint8_t>& image) {
    const std::string text = qln::disassemble(image.data(), image.size());
    std::vector<uint8_t> again;
    qln::AsmError error;
    if (!qln::assemble(text, again, error) || again != image) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> image(data, data + size);
    check(image);
    // The same bytes as code after a header whose string table offset comes
    // from the first two of them (so it falls anywhere, also before the code).
    if (size >= 2) {
        image = {'Q', 'L', 'N', 5, 0, data[0], data[1]};
        image.insert(image.end(), data + 2, data + size);
        check(image);
        image[5] = static_cast<uint8_t>(image.size());
        image[6] = static_cast<uint8_t>(image.size() >> 8);
        check(image);
    }
    return 0;
}
