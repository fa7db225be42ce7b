// Arbitrary token bytes against arbitrary variable state. The first bytes of
// the input seed a few variables, a raw buffer and a view mapped onto it at
// any offset (possibly freed again); the rest is evaluated as expressions one
// after another until the bytes are used up.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/engine.h"
#include "scenario/expr.h"
#include "scenario/scenario.h"
#include "tables/tables.h"

namespace {

constexpr size_t kHeader = 16;

uint32_t read_u32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kHeader) return 0;
    qln::Engine engine;
    // Small tables so out-of-range indexes are common.
    engine.settings.byte_array_size = data[0];
    engine.settings.word_array1_size = data[1];
    engine.settings.dword_array_size = data[2] & 0x3F;
    engine.settings.result_register_count = data[3] & 0x0F;
    engine.settings.buffer_count = 4;
    if (!qln::tables_init(engine)) return 0;

    const uint32_t raw_size = data[4];
    if (!qln::buf_new_raw(engine, 1, raw_size)) return 0;
    std::memcpy(qln::buf_get_raw(engine, 1), data + kHeader,
                std::min<size_t>(raw_size, size - kHeader));
    int32_t offset = int32_t(data[5]) - 16;
    (void)qln::var_map(engine, 1, data[6] % 13, offset);
    if (data[7] & 1) (void)qln::buf_free(engine, 1);
    if (data[7] & 2) (void)qln::buf_new_raw(engine, 1, data[8]);
    for (int i = 0; i < 4; ++i)
        qln::var_set(engine, i, data[9 + i] & 7, int32_t(read_u32(data + 8 + i)));
    qln::result_set(engine, 1, int32_t(data[13]));

    qln::Scenario scenario;
    scenario.local_count = data[14];
    scenario.locals.reset(new int32_t[scenario.local_count + 1]());
    if (data[15] & 1) engine.interp.current = &scenario;

    const uint8_t* code = data + kHeader;
    const uint32_t length = uint32_t(std::min<size_t>(size - kHeader, 0x20000));
    uint16_t pc = 0;
    // Every evaluation moves pc forward until the code is used up or pc wraps.
    for (int guard = 0; guard < 4096; ++guard) {
        const uint16_t before = pc;
        (void)qln::expr_eval(engine, code, length, pc);
        if (pc <= before || pc >= length) break;
    }
    engine.interp.current = nullptr;
    return 0;
}
