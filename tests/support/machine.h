#pragma once
// Runs assembled scenario text in-process on a test platform.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "asm/assembler.h"
#include "engine/engine.h"
#include "platform/null/null_platform.h"
#include "run/run_loop.h"
#include "scenario/interp.h"
#include "scenario/scenario.h"
#include "tables/tables.h"

namespace qln::test {

class Machine {
  public:
    NullPlatform platform;
    Engine engine;

    // adjust may change the settings before the tables are sized.
    explicit Machine(void (*adjust)(Settings&) = nullptr) {
        engine.platform = platform.services();
        if (adjust) adjust(engine.settings);
        ok_ = tables_init(engine);
    }

    // Assembles source and starts it as the only active scenario.
    bool start(std::string_view source, const char* name = "test") {
        Scenario* scenario = load(source, name);
        if (!scenario) return false;
        if (!scn_start(engine, scenario, true, true)) {
            scn_release(scenario);
            return false;
        }
        return true;
    }

    // Assembles source into a scenario object (not started).
    Scenario* load(std::string_view source, const char* name = "test") {
        if (!ok_) return nullptr;
        std::vector<uint8_t> image;
        AsmError error;
        if (!assemble(source, image, error)) {
            ADD_FAILURE() << error.format(name);
            return nullptr;
        }
        return scn_create(engine, image.data(), uint32_t(image.size()), name, 0);
    }

    // Steps until a step returns a negative value or max_steps pass; returns
    // the last result (1 when the budget ran out).
    int32_t run(int max_steps = 100000) {
        for (int i = 0; i < max_steps; ++i) {
            const int32_t result = scn_step(engine);
            if (result < 0) return result;
        }
        return 1;
    }

    int32_t var(int32_t space, int32_t index) { return var_get(engine, space, index); }
    int32_t reg(uint32_t n) { return result_get(engine, n); }
    std::string str(int32_t n) {
        const char* s = str_get(engine, n);
        return s ? s : "<none>";
    }

  private:
    bool ok_ = false;
};

}  // namespace qln::test
