#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "base/error_record.h"
#include "engine/engine.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/input_script.h"

namespace qln {
namespace {

std::vector<ScriptEvent> script(const char* text) {
    std::vector<ScriptEvent> events;
    ScriptError error;
    EXPECT_TRUE(input_script_parse(text, events, error)) << error.reason;
    return events;
}

// A headless platform driving an engine's input, used from the test thread
// as the scenario thread would use it.
struct Rig {
    explicit Rig(HeadlessOptions options) : platform(std::move(options)) {
        platform.attach(engine.shared);
        engine.platform = platform.services();
        platform.deliver_due();
    }
    InputState& live() { return engine.shared.input.state; }
    uint8_t* keys() { return engine.shared.input.queues.key_state; }
    Engine engine;
    HeadlessPlatform platform;
};

std::vector<int> chars(const InputQueues& q) {
    std::vector<int> out;
    for (int i = q.char_read; i != q.char_write; i = (i + 1) % kInputQueueSize) {
        out.push_back(q.char_queue[i]);
    }
    return out;
}

std::vector<int> keys(const InputQueues& q) {
    std::vector<int> out;
    for (int i = q.key_read; i != q.key_write; i = (i + 1) % kInputQueueSize) {
        out.push_back(q.key_queue[i]);
    }
    return out;
}

TEST(HeadlessClock, MovesOnlyBySleepsAndIdlePasses) {
    HeadlessOptions o;
    o.clock_start = 1000;
    Rig rig(o);
    EXPECT_EQ(rig.platform.ticks(), 1000u);
    EXPECT_EQ(rig.platform.ticks(), 1000u);
    rig.platform.sleep_ms(250);
    EXPECT_EQ(rig.platform.ticks(), 1250u);
    rig.platform.idle_pass();
    rig.platform.idle_pass();
    EXPECT_EQ(rig.platform.ticks(), 1252u);
}

TEST(HeadlessClock, EventsTakeEffectExactlyWhenTheCounterReachesTheirTime) {
    HeadlessOptions o;
    o.events = script("0 move 7 8\n100 down left\n200 click right 5 6\n");
    Rig rig(o);
    EXPECT_EQ(rig.live().x, 7);  // due at the clock start
    rig.platform.sleep_ms(99);
    EXPECT_EQ(rig.live().left, 0);
    rig.platform.idle_pass();
    EXPECT_EQ(rig.live().left, 1);
    rig.platform.sleep_ms(99);
    EXPECT_EQ(rig.live().right, 0);
    EXPECT_EQ(rig.live().x, 7);
    rig.platform.idle_pass();  // 200: move and press
    EXPECT_EQ(rig.live().right, 1);
    EXPECT_EQ(rig.live().x, 5);
    EXPECT_EQ(rig.live().y, 6);
    rig.platform.sleep_ms(49);
    EXPECT_EQ(rig.live().right, 1);
    rig.platform.idle_pass();  // 250: the click's release
    EXPECT_EQ(rig.live().right, 0);
    // The buttons are keys 1 and 2 of the key queue.
    EXPECT_EQ(keys(rig.engine.shared.input.queues), (std::vector<int>{0x0001, 0x0002}));
}

TEST(HeadlessClock, ALongSleepDeliversEveryEventOnTheWayInOrder) {
    HeadlessOptions o;
    o.events = script("10 char 0x61\n20 char 0x62\n20 char 0x63\n30 char 0x64\n");
    Rig rig(o);
    rig.platform.sleep_ms(25);
    EXPECT_EQ(chars(rig.engine.shared.input.queues), (std::vector<int>{'a', 'b', 'c'}));
    EXPECT_EQ(rig.platform.ticks(), 25u);
}

TEST(HeadlessClock, TimesCountForwardFromTheStartAcrossTheWrap) {
    HeadlessOptions o;
    o.clock_start = 4294967290u;
    o.events = script("4 char 0x41\n4294967295 char 0x42\n");
    Rig rig(o);
    rig.platform.sleep_ms(5);
    EXPECT_EQ(chars(rig.engine.shared.input.queues), (std::vector<int>{'B'}));
    rig.platform.sleep_ms(4);
    EXPECT_EQ(rig.platform.ticks(), 3u);
    EXPECT_EQ(chars(rig.engine.shared.input.queues).size(), 1u);
    rig.platform.idle_pass();
    EXPECT_EQ(chars(rig.engine.shared.input.queues), (std::vector<int>{'B', 'A'}));
}

TEST(HeadlessKeys, KeyDownUpdatesTheTableQueuesTheKeyAndNavigationCodes) {
    HeadlessOptions o;
    o.events = script("10 keydown 0x10\n20 key 0x25\n30 keyup 0x10\n40 key 0x41\n");
    Rig rig(o);
    rig.platform.sleep_ms(20);
    EXPECT_EQ(rig.keys()[0x10], 0x80);
    EXPECT_EQ(rig.keys()[0x25], 0x80);
    rig.platform.sleep_ms(50);
    EXPECT_EQ(rig.keys()[0x25], 0x00);
    EXPECT_EQ(rig.keys()[0x10], 0x00);
    rig.platform.sleep_ms(50);
    EXPECT_EQ(keys(rig.engine.shared.input.queues), (std::vector<int>{0x0125, 0x0041}));
    EXPECT_EQ(chars(rig.engine.shared.input.queues), (std::vector<int>{0x1D}));
}

TEST(HeadlessKeys, AltF4ClosesTheWindowAndAltKeysPushNoNavigationCodes) {
    HeadlessOptions o;
    o.events = script("10 keydown 0x12\n20 keydown 0x24\n30 keydown 0x73\n");
    Rig rig(o);
    rig.platform.sleep_ms(20);
    EXPECT_FALSE(rig.platform.quit_requested());
    rig.platform.sleep_ms(10);
    EXPECT_TRUE(rig.platform.quit_requested());
    EXPECT_EQ(rig.platform.quit_reason(), QuitReason::WindowClosed);
    EXPECT_TRUE(chars(rig.engine.shared.input.queues).empty());
    EXPECT_EQ(keys(rig.engine.shared.input.queues), (std::vector<int>{0x0424, 0x0473}));
}

TEST(HeadlessQuit, CloseAndTheTimeLimitEndTheRunAndTheFirstReasonStays) {
    {
        HeadlessOptions o;
        o.events = script("50 close\n");
        o.max_ms = 40;
        Rig rig(o);
        rig.platform.sleep_ms(40);
        EXPECT_FALSE(rig.platform.quit_requested());
        EXPECT_TRUE(rig.platform.hold_while_minimised());
        rig.platform.idle_pass();  // 41 passes the limit
        EXPECT_TRUE(rig.platform.quit_requested());
        EXPECT_FALSE(rig.platform.hold_while_minimised());
        EXPECT_EQ(rig.platform.quit_reason(), QuitReason::TimeLimit);
    }
    {
        HeadlessOptions o;
        o.events = script("50 close\n");
        o.max_ms = 60;
        Rig rig(o);
        rig.platform.sleep_ms(100);  // close at 50 comes before the limit
        EXPECT_EQ(rig.platform.quit_reason(), QuitReason::WindowClosed);
    }
}

TEST(HeadlessFocus, FocusChangesAreRecorded) {
    HeadlessOptions o;
    o.events = script("5 focus lost\n9 focus gained\n");
    Rig rig(o);
    EXPECT_TRUE(rig.platform.focused());
    rig.platform.sleep_ms(5);
    EXPECT_FALSE(rig.platform.focused());
    rig.platform.sleep_ms(4);
    EXPECT_TRUE(rig.platform.focused());
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
    std::vector<std::string> lines;
    std::vector<std::thread::id> log_threads;
    HeadlessOptions o;
    o.stop_on_error = false;
    o.answer_yes = true;
    o.file_dialog_path = "/games/save 1.dat";
    o.log = [&](const std::string& line) {
        lines.push_back(line);
        log_threads.push_back(std::this_thread::get_id());
    };
    HeadlessPlatform platform(o);
    ScenarioErrorRecord record;
    record.command = 0x0A;
    record.error_number = 106;
    std::strcpy(record.command_name, "win_\"yesno\"");
    std::strcpy(record.error_text, "\x83\x45\x83\x43\x83\x93\x83\x68\x83\x45");  // ウインドウ
    std::strcpy(record.detail, "win_no = 7");
    bool error_answer = true, question_answer = false, file_answer = false;
    char path[64] = {};
    std::thread::id scenario_thread;
    run_threads(platform, [&] {
        scenario_thread = std::this_thread::get_id();
        error_answer = platform.error_dialog(record);
        platform.message_box("line one\nC:\\dir", "caption");
        question_answer = platform.question_yes_no("go on?", "Quillon");
        file_answer = platform.open_file_dialog("Data|*.dat", path, sizeof path);
    });
    EXPECT_FALSE(error_answer);  // Continue
    EXPECT_TRUE(question_answer);
    EXPECT_TRUE(file_answer);
    EXPECT_STREQ(path, "C:\\games\\save 1.dat");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0],
              "scenario error: command=0x0a error=106 name=\"win_\\\"yesno\\\"\" "
              "text=\"ウインドウ\" detail=\"win_no = 7\" answer=continue");
    EXPECT_EQ(lines[1], "message box: line one\\nC:\\\\dir");
    EXPECT_EQ(lines[2], "question: go on? answer=yes");
    EXPECT_EQ(lines[3], "file dialog: filter=\"Data|*.dat\" answer=\"C:\\\\games\\\\save 1.dat\"");
    for (const std::thread::id& id : log_threads) {
        EXPECT_EQ(id, std::this_thread::get_id());
        EXPECT_NE(id, scenario_thread);
    }
}

TEST(HeadlessRequests, DefaultAnswersAreStopNoAndCancel) {
    std::vector<std::string> lines;
    HeadlessOptions o;
    o.log = [&](const std::string& line) { lines.push_back(line); };
    HeadlessPlatform platform(o);
    ScenarioErrorRecord record;
    bool stop = false, yes = true, chosen = true;
    char path[8] = "keep";
    run_threads(platform, [&] {
        stop = platform.error_dialog(record);
        yes = platform.question_yes_no("q", "c");
        chosen = platform.open_file_dialog("", path, sizeof path);
    });
    EXPECT_TRUE(stop);
    EXPECT_FALSE(yes);
    EXPECT_FALSE(chosen);
    EXPECT_STREQ(path, "keep");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0],
              "scenario error: command=0x00 error=0 name=\"\" text=\"\" detail=\"\" answer=stop");
    EXPECT_EQ(lines[2], "file dialog: filter=\"\" answer=cancel");
}

TEST(HeadlessRequests, AfterAQuitRequestsAreAnsweredWithoutTheMainThread) {
    std::vector<std::string> lines;
    HeadlessOptions o;
    o.stop_on_error = false;
    o.answer_yes = true;
    o.log = [&](const std::string& line) { lines.push_back(line); };
    HeadlessPlatform platform(o);
    platform.request_quit(QuitReason::WindowClosed);
    ScenarioErrorRecord record;
    EXPECT_TRUE(platform.error_dialog(record));  // Stop: no window is left to ask
    EXPECT_FALSE(platform.question_yes_no("q", "c"));
    platform.message_box("m", "c");
    EXPECT_TRUE(lines.empty());
}

TEST(HeadlessRequests, DisplayModeChangesTheVirtualDisplay) {
    std::vector<std::string> lines;
    HeadlessOptions o;
    o.display_width = 1024;
    o.display_height = 768;
    o.display_bpp = 8;
    o.log = [&](const std::string& line) { lines.push_back(line); };
    HeadlessPlatform platform(o);
    int w = 0, h = 0, bpp = 0;
    platform.display_query(w, h, bpp);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    EXPECT_EQ(bpp, 8);
    EXPECT_TRUE(platform.display_mode_change(true, 640, 480, 0));
    platform.display_query(w, h, bpp);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_EQ(bpp, 8);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "display mode: full_screen=1 size=640x480 answer=ok");
}

TEST(HeadlessMinimise, TheMainThreadMovesTheClockToTheRestore) {
    HeadlessOptions o;
    o.events = script("10 minimize\n500 char 0x61\n700 restore\n");
    HeadlessPlatform platform(o);
    Engine engine;
    platform.attach(engine.shared);
    bool released = false;
    uint32_t before = 0, after = 0;
    run_threads(platform, [&] {
        platform.sleep_ms(20);  // the minimise is delivered, the thread runs on
        before = platform.ticks();
        released = platform.hold_while_minimised();
        after = platform.ticks();
    });
    EXPECT_EQ(before, 20u);
    EXPECT_TRUE(released);
    EXPECT_EQ(after, 700u);
    EXPECT_EQ(engine.shared.input.state.last_character, 'a');
}

TEST(HeadlessMinimise, WithoutARestoreTheTimeLimitOrTheEndOfTheScriptEndsTheRun) {
    {
        HeadlessOptions o;
        o.events = script("0 minimize\n");
        o.max_ms = 300;
        HeadlessPlatform platform(o);
        bool released = true;
        run_threads(platform, [&] { released = platform.hold_while_minimised(); });
        EXPECT_FALSE(released);
        EXPECT_EQ(platform.quit_reason(), QuitReason::TimeLimit);
        EXPECT_EQ(platform.ticks(), 301u);
    }
    {
        std::vector<std::string> lines;
        HeadlessOptions o;
        o.events = script("0 minimize\n");
        o.log = [&](const std::string& line) { lines.push_back(line); };
        HeadlessPlatform platform(o);
        bool released = true;
        run_threads(platform, [&] { released = platform.hold_while_minimised(); });
        EXPECT_FALSE(released);
        EXPECT_EQ(platform.quit_reason(), QuitReason::InputEnded);
        ASSERT_EQ(lines.size(), 1u);
    }
}

}  // namespace
}  // namespace qln
