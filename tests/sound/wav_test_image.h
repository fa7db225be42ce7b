#pragma once
// Small RIFF WAVE images built in the tests.

#include <cstdint>
#include <string>
#include <vector>

namespace qln::test {

inline void put_le(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// A PCM image of samples (raw bytes as the file holds them), with the
// format chunk's fields as given and optional chunks before the data.
inline std::vector<uint8_t> wav_image(uint16_t channels, uint16_t bits, uint32_t rate,
                                      const std::vector<uint8_t>& data,
                                      const std::vector<uint8_t>& before_data = {},
                                      uint16_t tag = 1) {
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
    put_le(out, uint32_t(4 + 24 + before_data.size() + 8 + data.size()), 4);
    for (char c : std::string("WAVEfmt ")) out.push_back(uint8_t(c));
    put_le(out, 16, 4);
    put_le(out, tag, 2);
    put_le(out, channels, 2);
    put_le(out, rate, 4);
    put_le(out, rate * channels * bits / 8, 4);
    put_le(out, channels * bits / 8, 2);
    put_le(out, bits, 2);
    out.insert(out.end(), before_data.begin(), before_data.end());
    for (char c : std::string("data")) out.push_back(uint8_t(c));
    put_le(out, uint32_t(data.size()), 4);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// 16-bit samples as the bytes of a data chunk.
inline std::vector<uint8_t> pcm16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> out;
    for (int16_t s : samples) put_le(out, uint16_t(s), 2);
    return out;
}

}  // namespace qln::test
