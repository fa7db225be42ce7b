#pragma once
// Numbered animations: frames cut from a sheet picture and drawn into a
// window as a frame script says, advanced by a scheduler that keeps time in
// the poll step. Animations started together as a range run as a group in
// lock step and are redrawn together in number order, so overlapping
// members keep their stacking.

#include <cstdint>

namespace qln {

struct Engine;
struct AnimRecord;

// The table as the settings size it (empty by default) and an idle scheduler.
void anim_init(Engine& engine);
void anim_release(Engine& engine);

// Defines (or redefines) animation n, stopped at its first frame; the table
// grows to n + 8 records when n is beyond it. The group and loop fields keep
// what they held.
void anim_define(Engine& engine, uint16_t n, int32_t win_no, int32_t x, int32_t y,
                 int32_t sheet_buf, int32_t script_buf, uint16_t flags);

// Starts n from its first frame as a single animation repeating for ever, or
// stops it where it is (its last frame stays). False when n is beyond the
// table or not defined. A start while others run shows the first frame at
// their next frame change, so animations started together keep in step.
[[nodiscard]] bool anim_set_running(Engine& engine, uint16_t n, bool on);

enum class PlayEnd : uint8_t { Done, Refused, PollFailed };

// Starts first .. last as one group playing loops times (0: for ever), then
// runs the poll step until none of them runs. Refused, with nothing started,
// when first or last is beyond the table or a member is not defined; a
// range with first > last ends at once.
[[nodiscard]] PlayEnd anim_play_range(Engine& engine, uint16_t first, uint16_t last,
                                      uint16_t loops);

// The scheduler at the tick count now: at most one frame change per
// animation, time past the due moment dropped rather than caught up.
void anim_tick(Engine& engine, uint32_t now);

// Draws record's current frame into its window (nothing for the end marker,
// a sheet or script that is gone, or a cell of no size).
void anim_draw(Engine& engine, const AnimRecord& record);

// The scheduler's ticker (kTickerOrderAnimation), added at the first start.
void animation_ticker_add(Engine& engine);

}  // namespace qln
