#pragma once
// A platform for the fuzzers: answers every request at once, continues past
// scenario errors, and asks the engine to quit after a budget of poll steps,
// so no waiting loop or nested run can hang a harness.

#include "platform/platform.h"

namespace qln::fuzz {

class FuzzPlatform : public Platform {
public:
    explicit FuzzPlatform(uint32_t poll_budget) : budget_(poll_budget) {}
    uint32_t ticks() override { return now_; }
    void sleep_ms(uint32_t ms) override { now_ += ms; }
    void idle_pass() override { now_ += 1; }
    bool quit_requested() override { return ++polls_ > budget_; }
    bool error_dialog(const ScenarioErrorRecord&) override { return false; }
    void message_box(const char*, const char*) override {}
    bool question_yes_no(const char*, const char*) override { return false; }
    bool open_file_dialog(const char*, char*, int) override { return false; }
    bool display_mode_change(bool, int, int, int) override { return false; }
    void display_query(int& width, int& height, int& bpp) override {
        width = 640;
        height = 480;
        bpp = 24;
    }

private:
    uint32_t now_ = 0;
    uint32_t polls_ = 0;
    uint32_t budget_;
};

}  // namespace qln::fuzz
