#include "sound/audio_file.h"

#include <sndfile.h>

#include <algorithm>
#include <vector>

#include "platform/host_files.h"
#include "sound/wav_decode.h"

namespace qln {
namespace {

constexpr uint64_t kMaxFrames = uint64_t(kSoundRate) * 3600;

// libsndfile reads through a HostFile: the engine opens no host file itself.
struct Source {
    HostFile file;
    sf_count_t at = 0;
};

sf_count_t source_length(void* user) {
    return sf_count_t(static_cast<Source*>(user)->file.size());
}

sf_count_t source_seek(sf_count_t offset, int whence, void* user) {
    Source& s = *static_cast<Source*>(user);
    const sf_count_t size = sf_count_t(s.file.size());
    sf_count_t to = whence == SEEK_SET   ? offset
                    : whence == SEEK_CUR ? s.at + offset
                                         : size + offset;
    s.at = std::clamp<sf_count_t>(to, 0, size);
    return s.at;
}

sf_count_t source_read(void* ptr, sf_count_t count, void* user) {
    Source& s = *static_cast<Source*>(user);
    const sf_count_t left = sf_count_t(s.file.size()) - s.at;
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, left);
    if (n > 0 && !s.file.read_at(uint64_t(s.at), static_cast<uint8_t*>(ptr), size_t(n))) return 0;
    s.at += n;
    return n;
}

sf_count_t source_write(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t source_tell(void* user) {
    return static_cast<Source*>(user)->at;
}

struct Opened {
    SF_VIRTUAL_IO io{source_length, source_seek, source_read, source_write, source_tell};
    Source source;
    SNDFILE* file = nullptr;
    SF_INFO info{};
    ~Opened() {
        if (file) sf_close(file);
    }
    bool open(const std::string& host_path) {
        if (!source.file.open(host_path)) return false;
        file = sf_open_virtual(&io, SFM_READ, &info, &source);
        return file && info.channels >= 1 && info.samplerate >= 1000 && info.samplerate <= 384000 &&
               info.frames >= 0;
    }
};

}  // namespace

bool audio_file_length(const std::string& host_path, uint64_t& frames) {
    Opened f;
    if (!f.open(host_path)) return false;
    frames = uint64_t(f.info.frames) * kSoundRate / uint64_t(f.info.samplerate);
    return frames <= kMaxFrames;
}

bool audio_file_decode(const std::string& host_path, Pcm& out) {
    Opened f;
    if (!f.open(host_path)) return false;
    const int channels = f.info.channels;
    // Two channels at most: the first two of a wider file.
    const uint16_t kept = uint16_t(std::min(channels, 2));
    std::vector<int16_t> samples;
    std::vector<short> block(size_t(4096) * size_t(channels));
    for (;;) {
        const sf_count_t n = sf_readf_short(f.file, block.data(), 4096);
        if (n <= 0) break;
        for (sf_count_t i = 0; i < n; ++i)
            for (uint16_t c = 0; c < kept; ++c) samples.push_back(block[size_t(i) * channels + c]);
        if (samples.size() / kept > kMaxFrames) return false;
    }
    pcm_convert(samples.data(), samples.size() / kept, kept, uint32_t(f.info.samplerate), out);
    return true;
}

}  // namespace qln
