// Commands per second of a tight scenario loop (an increment and a
// conditional jump, the poll step after each command, nothing to draw), beside
// its floor (the same work in plain C++ plus one uncontended lock around a
// copy of the input state and one monotonic clock read per command) and, for
// scale, the same loop in Lua 5.4. The poll step reads the clock only while
// callbacks or the animated cursor keep time, so this loop does not pay the
// floor's clock read; the floor keeps it so figures stay comparable.

#include <benchmark/benchmark.h>

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "input/input_state.h"
#include "platform/null/null_platform.h"
#include "run/run_loop.h"
#include "scenario/interp.h"
#include "scenario/scenario.h"
#include "tables/tables.h"

#ifdef QUILLON_HAVE_LUA
#include <lua.hpp>
#endif

namespace {

using qln::NullPlatform;

// loop: eval v3[0]++ ; jump_if v3[0] != 0, loop
const std::vector<uint8_t> kLoopImage = {
    'Q',  'L',  'N',  5,    0,    23,   0,                 // header: H = 5, T = 23
    0x00, 0x00, 0x00, 0x13, 0x40, 0x7F,                    // 7: eval v3[0]++
    0x02, 0x00, 0x00, 0x13, 0x00, 0x00, 0x5A, 0x7F, 7, 0,  // 13: jump_if v3[0] != 0, 7
};

void BM_ScenarioLoop(benchmark::State& state) {
    NullPlatform platform;
    qln::Engine engine;
    engine.platform = platform.services();
    if (!qln::tables_init(engine)) {
        state.SkipWithError("tables");
        return;
    }
    qln::Scenario* scenario =
        qln::scn_create(engine, kLoopImage.data(), uint32_t(kLoopImage.size()), "bench", 0);
    if (!scenario || !qln::scn_start(engine, scenario, true, true)) {
        state.SkipWithError("scenario");
        return;
    }
    for (auto _ : state) {
        if (qln::scn_step(engine) != 0) {
            state.SkipWithError("step failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("commands");
}
BENCHMARK(BM_ScenarioLoop);

// The floor: the same increment and test, one lock around a copy of the input
// state and one monotonic clock read per command.
void BM_PlainLoopFloor(benchmark::State& state) {
    std::mutex lock;
    qln::InputState live, snap;
    int32_t v = 0;
    bool increment = true;
    for (auto _ : state) {
        if (increment) {
            ++v;
        } else if (v != 0) {
            benchmark::DoNotOptimize(v);
        }
        increment = !increment;
        {
            std::lock_guard<std::mutex> guard(lock);
            std::memcpy(&snap, &live, sizeof snap);
        }
        benchmark::DoNotOptimize(snap);
        timespec ts;
        clock_gettime(CLOCK_MONOTONIC, &ts);
        benchmark::DoNotOptimize(ts);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("commands");
}
BENCHMARK(BM_PlainLoopFloor);

#ifdef QUILLON_HAVE_LUA
// For scale: the loop in Lua 5.4, two statements per iteration counted as two commands.
void BM_LuaLoop(benchmark::State& state) {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    const char* code =
        "return function(n) local v = 0 for i = 1, n do v = v + 1 if v ~= 0 then end end return v "
        "end";
    if (luaL_dostring(L, code) != LUA_OK) {
        state.SkipWithError("lua");
        lua_close(L);
        return;
    }
    const int fn = luaL_ref(L, LUA_REGISTRYINDEX);
    constexpr int kIterations = 1 << 16;
    for (auto _ : state) {
        lua_rawgeti(L, LUA_REGISTRYINDEX, fn);
        lua_pushinteger(L, kIterations);
        lua_call(L, 1, 1);
        lua_pop(L, 1);
    }
    state.SetItemsProcessed(state.iterations() * kIterations * 2);
    state.SetLabel("commands");
    lua_close(L);
}
BENCHMARK(BM_LuaLoop);
#endif

}  // namespace
