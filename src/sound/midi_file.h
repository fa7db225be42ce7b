#pragma once
// Standard MIDI files, read only for their timing: the division, the tempo
// map and the last event's tick, so positions and lengths can be given in
// milliseconds. The synthesizer's player reads the notes. Every length is
// checked against the image; nothing is read outside it.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qln {

enum class MidiError : uint8_t {
    None,
    NotMidi,    // no "MThd" header
    BadHeader,  // a header too short, no tracks or a division of 0
    BadTrack,   // a track chunk that leaves the file
    BadEvent,   // an event cut short, data without a status, a bad length
    TooLong,    // more than ten hours
};

const char* midi_error_text(MidiError error);

struct MidiTempo {
    uint64_t tick = 0;
    uint32_t us_per_quarter = 500000;
};

struct MidiTiming {
    uint32_t ticks_per_quarter = 0;  // 0: time code (tick_us_num / tick_us_den per tick)
    uint64_t tick_us_num = 0, tick_us_den = 1;
    std::vector<MidiTempo> tempos;  // by tick
    uint64_t last_tick = 0;
};

MidiError midi_scan(const uint8_t* image, size_t size, MidiTiming& out);

// Microseconds from the start to tick, and the tick at us.
uint64_t midi_us_at_tick(const MidiTiming& timing, uint64_t tick);
uint64_t midi_tick_at_us(const MidiTiming& timing, uint64_t us);

}  // namespace qln
