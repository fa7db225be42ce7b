#pragma once
// Assembles a small scenario and runs it headless in-process to its end.

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "asm/assembler.h"
#include "scenario/scenario.h"
#include "engine/engine.h"
#include "engine/command_row.h"
#include "platform/platform.h"
#include "asm/assembler.h"
#include "scenario/scenario.h"
#include "engine/engine.h"
#include "support/fake_platform.h"

namespace qln::test {

// A virtual clock; every scenario error is kept and answered Stop, or
// Continue when stop_on_error is false.
using ScenarioPlatform = FakePlatform;

// True once the dispatcher has handlers for every byte in [first, last].
inline bool handlers_wired(int first, int last) {
    for (int b = first; b <= last; ++b)
        if (!command_table[size_t(b)].built) return false;
    return true;
}

// Runs source to its end; the last step's result (-10 when the scenario ended
// normally). Errors stop the run and are kept by the platform.
inline int32_t run_scenario(Engine& engine, ScenarioPlatform& platform, std::string_view source) {
    std::vector<uint8_t> image;
    AsmError error;
    if (!assemble(source, image, error)) {
        ADD_FAILURE() << error.format("scenario");
        return 0;
    }
    engine.platform = &platform;
    Scenario* scenario = scn_create(engine, image.data(), uint32_t(image.size()), "test", 0);
    if (!scenario || !scn_start(engine, scenario, true, true)) {
        ADD_FAILURE() << "the scenario does not start";
        if (scenario) scn_release(scenario);
        return 0;
    }
    int32_t result = 0;
    for (int steps = 0; steps < 100000 && result >= 0; ++steps) result = scn_step(engine);
    return result;
}

}  // namespace qln::test
