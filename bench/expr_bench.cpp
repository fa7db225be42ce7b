// Nanoseconds per expression for the shapes scenario code evaluates most:
// an increment, a comparison and an indexed read with an addition.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "engine/engine.h"
#include "scenario/expr.h"
#include "tables/tables.h"

namespace {

void run_expression(benchmark::State& state, const uint8_t* code, uint32_t size) {
    qln::Engine engine;
    if (!qln::tables_init(engine)) {
        state.SkipWithError("tables_init failed");
        return;
    }
    qln::var_set(engine, 3, 3, 7);
    qln::var_set(engine, 3, 7, 2);
    for (auto _ : state) {
        uint16_t pc = 0;
        benchmark::DoNotOptimize(qln::expr_eval(engine, code, size, pc));
        benchmark::DoNotOptimize(pc);
    }
}

// Variable 5 of space 3, incremented.
void BM_ExprIncrement(benchmark::State& state) {
    static const uint8_t code[] = {0x00, 0x05, 0x13, 0x40, 0x7F};
    run_expression(state, code, sizeof code);
}
BENCHMARK(BM_ExprIncrement);

// Variable 5 of space 3 greater than 10.
void BM_ExprCompare(benchmark::State& state) {
    static const uint8_t code[] = {0x00, 0x05, 0x13, 0x00, 0x0A, 0x55, 0x7F};
    run_expression(state, code, sizeof code);
}
BENCHMARK(BM_ExprCompare);

// Variable [variable [variable 3 of space 3] of space 3] of space 1, plus 1.
void BM_ExprNestedIndex(benchmark::State& state) {
    static const uint8_t code[] = {0x00, 0x03, 0x13, 0x13, 0x11, 0x00, 0x01, 0x53, 0x7F};
    run_expression(state, code, sizeof code);
}
BENCHMARK(BM_ExprNestedIndex);

// A fixed-point function: sine of variable 5 of space 3.
void BM_ExprSine(benchmark::State& state) {
    static const uint8_t code[] = {0x00, 0x05, 0x13, 0x36, 0x7F};
    run_expression(state, code, sizeof code);
}
BENCHMARK(BM_ExprSine);

}  // namespace
