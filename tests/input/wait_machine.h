#pragma once
// Runs assembled scenarios in-process on the headless platform: a virtual
// clock that moves only when the engine sleeps or idles, and scripted mouse
// input delivered as the clock passes each event's time.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "asm/assembler.h"
#include "engine/engine.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/input_script.h"
#include "run/run_loop.h"
#include "scenario/interp.h"
#include "scenario/scenario.h"
#include "screen/screen.h"
#include "tables/tables.h"

namespace qln::test {

inline HeadlessOptions scripted_options(std::string_view script, uint32_t clock_start,
                                        std::vector<std::string>* log) {
    HeadlessOptions o;
    o.clock_start = clock_start;
    ScriptError error;
    EXPECT_TRUE(input_script_parse(script, o.events, error)) << error.reason;
    o.log = [log](const std::string& line) { log->push_back(line); };
    return o;
}

// The headless platform with a look into every idle pass of a waiting loop.
class ScriptedPlatform : public HeadlessPlatform {
  public:
    using HeadlessPlatform::HeadlessPlatform;
    std::function<void()> on_idle;
    void idle_pass() override {
        if (on_idle) on_idle();
        HeadlessPlatform::idle_pass();
    }
};

class ScriptedMachine {
  public:
    std::vector<std::string> log;  // the platform's lines: errors, messages
    ScriptedPlatform platform;
    Engine engine;

    explicit ScriptedMachine(std::string_view script = "", uint32_t clock_start = 0)
        : platform(scripted_options(script, clock_start, &log)) {
        engine.platform = platform.services();
        platform.attach(engine.shared);
        ok_ = tables_init(engine) && screen_init(engine);
    }

    Scenario* load(std::string_view source) {
        std::vector<uint8_t> image;
        AsmError error;
        if (!ok_ || !assemble(source, image, error)) {
            ADD_FAILURE() << error.format("test");
            return nullptr;
        }
        return scn_create(engine, image.data(), uint32_t(image.size()), "test", 0);
    }

    // Starts source as the start-up scenario: the stopwatch starts with it
    // and the events due at the start are delivered.
    bool start(std::string_view source) {
        Scenario* scenario = load(source);
        if (!scenario || !scn_start(engine, scenario, true, true)) return false;
        engine.timers.stopwatch_mark = platform.ticks();
        platform.deliver_due();
        return true;
    }

    // Puts a scenario into data buffer buf_no, as buf_read would.
    bool load_buffer(int32_t buf_no, std::string_view source) {
        DataBuffer* slot = buf_entry(engine, buf_no);
        Scenario* scenario = slot ? load(source) : nullptr;
        if (!scenario) return false;
        buf_free(engine, buf_no);
        slot->type = BufType::Scenario;
        slot->size = 1;
        slot->scenario = scenario;
        return true;
    }

    // Steps until a step stops; the last result (1 when the budget ran out).
    int32_t run(int max_steps = 100000) {
        for (int i = 0; i < max_steps; ++i) {
            const int32_t result = scn_step(engine);
            if (result < 0) return result;
        }
        return 1;
    }

    int32_t reg(uint32_t n) { return result_get(engine, n); }
    int32_t var(int32_t space, int32_t index) { return var_get(engine, space, index); }
    uint32_t now() { return platform.ticks(); }
    // The error numbers the run reported, in order.
    std::vector<std::string> errors() const {
        std::vector<std::string> found;
        for (const std::string& line : log) {
            const size_t at = line.find("error=");
            if (line.rfind("scenario error", 0) == 0 && at != std::string::npos) {
                found.push_back(line.substr(at + 6, line.find(' ', at) - at - 6));
            }
        }
        return found;
    }

  private:
    bool ok_ = false;
};

}  // namespace qln::test
