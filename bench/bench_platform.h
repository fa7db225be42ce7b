#pragma once
// A platform for the benchmarks: a real monotonic clock, no waiting, no
// dialogs, a 640 x 480 true-colour display.

#include <chrono>
#include <cstdint>

#include "platform/platform.h"

namespace qln::bench {

class BenchPlatform : public Platform {
  public:
    uint32_t ticks() override {
        using namespace std::chrono;
        return static_cast<uint32_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void sleep_ms(uint32_t) override {}
    void idle_pass() override {}
    bool quit_requested() override { return false; }
    bool error_dialog(const ScenarioErrorRecord&) override { return true; }
    void message_box(const char*, const char*) override {}
    bool question_yes_no(const char*, const char*) override { return false; }
    bool open_file_dialog(const char*, char*, int) override { return false; }
    bool display_mode_change(bool, int, int, int) override { return false; }
    void display_query(int& w, int& h, int& bpp) override {
        w = 640;
        h = 480;
        bpp = 24;
    }
};

}  // namespace qln::bench
