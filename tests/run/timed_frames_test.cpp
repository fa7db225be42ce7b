#include <gtest/gtest.h>

#include <vector>

#include "run/timed_frames.h"
#include "support/machine.h"

namespace qln {
namespace {

// Records the elapsed time of every frame; shows something new every
// `every` ms, and stops once `stop_at` is reached (0: never).
struct Recorder {
    uint32_t every = 1;
    uint32_t stop_at = 0;
    std::vector<uint32_t> shown;
    static Frame frame(Engine&, void* context, uint32_t elapsed, uint32_t duration) {
        auto& r = *static_cast<Recorder*>(context);
        if (r.stop_at != 0 && elapsed >= r.stop_at) return Frame::Stop;
        if (elapsed != duration && !r.shown.empty() && elapsed - r.shown.back() < r.every)
            return Frame::Unchanged;
        r.shown.push_back(elapsed);
        return Frame::Drawn;
    }
};

TEST(TimedFrames, RunToTheEndStateAndEndOnAFailedPollOrAStop) {
    struct Case {
        uint32_t every, stop_at, quit_at;
        FramesEnd end;
        std::vector<uint32_t> shown;
    };
    const Case cases[] = {
        // Idle passes move the virtual clock a millisecond each.
        {4, 0, 0, FramesEnd::Done, {0, 4, 8, 10}},
        // A failed poll step shows the end state at once.
        {4, 0, 5, FramesEnd::PollFailed, {0, 4, 10}},
        {4, 6, 0, FramesEnd::Stopped, {0, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.every << " " << c.stop_at << " " << c.quit_at);
        test::Machine m;
        m.platform.now = 1000;
        if (c.quit_at) m.platform.at(1000 + c.quit_at, [&] { m.platform.quit = true; });
        Recorder r{c.every, c.stop_at, {}};
        EXPECT_EQ(timed_frames_run(m.engine, 1000, 10, Recorder::frame, &r), c.end);
        EXPECT_EQ(r.shown, c.shown);
    }
}

}  // namespace
}  // namespace qln
