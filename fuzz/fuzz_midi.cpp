// MIDI files from arbitrary bytes: the chunk walk, the events with running
// status, the tempo map and the times taken from it.

#include <cstddef>
#include <cstdint>

#include "sound/midi_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qln::MidiTiming timing;
    if (qln::midi_scan(data, size, timing) != qln::MidiError::None) return 0;
    const uint64_t us = qln::midi_us_at_tick(timing, timing.last_tick);
    // Times grow with ticks, and a time maps back to no later tick.
    if (timing.last_tick > 0 && qln::midi_us_at_tick(timing, timing.last_tick / 2) > us)
        __builtin_trap();
    if (qln::midi_tick_at_us(timing, us) > timing.last_tick + 1) __builtin_trap();
    return 0;
}
