#pragma once
// A RIFF WAVE image of 16-bit PCM samples, for the audio dump of a run.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qln {

std::vector<uint8_t> wav_encode(const int16_t* samples, size_t count, uint32_t rate,
                                uint16_t channels);

}  // namespace qln
