#pragma once
// Compressed and plain track files (OGG Vorbis, FLAC, MP3, WAV) and raw CD
// images through libsndfile, read through the platform's host files only,
// a block at a time at the mixer's rate.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/sound_state.h"

namespace qln {

// Reads a track file as the mixer's stereo frames, resampling on the way
// (linear interpolation, as the wave decoder does).
class AudioFileReader {
  public:
    AudioFileReader();
    ~AudioFileReader();
    AudioFileReader(const AudioFileReader&) = delete;
    AudioFileReader& operator=(const AudioFileReader&) = delete;

    // False when it is not a sound file libsndfile reads (or longer than an
    // hour). raw: 16-bit little-endian stereo at 44,100 Hz without a header.
    bool open(const std::string& host_path, bool raw = false);
    // The same over bytes in memory, which must outlive the reader.
    bool open_memory(const uint8_t* bytes, size_t size);
    // The length in the mixer's frames.
    uint64_t frames() const;
    // The next read starts at this frame of the mixer's rate.
    bool seek(uint64_t frame);
    // Up to max frames (interleaved stereo into out); 0 at the end.
    uint32_t read(int16_t* out, uint32_t max);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The length of a track file in the mixer's frames; false when it is not a
// sound file libsndfile reads.
bool audio_file_length(const std::string& host_path, uint64_t& frames, bool raw = false);

// Decodes a whole sound file to the mixer's frames (waves are held whole).
bool audio_file_decode(const std::string& host_path, Pcm& out);
// The same for a file's image in memory (a raw data buffer); out is a copy,
// so the bytes are never read again once this returns.
bool audio_image_decode(const uint8_t* bytes, size_t size, Pcm& out);

}  // namespace qln
