#include "sound/wav_decode.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/byte_order.h"
#include "base/limits.h"

namespace qln {
namespace {

constexpr uint16_t kFormatPcm = 1, kFormatExtensible = 0xFFFE;

}  // namespace

const char* wav_error_text(WavError error) {
    switch (error) {
        case WavError::None:
            return "no error";
        case WavError::NotRiff:
            return "not a RIFF WAVE file";
        case WavError::NoFormat:
            return "no format chunk before the samples";
        case WavError::BadFormat:
            return "a broken format chunk";
        case WavError::NotPcm:
            return "not PCM samples";
        case WavError::Unsupported:
            return "channels, bits or rate not supported";
        case WavError::NoData:
            return "no sample data";
        case WavError::TooLong:
            return "longer than an hour";
    }
    return "unknown error";
}

WavError wav_parse(const uint8_t* image, size_t size, WavFormat& format) {
    format = WavFormat{};
    if (!image || size < 12 || std::memcmp(image, "RIFF", 4) != 0 ||
        std::memcmp(image + 8, "WAVE", 4) != 0) {
        return WavError::NotRiff;
    }
    // The RIFF size may be wrong in files from the field; the image's end
    // is what counts.
    bool have_format = false;
    size_t at = 12;
    while (size - at >= 8) {
        const uint8_t* chunk = image + at;
        const size_t body = at + 8;
        const size_t length = std::min<size_t>(read_u32(chunk + 4), size - body);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16) return WavError::BadFormat;
            const uint8_t* f = image + body;
            uint16_t tag = read_u16(f);
            if (tag == kFormatExtensible) {
                if (length < 40) return WavError::BadFormat;
                tag = read_u16(f + 24);  // the sub-format's first two bytes
            }
            if (tag != kFormatPcm) return WavError::NotPcm;
            format.channels = read_u16(f + 2);
            format.rate = read_u32(f + 4);
            format.bits = read_u16(f + 14);
            const uint16_t block = read_u16(f + 12);
            if ((format.channels != 1 && format.channels != 2) ||
                (format.bits != 8 && format.bits != 16) || format.rate < 1000 ||
                format.rate > 384000) {
                return WavError::Unsupported;
            }
            if (block != format.channels * format.bits / 8) return WavError::BadFormat;
            have_format = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!have_format) return WavError::NoFormat;
            const size_t block = size_t(format.channels) * format.bits / 8;
            format.data_offset = body;
            format.data_size = length / block * block;
            if (uint64_t(format.data_size / block) * kSoundRate / format.rate >
                kSoundHeldFramesMax) {
                return WavError::TooLong;
            }
            return WavError::None;
        }
        // Chunks are padded to even lengths.
        const size_t next = body + length + (length & 1);
        if (next <= at || next > size) break;
        at = next;
    }
    return have_format ? WavError::NoData : WavError::NoFormat;
}

void pcm_convert(const int16_t* samples, size_t frames, uint16_t channels, uint32_t rate,
                 Pcm& out) {
    const uint64_t out_frames =
        rate == uint32_t(kSoundRate) ? frames : uint64_t(frames) * kSoundRate / rate;
    out.samples.assign(out_frames * 2, 0);
    auto at = [&](size_t frame, int side) {
        return int32_t(samples[frame * channels + (channels == 2 ? side : 0)]);
    };
    // Positions in the source in 32.32 fixed point.
    const uint64_t step = (uint64_t(rate) << 32) / kSoundRate;
    uint64_t pos = 0;
    for (uint64_t i = 0; i < out_frames; ++i, pos += step) {
        const size_t f = size_t(pos >> 32);
        const int64_t frac = int64_t((pos >> 16) & 0xFFFF);
        for (int side = 0; side < 2; ++side) {
            const int32_t a = at(f, side);
            const int32_t b = f + 1 < frames ? at(f + 1, side) : a;
            out.samples[i * 2 + side] = int16_t(a + ((b - a) * frac >> 16));
        }
    }
}

WavError wav_decode(const uint8_t* image, size_t size, Pcm& out) {
    WavFormat format;
    const WavError error = wav_parse(image, size, format);
    if (error != WavError::None) return error;
    const uint8_t* data = image + format.data_offset;
    const size_t count = format.data_size / (format.bits / 8);
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i) {
        // 8-bit samples are unsigned around 128.
        samples[i] = format.bits == 8 ? int16_t((int32_t(data[i]) - 128) << 8)
                                      : int16_t(read_u16(data + 2 * i));
    }
    pcm_convert(samples.data(), count / format.channels, format.channels, format.rate, out);
    return WavError::None;
}

}  // namespace qln
