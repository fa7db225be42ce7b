#pragma once
// A platform for in-process tests: a virtual clock, scripted answers, and a
// record of every request the engine made. Single-threaded: requests are
// answered on the calling thread.

#include <string>
#include <vector>

#include "platform/platform.h"
#include "scenario/error_record.h"

namespace qln::test {

class FakePlatform : public Platform {
public:
    uint32_t now = 0;
    bool stop_on_error = true;
    bool answer_yes = false;
    bool quit = false;
    std::vector<ScenarioErrorRecord> errors;
    std::vector<std::string> messages;
    std::vector<std::string> questions;

    uint32_t ticks() override { return now; }
    void sleep_ms(uint32_t ms) override { now += ms; }
    void idle_pass() override { now += 1; }
    bool quit_requested() override { return quit; }
    bool error_dialog(const ScenarioErrorRecord& record) override {
        errors.push_back(record);
        return stop_on_error;
    }
    void message_box(const char* text, const char*) override { messages.emplace_back(text); }
    bool question_yes_no(const char* text, const char*) override {
        questions.emplace_back(text);
        return answer_yes;
    }
    bool open_file_dialog(const char*, char*, int) override { return false; }
    bool display_mode_change(bool, int, int, int) override { return false; }
    std::vector<uint8_t> clipboard;  // the last bitmap put on the clipboard
    void clipboard_set_dib(const uint8_t* dib, size_t size) override {
        clipboard.assign(dib, dib + size);
    }
    void display_query(int& width, int& height, int& bpp) override {
        width = 640;
        height = 480;
        bpp = 24;
    }
};

}  // namespace qln::test
