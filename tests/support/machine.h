#pragma once
// The one scenario runner of the tests: assembles scenario text and runs it
// in-process. Machine runs on the null backend (a virtual clock that moves
// only by sleeps and idle passes, answers recorded); ScriptedMachine on the
// headless backend with scripted mouse and keyboard input delivered as the
// virtual clock passes each event's time.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "asm/assembler.h"
#include "engine/engine.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/input_script.h"
#include "platform/null/null_platform.h"
#include "run/run_loop.h"
#include "scenario/interp.h"
#include "scenario/scenario.h"
#include "screen/screen.h"
#include "tables/tables.h"

namespace qln::test {

template <typename PlatformT>
class Runner {
  public:
    PlatformT platform;
    Engine engine;

    template <typename... PlatformArgs>
    explicit Runner(PlatformArgs&&... args) : platform(std::forward<PlatformArgs>(args)...) {
        engine.platform = platform.services();
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

  protected:
    bool ok_ = false;
};

class Machine : public Runner<NullPlatform> {
  public:
    // adjust may change the settings before the tables are sized.
    explicit Machine(void (*adjust)(Settings&) = nullptr) {
        if (adjust) adjust(engine.settings);
        ok_ = tables_init(engine);
    }
};

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

// The log comes first: the platform writes into it.
struct ScriptLog {
    std::vector<std::string> log;  // the platform's lines: errors, messages
};

class ScriptedMachine : public ScriptLog, public Runner<ScriptedPlatform> {
  public:
    explicit ScriptedMachine(std::string_view script = "", uint32_t clock_start = 0)
        : Runner(scripted_options(script, clock_start, &log)) {
        platform.attach(engine.shared);
        ok_ = tables_init(engine) && screen_init(engine);
    }

    // Starts source as the start-up scenario: the stopwatch starts with it
    // and the events due at the start are delivered.
    bool start(std::string_view source) {
        if (!Runner::start(source)) return false;
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
};

}  // namespace qln::test
