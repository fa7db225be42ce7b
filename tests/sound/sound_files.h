#pragma once
// Track and MIDI files made in the tests: an OGG Vorbis tone written with
// libsndfile, and small standard MIDI files put together byte by byte.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qln::test {

// seconds of a 440 Hz tone of amplitude level as OGG Vorbis (or another
// format of libsndfile's), 44,100 Hz stereo.
inline void write_ogg(const std::string& path, double seconds, int level = 8000,
                      int format = SF_FORMAT_OGG | SF_FORMAT_VORBIS) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 2;
    info.format = format;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    const size_t frames = size_t(44100 * seconds);
    std::vector<short> samples(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        samples[2 * i] = samples[2 * i + 1] = short(level * std::sin(i * 2 * M_PI * 440 / 44100));
    }
    sf_writef_short(f, samples.data(), sf_count_t(frames));
    sf_close(f);
}

// A format-0 file at 480 ticks a quarter: a piano C and E held from tick 0
// to 1920, the tempo 120 beats a minute, then twice as fast from tick 960 on:
// 1 s + 0.5 s long.
inline std::vector<uint8_t> midi_two_tempos() {
    const std::vector<uint8_t> events = {
        0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,        // tempo 500000 us
        0x00, 0xC0, 0x00,                                // piano
        0x00, 0x90, 0x3C, 0x64,                          // C on
        0x00, 0x40, 0x64,                                // E on, by running status
        0x87, 0x40, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90,  // at 960: tempo 250000 us
        0x87, 0x40, 0x80, 0x3C, 0x00,                    // at 1920: C off
        0x00, 0x40, 0x00,                                // E off
        0x00, 0xFF, 0x2F, 0x00,
    };
    const uint8_t header[] = {'M', 'T',  'h',  'd', 0,   0,   0,   6, 0, 0, 0,
                              1,   0x01, 0xE0, 'M', 'T', 'r', 'k', 0, 0, 0, uint8_t(events.size())};
    // Sized first and copied into: GCC 12 warns falsely on an insert after a
    // braced initialiser.
    std::vector<uint8_t> out(sizeof header + events.size());
    std::copy(std::begin(header), std::end(header), out.begin());
    std::copy(events.begin(), events.end(), out.begin() + sizeof header);
    return out;
}

}  // namespace qln::test
