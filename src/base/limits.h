#pragma once
// The caps on what untrusted input may make the engine and the tools
// allocate: picture files, archives, scenarios and the commands they run.
// Each is far above anything a game of this kind needs (its screens are
// 640 x 480) and low enough that no input drives the process past 1 GiB.
// docs/limits.md lists them with their reasons; change both together.

#include <cstdint>

namespace qln {

inline constexpr uint64_t kMiB = uint64_t(1) << 20;

// Any picture (decoded, made by a command, a window's, a tool's): its pixels
// and a possible alpha plane, four bytes a pixel, so at most 64 Mi pixels.
inline constexpr uint64_t kPictureBytesMax = 256 * kMiB;
// A picture read from a file is also at most this many pixels a side. Windows
// and pictures made by commands keep the 65,535 a side the commands allow
// (a 65,535 x 15 window costs 3 MiB); the byte cap bounds them.
inline constexpr uint32_t kPictureSideMax = 16384;
// A file or archive entry read whole (pictures, scenarios, data, cursors).
inline constexpr uint64_t kFileReadMax = 256 * kMiB;
// A raw data buffer a command creates (buf_alloc and the like).
inline constexpr uint64_t kDataBufferBytesMax = 64 * kMiB;
// The string pool that holds every string register and system string.
inline constexpr uint64_t kStringPoolBytesMax = 64 * kMiB;
// A scenario image: code is addressed in 16 bits, so anything past 64 KiB
// is data; 16 MiB leaves room for any string table.
inline constexpr uint64_t kScenarioImageBytesMax = 16 * kMiB;
// A sound decoded whole (a wave, a waveaudio device), in frames at the
// mixer's 44,100 Hz: ten minutes, 101 MiB of samples. Tracks stream and may
// be an hour long.
inline constexpr uint64_t kSoundHeldFramesMax = uint64_t(44100) * 600;

// Everything the data buffers and the windows hold at once. With a file at
// its cap being read and decoded beside it (256 + 256 MiB) the process stays
// under 1 GiB.
inline constexpr uint64_t kHeldBytesMax = 384 * kMiB;

// Whether a picture of width x height may be made.
constexpr bool picture_size_allowed(uint64_t width, uint64_t height) {
    return width * height * 4 <= kPictureBytesMax;
}

// Whether a picture file stating width x height may be decoded.
constexpr bool picture_file_size_allowed(uint64_t width, uint64_t height) {
    return width <= kPictureSideMax && height <= kPictureSideMax &&
           picture_size_allowed(width, height);
}

}  // namespace qln
