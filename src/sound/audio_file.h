#pragma once
// Compressed and plain track files (OGG Vorbis, FLAC, MP3, WAV) through
// libsndfile, read through the platform's host files only.

#include <cstdint>
#include <string>

#include "engine/sound_state.h"

namespace qln {

// The length of a track file in the mixer's frames; false when it is not a
// sound file libsndfile reads.
bool audio_file_length(const std::string& host_path, uint64_t& frames);

// Decodes a whole track file to the mixer's frames.
bool audio_file_decode(const std::string& host_path, Pcm& out);

}  // namespace qln
