// The headless backend: its virtual clock, scripted input, the answers to
// the scenario thread's requests and the minimised hold.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/error_record.h"
#include "engine/engine.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/input_script.h"

namespace qln {
namespace {

// Options with a parsed script and a log kept in lines.
struct Options : HeadlessOptions {
    explicit Options(const char* text = "", uint32_t max = 0) {
        ScriptError error;
        EXPECT_TRUE(input_script_parse(text, events, error)) << error.reason;
        if (max) max_ms = max;
        log = [lines = lines](const std::string& line) { lines->push_back(line); };
    }
    std::shared_ptr<std::vector<std::string>> lines = std::make_shared<std::vector<std::string>>();
};

// A headless platform driving an engine's input, used from the test thread
// as the scenario thread would use it.
struct Rig {
    explicit Rig(const HeadlessOptions& options) : platform(options) {
        platform.attach(engine.shared);
        engine.platform = platform.services();
        platform.deliver_due();
    }
    InputState& live() { return engine.shared.input.state; }
    uint8_t* key_table() { return engine.shared.input.queues.key_state; }
    // The character (or key) queue, oldest first.
    std::vector<int> queued(bool keys = false) {
        const InputQueues& q = engine.shared.input.queues;
        std::vector<int> out;
        for (int i = keys ? q.key_read : q.char_read; i != (keys ? q.key_write : q.char_write);
             i = (i + 1) % kInputQueueSize)
            out.push_back(keys ? q.key_queue[i] : q.char_queue[i]);
        return out;
    }
    Engine engine;
    HeadlessPlatform platform;
};

TEST(HeadlessClock, MovesOnlyBySleepsAndIdlePassesAndEventsComeExactlyOnTime) {
    Rig rig(Options("0 move 7 8\n100 down left\n200 click right 5 6\n"));
    const struct {
        uint32_t sleep, ticks;  // a sleep, or an idle pass when 0
        int32_t x, left, right;
    } steps[] = {{99, 99, 7, 0, 0},  {0, 100, 7, 1, 0},
                 {99, 199, 7, 1, 0}, {0, 200, 5, 1, 1},   // move and press
                 {49, 249, 5, 1, 1}, {0, 250, 5, 1, 0}};  // the click's release
    for (const auto& step : steps) {
        step.sleep ? rig.platform.sleep_ms(step.sleep) : rig.platform.idle_pass();
        SCOPED_TRACE(step.ticks);
        EXPECT_EQ(rig.platform.ticks(), step.ticks);
        EXPECT_EQ((std::vector{rig.live().x, int32_t(rig.live().left), int32_t(rig.live().right)}),
                  (std::vector{step.x, step.left, step.right}));
    }
    EXPECT_EQ(rig.live().y, 6);
    // The buttons are keys 1 and 2 of the key queue.
    EXPECT_EQ(rig.queued(true), (std::vector<int>{0x0001, 0x0002}));
}

TEST(HeadlessClock, ALongSleepDeliversEveryEventOnTheWayInOrderAcrossTheWrap) {
    Options o("4 char 0x41\n10 char 0x61\n4294967295 char 0x42\n");
    o.clock_start = 4294967290u;
    Rig rig(o);
    rig.platform.sleep_ms(5);
    EXPECT_EQ(rig.queued(), (std::vector<int>{'B'}));
    rig.platform.sleep_ms(4);
    EXPECT_EQ(rig.platform.ticks(), 3u);
    EXPECT_EQ(rig.queued().size(), 1u);
    rig.platform.sleep_ms(20);
    EXPECT_EQ(rig.queued(), (std::vector<int>{'B', 'A', 'a'}));
}

TEST(HeadlessFocus, FocusChangesAreRecorded) {
    Rig rig(Options("5 focus lost\n9 focus gained\n"));
    EXPECT_TRUE(rig.platform.focused());
    rig.platform.sleep_ms(5);
    EXPECT_FALSE(rig.platform.focused());
    rig.platform.sleep_ms(4);
    EXPECT_TRUE(rig.platform.focused());
}

TEST(HeadlessKeys, KeyDownUpdatesTheTableQueuesTheKeyAndNavigationCodes) {
    Rig rig(Options("10 keydown 0x10\n20 key 0x25\n30 keyup 0x10\n40 key 0x41\n"));
    rig.platform.sleep_ms(20);
    EXPECT_EQ(rig.key_table()[0x10], 0x80);
    EXPECT_EQ(rig.key_table()[0x25], 0x80);
    rig.platform.sleep_ms(50);
    EXPECT_EQ(rig.key_table()[0x25], 0x00);
    EXPECT_EQ(rig.key_table()[0x10], 0x00);
    rig.platform.sleep_ms(50);
    EXPECT_EQ(rig.queued(true), (std::vector<int>{0x0125, 0x0041}));
    EXPECT_EQ(rig.queued(), (std::vector<int>{0x1D}));
}

TEST(HeadlessKeys, AltF4ClosesTheWindowAndAltKeysPushNoNavigationCodes) {
    Rig rig(Options("10 keydown 0x12\n20 keydown 0x24\n30 keydown 0x73\n"));
    rig.platform.sleep_ms(20);
    EXPECT_FALSE(rig.platform.quit_requested());
    rig.platform.sleep_ms(10);
    EXPECT_EQ(rig.platform.quit_reason(), QuitReason::WindowClosed);
    EXPECT_TRUE(rig.queued().empty());
    EXPECT_EQ(rig.queued(true), (std::vector<int>{0x0424, 0x0473}));
}

TEST(HeadlessQuit, CloseAndTheTimeLimitEndTheRunAndTheFirstReasonStays) {
    Rig limited(Options("50 close\n", 40));
    limited.platform.sleep_ms(40);
    EXPECT_FALSE(limited.platform.quit_requested());
    EXPECT_TRUE(limited.platform.hold_while_minimised());
    limited.platform.idle_pass();  // 41 passes the limit
    EXPECT_FALSE(limited.platform.hold_while_minimised());
    EXPECT_EQ(limited.platform.quit_reason(), QuitReason::TimeLimit);

    Rig closed(Options("50 close\n", 60));
    closed.platform.sleep_ms(100);  // close at 50 comes before the limit
    EXPECT_EQ(closed.platform.quit_reason(), QuitReason::WindowClosed);
}

// Runs body on a scenario thread beside the platform's message loop.
template <typename Body>
void run_threads(HeadlessPlatform& platform, Body body) {
    struct Ctx {
        HeadlessPlatform* platform;
        Body* body;
    } ctx{&platform, &body};
    ASSERT_TRUE(platform.run_scenario_thread(
        [](void* p) {
            auto* c = static_cast<Ctx*>(p);
            (*c->body)();
            c->platform->scenario_thread_ended();
        },
        &ctx));
}

TEST(HeadlessRequests, TheMainThreadAnswersEachRequestFromTheOptions) {
    std::vector<std::thread::id> log_threads;
    Options o;
    o.stop_on_error = false;
    o.answer_yes = true;
    o.file_dialog_path = "/games/save 1.dat";
    o.log = [&, lines = o.lines](const std::string& line) {
        lines->push_back(line);
        log_threads.push_back(std::this_thread::get_id());
    };
    HeadlessPlatform platform(o);
    ScenarioErrorRecord record;
    record.command = 0x0A;
    record.error_number = 106;
    std::strcpy(record.command_name, "win_\"yesno\"");
    std::strcpy(record.error_text, "\x83\x45\x83\x43\x83\x93\x83\x68\x83\x45");  // ウインドウ
    std::strcpy(record.detail, "win_no = 7");
    std::vector<DialogAnswer> answers;
    bool chosen = false;
    char path[64] = {};
    std::thread::id scenario_thread;
    run_threads(platform, [&] {
        scenario_thread = std::this_thread::get_id();
        answers.push_back(platform.error_dialog(record));
        answers.push_back(platform.message_box("line one\nC:\\dir", "caption"));
        answers.push_back(platform.question_yes_no("go on?", "Quillon"));
        chosen = platform.open_file_dialog("Data|*.dat", path, sizeof path);
    });
    EXPECT_EQ(answers, (std::vector<DialogAnswer>{DialogAnswer::Continue, DialogAnswer::Ok,
                                                  DialogAnswer::Yes}));
    EXPECT_TRUE(chosen);
    EXPECT_STREQ(path, "C:\\games\\save 1.dat");
    EXPECT_EQ(*o.lines, (std::vector<std::string>{
                            "scenario error: command=0x0a error=106 name=\"win_\\\"yesno\\\"\" "
                            "text=\"ウインドウ\" detail=\"win_no = 7\" answer=continue",
                            "message box: line one\\nC:\\\\dir", "question: go on? answer=yes",
                            "file dialog: filter=\"Data|*.dat\" "
                            "answer=\"C:\\\\games\\\\save 1.dat\""}));
    for (const std::thread::id& id : log_threads) {
        EXPECT_EQ(id, std::this_thread::get_id());
        EXPECT_NE(id, scenario_thread);
    }
}

TEST(HeadlessRequests, DefaultAnswersAreStopNoAndCancelAndAfterAQuitNobodyIsAsked) {
    Options o;
    HeadlessPlatform platform(o);
    ScenarioErrorRecord record;
    std::vector<DialogAnswer> answers;
    bool chosen = true;
    char path[8] = "keep";
    run_threads(platform, [&] {
        answers = {platform.error_dialog(record), platform.question_yes_no("q", "c")};
        chosen = platform.open_file_dialog("", path, sizeof path);
    });
    EXPECT_EQ(answers, (std::vector<DialogAnswer>{DialogAnswer::Stop, DialogAnswer::No}));
    EXPECT_FALSE(chosen);
    EXPECT_STREQ(path, "keep");
    ASSERT_EQ(o.lines->size(), 3u);
    EXPECT_EQ((*o.lines)[0],
              "scenario error: command=0x00 error=0 name=\"\" text=\"\" detail=\"\" answer=stop");
    EXPECT_EQ((*o.lines)[2], "file dialog: filter=\"\" answer=cancel");

    Options quit;
    quit.stop_on_error = false;
    quit.answer_yes = true;
    HeadlessPlatform after(quit);
    after.request_quit(QuitReason::WindowClosed);
    // No window is left to ask, whether the host could show dialogs or not.
    quit.host_dialogs = false;
    HeadlessPlatform blind_after(quit);
    blind_after.request_quit(QuitReason::WindowClosed);
    for (HeadlessPlatform* p : {&after, &blind_after}) {
        EXPECT_EQ(p->error_dialog(record), DialogAnswer::Stop);
        EXPECT_EQ(p->question_yes_no("q", "c"), DialogAnswer::No);
        EXPECT_EQ(p->message_box("m", "c"), DialogAnswer::Ok);
    }
    EXPECT_TRUE(quit.lines->empty());
}

TEST(HeadlessRequests, WithoutHostDialogsEveryDialogIsLoggedAndNotShown) {
    Options o;
    o.host_dialogs = false;
    o.answer_yes = true;
    HeadlessPlatform platform(o);
    ScenarioErrorRecord record;
    std::vector<DialogAnswer> answers;
    run_threads(platform, [&] {
        answers = {platform.error_dialog(record), platform.message_box("m", "c"),
                   platform.question_yes_no("q", "c")};
    });
    EXPECT_EQ(answers, std::vector<DialogAnswer>(3, DialogAnswer::NotShown));
    EXPECT_EQ(*o.lines,
              (std::vector<std::string>{"scenario error: command=0x00 error=0 name=\"\" text=\"\" "
                                        "detail=\"\" answer=in-window",
                                        "message box: m", "question: q answer=in-window"}));
}

TEST(HeadlessRequests, DisplayModeChangesTheVirtualDisplay) {
    Options o;
    o.display_width = 1024;
    o.display_height = 768;
    o.display_bpp = 8;
    HeadlessPlatform platform(o);
    int w = 0, h = 0, bpp = 0;
    platform.display_query(w, h, bpp);
    EXPECT_EQ((std::vector{w, h, bpp}), (std::vector{1024, 768, 8}));
    EXPECT_TRUE(platform.display_mode_change(true, 640, 480, 0));
    platform.display_query(w, h, bpp);
    EXPECT_EQ((std::vector{w, h, bpp}), (std::vector{640, 480, 8}));
    EXPECT_EQ(*o.lines,
              std::vector<std::string>{"display mode: full_screen=1 size=640x480 answer=ok"});
}

TEST(HeadlessMinimise, TheMainThreadMovesTheClockToTheRestoreOrTheEnd) {
    Rig rig(Options("10 minimize\n500 char 0x61\n700 restore\n"));
    bool released = false;
    uint32_t before = 0, after = 0;
    run_threads(rig.platform, [&] {
        rig.platform.sleep_ms(20);  // the minimise is delivered, the thread runs on
        before = rig.platform.ticks();
        released = rig.platform.hold_while_minimised();
        after = rig.platform.ticks();
    });
    EXPECT_EQ(before, 20u);
    EXPECT_TRUE(released);
    EXPECT_EQ(after, 700u);
    EXPECT_EQ(rig.live().last_character, 'a');

    // Without a restore the time limit or the end of the script ends the run.
    for (const uint32_t max_ms : {300u, 0u}) {
        SCOPED_TRACE(max_ms);
        Options o("0 minimize\n", max_ms);
        HeadlessPlatform platform(o);
        bool held_on = true;
        run_threads(platform, [&] { held_on = platform.hold_while_minimised(); });
        EXPECT_FALSE(held_on);
        EXPECT_EQ(platform.quit_reason(), max_ms ? QuitReason::TimeLimit : QuitReason::InputEnded);
        if (max_ms) {
            EXPECT_EQ(platform.ticks(), 301u);
        }
        if (!max_ms) {
            EXPECT_EQ(o.lines->size(), 1u);
        }
    }
}

}  // namespace
}  // namespace qln
