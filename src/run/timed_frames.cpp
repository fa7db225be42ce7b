#include "run/timed_frames.h"

#include <algorithm>

#include "engine/engine.h"
#include "run/run_loop.h"

namespace qln {

FramesEnd timed_frames_run(Engine& engine, uint32_t start, uint32_t duration_ms, FrameFn frame,
                           void* context) {
    ClockService& clock = *engine.platform.clock;
    InputState snap;
    for (;;) {
        // Unsigned subtraction is the wrap-around difference of two tick counts.
        const uint32_t elapsed = std::min(clock.ticks() - start, duration_ms);
        const Frame shown = frame(engine, context, elapsed, duration_ms);
        if (shown == Frame::Stop) return FramesEnd::Stopped;
        if (shown == Frame::Unchanged) clock.idle_pass();
        if (!poll(engine, snap)) {
            if (elapsed < duration_ms) (void)frame(engine, context, duration_ms, duration_ms);
            return FramesEnd::PollFailed;
        }
        if (elapsed >= duration_ms) return FramesEnd::Done;
    }
}

}  // namespace qln
