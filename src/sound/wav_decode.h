#pragma once
// RIFF WAVE images: PCM of 8 or 16 bits, one or two channels, at any rate
// from 1,000 to 384,000 Hz, converted to the mixer's stereo 16-bit frames at
// 44,100 Hz. Every length is checked against the image; nothing is read
// outside it.

#include <cstddef>
#include <cstdint>

#include "engine/sound_state.h"

namespace qln {

enum class WavError : uint8_t {
    None,
    NotRiff,      // no "RIFF....WAVE" header
    NoFormat,     // no "fmt " chunk before the data
    BadFormat,    // a format chunk too short or inconsistent
    NotPcm,       // compressed or floating-point samples
    Unsupported,  // channels, bits or rate out of range
    NoData,       // no "data" chunk
    TooLong,      // more than an hour of sound
};

const char* wav_error_text(WavError error);

// The layout of the samples, as the format chunk gives it.
struct WavFormat {
    uint16_t channels = 0;
    uint16_t bits = 0;
    uint32_t rate = 0;
    size_t data_offset = 0, data_size = 0;  // whole frames only
};

WavError wav_parse(const uint8_t* image, size_t size, WavFormat& format);
// Parses and converts; out is replaced.
WavError wav_decode(const uint8_t* image, size_t size, Pcm& out);

// Interleaved 16-bit frames of channels (1 or 2) at rate, to stereo at the
// mixer's rate (linear interpolation).
void pcm_convert(const int16_t* samples, size_t frames, uint16_t channels, uint32_t rate, Pcm& out);

}  // namespace qln
