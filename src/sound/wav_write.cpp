#include "sound/wav_write.h"

namespace qln {
namespace {

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

void put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put_tag(std::vector<uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace

std::vector<uint8_t> wav_encode(const int16_t* samples, size_t count, uint32_t rate,
                                uint16_t channels) {
    const uint32_t data_bytes = uint32_t(count * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + data_bytes);
    put_tag(out, "RIFF");
    put32(out, 36 + data_bytes);
    put_tag(out, "WAVE");
    put_tag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, channels);
    put32(out, rate);
    put32(out, rate * channels * 2);
    put16(out, uint16_t(channels * 2));
    put16(out, 16);
    put_tag(out, "data");
    put32(out, data_bytes);
    for (size_t i = 0; i < count; ++i) put16(out, uint16_t(samples[i]));
    return out;
}

}  // namespace qln
