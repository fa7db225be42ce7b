#pragma once
// The numbered animations and their scheduler, held by the engine.

#include <cstdint>
#include <vector>

namespace qln {

// One animation: frames cut from a sheet picture, following a frame script,
// drawn into a window.
struct AnimRecord {
    bool defined = false;
    bool running = false;
    uint16_t frame = 0;      // index into the frame script
    uint32_t remaining = 0;  // ms until the next frame change; 0 before the first frame
    int32_t win_no = 0;
    int32_t x = 0, y = 0;  // destination in the window
    // The sheet (a picture buffer) and the frame script (a raw buffer) are
    // kept by number and looked up at every frame change and draw, so a
    // buffer freed or replaced meanwhile is never read: a sheet that is gone
    // draws nothing, a script that is gone ends the animation.
    int32_t sheet_buf = 0;
    int32_t script_buf = 0;
    uint16_t flags = 0;  // the drawing flags of window_draw_picture
    // The group: first > last (1, 0 after a start) marks a single animation.
    uint16_t range_first = 0, range_last = 0;
    uint16_t loops = 0;  // plays still to go; 0 repeats for ever
    // The scheduler walk that last dealt with this record as a group
    // member, so no record changes frame twice in one walk.
    uint32_t walk = 0;

    bool single() const { return range_first > range_last; }
    bool live() const { return defined && running; }
};

struct AnimationState {
    std::vector<AnimRecord> records;
    bool running = false;     // some animation may be running
    uint32_t last_call = 0;   // tick count of the last scheduler call
    uint32_t next_event = 0;  // ms from last_call to the earliest frame change
    // Time taken off next_event since the last walk but not yet off the
    // running records' remaining times: the quiet ticks then cost one
    // subtraction, whatever the number of animations. Records started
    // meanwhile have remaining 0, which no subtraction lowers.
    uint32_t pending = 0;
    uint32_t walks = 0;  // walks made so far, to tell each walk's records apart
};

}  // namespace qln
