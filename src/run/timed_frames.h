#pragma once
// Timed frames: the loop every effect that plays over time runs through (the
// fade of a picture, and what comes after it), so each honours the poll step
// alike: input, callbacks and the cursor go on between frames, and a failed
// poll step (the window closed, a time limit, a signal) ends the effect at
// once in its end state.

#include <cstdint>

namespace qln {

struct Engine;

enum class Frame : uint8_t {
    Drawn,      // something new is shown
    Unchanged,  // nothing new to show yet: the loop idles a pass
    Stop,       // the effect can go no further (its window went away)
};

// Shows the effect elapsed_ms into its run (elapsed_ms == duration_ms is the
// end state).
using FrameFn = Frame (*)(Engine& engine, void* context, uint32_t elapsed_ms, uint32_t duration_ms);

enum class FramesEnd : uint8_t { Done, Stopped, PollFailed };

// Runs frames from the tick start until duration_ms have passed, with a poll
// step after each. A failed poll step draws the end state (unless the last
// frame was it) and ends the loop.
FramesEnd timed_frames_run(Engine& engine, uint32_t start, uint32_t duration_ms, FrameFn frame,
                           void* context);

}  // namespace qln
