#include "sound/midi_file.h"

#include <algorithm>

namespace qln {
namespace {

constexpr uint64_t kMaxUs = uint64_t(10) * 3600 * 1000000;
// Ticks beyond this could not be timed in 64 bits (and are far past ten hours).
constexpr uint64_t kMaxTick = uint64_t(1) << 36;

uint32_t be(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = v << 8 | p[i];
    return v;
}

struct Reader {
    const uint8_t* at;
    const uint8_t* end;
    bool byte(uint8_t& v) {
        if (at >= end) return false;
        v = *at++;
        return true;
    }
    // A variable-length number: at most four bytes of seven bits.
    bool number(uint32_t& v) {
        v = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b = 0;
            if (!byte(b)) return false;
            v = v << 7 | (b & 0x7F);
            if (!(b & 0x80)) return true;
        }
        return false;
    }
    bool skip(uint32_t n) {
        if (uint64_t(end - at) < n) return false;
        at += n;
        return true;
    }
};

MidiError scan_track(Reader r, MidiTiming& out) {
    uint64_t tick = 0;
    uint8_t status = 0;
    while (r.at < r.end) {
        uint32_t delta = 0;
        if (!r.number(delta)) return MidiError::BadEvent;
        tick += delta;
        if (tick > kMaxTick) return MidiError::TooLong;
        uint8_t b = 0;
        if (!r.byte(b)) return MidiError::BadEvent;
        if (b == 0xFF) {
            uint8_t type = 0;
            uint32_t len = 0;
            if (!r.byte(type) || !r.number(len) || uint64_t(r.end - r.at) < len) {
                return MidiError::BadEvent;
            }
            if (type == 0x51 && len == 3) {
                const uint32_t us = be(r.at, 3);
                out.tempos.push_back(MidiTempo{tick, us == 0 ? 1 : us});
            }
            r.at += len;
            if (type == 0x2F) break;  // end of track
            continue;
        }
        if (b == 0xF0 || b == 0xF7) {
            uint32_t len = 0;
            if (!r.number(len) || !r.skip(len)) return MidiError::BadEvent;
            continue;
        }
        if (b >= 0xF0) return MidiError::BadEvent;  // no other system message in a file
        if (b & 0x80) {
            status = b;
        } else {
            if (status == 0) return MidiError::BadEvent;  // data without a status
            --r.at;                                       // running status: b is data
        }
        const uint8_t kind = status & 0xF0;
        if (!r.skip(kind == 0xC0 || kind == 0xD0 ? 1 : 2)) return MidiError::BadEvent;
    }
    out.last_tick = std::max(out.last_tick, tick);
    return MidiError::None;
}

}  // namespace

const char* midi_error_text(MidiError error) {
    switch (error) {
        case MidiError::None:
            return "no error";
        case MidiError::NotMidi:
            return "not a MIDI file (no MThd header)";
        case MidiError::BadHeader:
            return "broken MIDI header";
        case MidiError::BadTrack:
            return "a MIDI track leaves the file";
        case MidiError::BadEvent:
            return "a broken MIDI event";
        case MidiError::TooLong:
            return "a MIDI file longer than ten hours";
    }
    return "unknown MIDI error";
}

MidiError midi_scan(const uint8_t* image, size_t size, MidiTiming& out) {
    out = MidiTiming{};
    if (size < 14 || be(image, 4) != 0x4D546864) return MidiError::NotMidi;  // "MThd"
    const uint32_t header = be(image + 4, 4);
    if (header < 6 || header > size - 8) return MidiError::BadHeader;
    const uint32_t tracks = be(image + 10, 2);
    const uint32_t division = be(image + 12, 2);
    if (tracks == 0 || (division & 0x7FFF) == 0) return MidiError::BadHeader;
    if (division & 0x8000) {
        // Time code: frames a second (a negative byte) and ticks a frame.
        const uint32_t fps = uint32_t(-int8_t(division >> 8));
        const uint32_t per_frame = division & 0xFF;
        if (fps == 0 || per_frame == 0 || fps > 127) return MidiError::BadHeader;
        out.tick_us_num = 1000000;
        out.tick_us_den = uint64_t(fps) * per_frame;
    } else {
        out.ticks_per_quarter = division;
    }
    size_t at = 8 + header;
    uint32_t found = 0;
    while (found < tracks && size - at >= 8) {
        const uint32_t id = be(image + at, 4), len = be(image + at + 4, 4);
        at += 8;
        if (len > size - at) return MidiError::BadTrack;
        if (id == 0x4D54726B) {  // "MTrk"; other chunks are skipped
            const MidiError e = scan_track(Reader{image + at, image + at + len}, out);
            if (e != MidiError::None) return e;
            ++found;
        }
        at += len;
    }
    if (found == 0) return MidiError::BadTrack;
    std::stable_sort(out.tempos.begin(), out.tempos.end(),
                     [](const MidiTempo& a, const MidiTempo& b) { return a.tick < b.tick; });
    if (midi_us_at_tick(out, out.last_tick) > kMaxUs) return MidiError::TooLong;
    return MidiError::None;
}

uint64_t midi_us_at_tick(const MidiTiming& t, uint64_t tick) {
    if (t.ticks_per_quarter == 0) return tick * t.tick_us_num / t.tick_us_den;
    // Each stretch between tempo changes at its own tempo; 120 beats a
    // minute before the first.
    uint64_t us = 0, from = 0;
    uint32_t tempo = 500000;
    for (const MidiTempo& change : t.tempos) {
        if (change.tick >= tick) break;
        us += (change.tick - from) * tempo / t.ticks_per_quarter;
        from = change.tick;
        tempo = change.us_per_quarter;
        if (us > kMaxUs * 2) return us;
    }
    return us + (tick - from) * tempo / t.ticks_per_quarter;
}

uint64_t midi_tick_at_us(const MidiTiming& t, uint64_t us) {
    if (t.ticks_per_quarter == 0) return us * t.tick_us_den / t.tick_us_num;
    uint64_t at_us = 0, from = 0;
    uint32_t tempo = 500000;
    for (const MidiTempo& change : t.tempos) {
        const uint64_t stretch = (change.tick - from) * tempo / t.ticks_per_quarter;
        if (at_us + stretch > us) break;
        at_us += stretch;
        from = change.tick;
        tempo = change.us_per_quarter;
    }
    return from + (us - at_us) * t.ticks_per_quarter / tempo;
}

}  // namespace qln
