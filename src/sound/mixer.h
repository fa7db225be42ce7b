#pragma once
// The mixer's five lines: volumes on the engine's 0-1000 scale over each
// control's raw scale, and the time-based fades the poll step advances.

#include <cstdint>

namespace qln {

struct Engine;

// Makes all five lines available at their stored volumes (65535 raw on
// every line for a game that never set one), starts the sound ticker and
// opens the output device when the host has one.
bool mixer_open(Engine& engine);
// Stores the volumes, closes the device and drops every voice.
void mixer_close(Engine& engine);

// A line as a control of channels (1 or 2) up to maximum; for tests of the
// one-channel rule and of other raw scales.
void mixer_line_configure(Engine& engine, uint32_t line, uint8_t channels, uint32_t maximum);

struct VolumeReading {
    uint32_t first = 0, second = 0;  // 0 to 1000
    bool fading = false;
};

// False without a mixer, for a line of 5 or more, or one not available.
bool vol_read(const Engine& engine, uint32_t line, VolumeReading& out);
// Sets both sides; a negative value keeps that side's raw value, values
// above 1000 count as 1000.
bool vol_write(Engine& engine, uint32_t line, int32_t first, int32_t second);
// Starts a fade from the current volumes to t0, t1 (taken as unsigned 16-bit
// and limited to 1000) over the low 16 bits of duration milliseconds.
bool vol_fade_start(Engine& engine, uint32_t line, int32_t t0, int32_t t1, int32_t duration);
// Moves every running fade to where it is at now; a fade at or past its end
// writes its targets and ends.
void vol_fade_tick(Engine& engine, uint32_t now);
// Writes a running fade's targets at once and ends it.
bool vol_fade_finish(Engine& engine, uint32_t line);

}  // namespace qln
