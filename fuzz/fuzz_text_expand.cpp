// Text expansion over hostile text, variables and string registers.
//
// Input: TEXT 0x00 SETTINGS 0x00 STRING 0x00 STRING ...
//   SETTINGS is groups of 5 bytes: space (mod 11; 10 = result register),
//   index, value (3 bytes, sign-extended). The strings go into registers 0, 1,
//   2, ... The first byte of TEXT also picks the destination size: even bytes
//   the full 8,192, odd ones a small size that forces cuts.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "engine/engine.h"
#include "tables/tables.h"
#include "tables/text_expand.h"

namespace {

const uint8_t* next_part(const uint8_t*& p, const uint8_t* end, size_t& length) {
    const uint8_t* start = p;
    const void* nul = std::memchr(p, 0, size_t(end - p));
    const uint8_t* stop = nul ? static_cast<const uint8_t*>(nul) : end;
    length = size_t(stop - start);
    p = nul ? stop + 1 : end;
    return start;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // One engine for the whole run (building the tables for every input
    // would dominate); every value the expander reads is reset per input.
    static qln::Engine engine;
    static const bool ready = qln::tables_init(engine);
    if (!ready) return 0;
    qln::vars_clear(engine);
    for (uint32_t n = 0; n < engine.tables.result_count; ++n) qln::result_set(engine, n, 0);

    const uint8_t* p = data;
    const uint8_t* end = data + size;
    size_t text_length = 0;
    const uint8_t* text_bytes = next_part(p, end, text_length);
    // The text in a block of its own size, so any read past its NUL is seen.
    std::unique_ptr<char[]> text(new char[text_length + 1]);
    std::memcpy(text.get(), text_bytes, text_length);
    text[text_length] = 0;

    size_t settings_length = 0;
    const uint8_t* settings = next_part(p, end, settings_length);
    for (size_t i = 0; i + 5 <= settings_length; i += 5) {
        const int32_t space = settings[i] % 11;
        const int32_t index = settings[i + 1];
        int32_t value = int32_t(uint32_t(settings[i + 2]) | uint32_t(settings[i + 3]) << 8 |
                                uint32_t(settings[i + 4]) << 16);
        value = (value ^ 0x800000) - 0x800000;
        if (space == 10)
            qln::result_set(engine, uint32_t(index), value);
        else
            qln::var_set(engine, space, index, value);
    }
    for (int32_t n = 0; p < end && n < 64; ++n) {
        size_t length = 0;
        const uint8_t* s = next_part(p, end, length);
        std::unique_ptr<char[]> copy(new char[length + 1]);
        std::memcpy(copy.get(), s, length);
        copy[length] = 0;
        qln::str_set(engine, n, copy.get());
    }

    const size_t out_size =
        (text_length && (text_bytes[0] & 1)) ? 1 + text_bytes[0] % 64 : qln::kExpandBufferSize;
    std::unique_ptr<char[]> out(new char[out_size]);
    const size_t n = qln::text_expand(engine, text.get(), out.get(), out_size);
    if (n >= out_size || std::strlen(out.get()) != n) std::abort();
    return 0;
}
