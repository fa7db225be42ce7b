#include "sound/wav_write.h"

#include <cstring>

#include "base/byte_order.h"

namespace qln {

std::vector<uint8_t> wav_encode(const int16_t* samples, size_t count, uint32_t rate,
                                uint16_t channels) {
    const uint32_t data_bytes = uint32_t(count * 2);
    // Sized once and written in place: the header is 44 bytes, then the samples.
    std::vector<uint8_t> out(44 + size_t(data_bytes));
    uint8_t* p = out.data();
    std::memcpy(p, "RIFF", 4);
    write_u32(p + 4, 36 + data_bytes);
    std::memcpy(p + 8, "WAVEfmt ", 8);
    write_u32(p + 16, 16);
    write_u16(p + 20, 1);  // PCM
    write_u16(p + 22, channels);
    write_u32(p + 24, rate);
    write_u32(p + 28, rate * channels * 2);
    write_u16(p + 32, uint16_t(channels * 2));
    write_u16(p + 34, 16);
    std::memcpy(p + 36, "data", 4);
    write_u32(p + 40, data_bytes);
    for (size_t i = 0; i < count; ++i) write_u16(p + 44 + 2 * i, uint16_t(samples[i]));
    return out;
}

}  // namespace qln
