#include "sound/audio_file.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/limits.h"
#include "platform/host_files.h"

namespace qln {
namespace {

constexpr uint64_t kMaxFrames = uint64_t(kSoundRate) * 3600;
constexpr uint32_t kSourceBlock = 4096;

// libsndfile reads through a HostFile, or from bytes in memory: the engine
// opens no host file itself and never writes a temporary one.
struct Source {
    HostFile file;
    const uint8_t* bytes = nullptr;  // instead of file
    uint64_t size = 0;
    sf_count_t at = 0;

    bool read(uint64_t offset, uint8_t* dst, size_t len) const {
        if (!bytes) return file.read_at(offset, dst, len);
        std::memcpy(dst, bytes + offset, len);
        return true;
    }
};

sf_count_t source_length(void* user) {
    return sf_count_t(static_cast<Source*>(user)->size);
}

sf_count_t source_seek(sf_count_t offset, int whence, void* user) {
    Source& s = *static_cast<Source*>(user);
    const sf_count_t size = sf_count_t(s.size);
    sf_count_t to = whence == SEEK_SET   ? offset
                    : whence == SEEK_CUR ? s.at + offset
                                         : size + offset;
    s.at = std::clamp<sf_count_t>(to, 0, size);
    return s.at;
}

sf_count_t source_read(void* ptr, sf_count_t count, void* user) {
    Source& s = *static_cast<Source*>(user);
    const sf_count_t left = sf_count_t(s.size) - s.at;
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, left);
    if (n > 0 && !s.read(uint64_t(s.at), static_cast<uint8_t*>(ptr), size_t(n))) return 0;
    s.at += n;
    return n;
}

sf_count_t source_write(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t source_tell(void* user) {
    return static_cast<Source*>(user)->at;
}

}  // namespace

struct AudioFileReader::Impl {
    SF_VIRTUAL_IO io{source_length, source_seek, source_read, source_write, source_tell};
    Source source;
    SNDFILE* file = nullptr;
    SF_INFO info{};
    uint64_t frames = 0;  // at the mixer's rate
    // Positions in the source in 32.32 fixed point, one step per output frame.
    uint64_t step = 0, pos = 0, emitted = 0;
    // Decoded source frames (stereo) from source frame first on; the file
    // has been read up to first + have.
    std::vector<int16_t> decoded;
    std::vector<short> block;
    uint64_t first = 0, have = 0;
    bool at_end = false;

    ~Impl() {
        if (file) sf_close(file);
    }

    bool open_source(bool raw);

    // Reads the next block of the source, keeping from source frame keep on.
    void read_more(uint64_t keep) {
        const uint64_t drop = std::min(keep - first, have);
        std::memmove(decoded.data(), decoded.data() + drop * 2, size_t(have - drop) * 4);
        first += drop;
        have -= drop;
        const int channels = info.channels;
        const sf_count_t n = sf_readf_short(file, block.data(), kSourceBlock);
        if (n <= 0) {
            at_end = true;
            return;
        }
        for (sf_count_t i = 0; i < n; ++i) {
            const short* in = block.data() + size_t(i) * size_t(channels);
            decoded[size_t(have + uint64_t(i)) * 2] = in[0];
            decoded[size_t(have + uint64_t(i)) * 2 + 1] = channels >= 2 ? in[1] : in[0];
        }
        have += uint64_t(n);
    }
};

AudioFileReader::AudioFileReader() : impl_(std::make_unique<Impl>()) {}
AudioFileReader::~AudioFileReader() = default;

bool AudioFileReader::open(const std::string& host_path, bool raw) {
    Impl& f = *impl_;
    if (f.file || !f.source.file.open(host_path)) return false;
    f.source.size = f.source.file.size();
    return f.open_source(raw);
}

bool AudioFileReader::open_memory(const uint8_t* bytes, size_t size) {
    Impl& f = *impl_;
    if (f.file || !bytes) return false;
    f.source.bytes = bytes;
    f.source.size = size;
    return f.open_source(false);
}

bool AudioFileReader::Impl::open_source(bool raw) {
    Impl& f = *this;
    if (raw) {
        f.info.samplerate = kSoundRate;
        f.info.channels = 2;
        f.info.format = SF_FORMAT_RAW | SF_FORMAT_PCM_16 | SF_ENDIAN_LITTLE;
    }
    f.file = sf_open_virtual(&f.io, SFM_READ, &f.info, &f.source);
    if (!f.file || f.info.channels < 1 || f.info.channels > 64 || f.info.samplerate < 1000 ||
        f.info.samplerate > 384000 || f.info.frames < 0) {
        return false;
    }
    const uint32_t rate = uint32_t(f.info.samplerate);
    // Over an hour at its own rate (this also keeps the product below in range).
    if (uint64_t(f.info.frames) > uint64_t(rate) * 3600) return false;
    f.frames = uint64_t(f.info.frames) * kSoundRate / rate;
    f.step = (uint64_t(rate) << 32) / kSoundRate;
    f.decoded.assign(size_t(kSourceBlock) * 2 * 2, 0);
    f.block.assign(size_t(kSourceBlock) * size_t(f.info.channels), 0);
    return f.frames <= kMaxFrames;
}

uint64_t AudioFileReader::frames() const {
    return impl_->frames;
}

bool AudioFileReader::seek(uint64_t frame) {
    Impl& f = *impl_;
    if (!f.file || frame > f.frames) return false;
    f.pos = frame * f.step;
    f.emitted = frame;
    f.first = f.pos >> 32;
    f.have = 0;
    f.at_end = false;
    return sf_seek(f.file, sf_count_t(f.first), SEEK_SET) >= 0;
}

uint32_t AudioFileReader::read(int16_t* out, uint32_t max) {
    Impl& f = *impl_;
    if (!f.file) return 0;
    uint32_t n = 0;
    while (n < max && f.emitted < f.frames) {
        const uint64_t at = f.pos >> 32;
        // Two source frames to interpolate between: at and the one after.
        if (at + 1 >= f.first + f.have && !f.at_end) {
            f.read_more(at);
            continue;
        }
        if (at >= f.first + f.have) break;  // the file ended before its header said
        const int16_t* a = f.decoded.data() + (at - f.first) * 2;
        const int16_t* b = at + 1 < f.first + f.have ? a + 2 : a;
        const int64_t frac = int64_t((f.pos >> 16) & 0xFFFF);
        for (int side = 0; side < 2; ++side) {
            out[2 * n + side] = int16_t(a[side] + ((b[side] - a[side]) * frac >> 16));
        }
        f.pos += f.step;
        ++f.emitted;
        ++n;
    }
    return n;
}

bool audio_file_length(const std::string& host_path, uint64_t& frames, bool raw) {
    AudioFileReader reader;
    if (!reader.open(host_path, raw)) return false;
    frames = reader.frames();
    return true;
}

namespace {

// Grows with what is decoded, not with what the header claims, so a few
// bytes that claim an hour take no more than they hold.
bool decode_all(AudioFileReader& reader, Pcm& out) {
    constexpr uint32_t kChunk = 65536;
    if (reader.frames() > kSoundHeldFramesMax) return false;
    out.samples.clear();
    for (uint64_t at = 0; at < reader.frames();) {
        const uint32_t want = uint32_t(std::min<uint64_t>(reader.frames() - at, kChunk));
        out.samples.resize(size_t(at + want) * 2);
        const uint32_t got = reader.read(out.samples.data() + 2 * at, want);
        at += got;
        out.samples.resize(size_t(at) * 2);
        if (got < want) break;  // a file shorter than its header said
    }
    return true;
}

}  // namespace

bool audio_file_decode(const std::string& host_path, Pcm& out) {
    AudioFileReader reader;
    return reader.open(host_path) && decode_all(reader, out);
}

bool audio_image_decode(const uint8_t* bytes, size_t size, Pcm& out) {
    AudioFileReader reader;
    return reader.open_memory(bytes, size) && decode_all(reader, out);
}

}  // namespace qln
