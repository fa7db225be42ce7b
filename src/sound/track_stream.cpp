#include "sound/track_stream.h"

#include <algorithm>

#include "sound/audio_file.h"

namespace qln {
namespace {

constexpr uint32_t kBlockFrames = 4096;

void fade_in(int16_t* frames, uint32_t count) {
    for (uint32_t i = 0; i < std::min(count, kStreamRampFrames); ++i) {
        frames[2 * i] = int16_t(frames[2 * i] * int32_t(i) / int32_t(kStreamRampFrames));
        frames[2 * i + 1] = int16_t(frames[2 * i + 1] * int32_t(i) / int32_t(kStreamRampFrames));
    }
}

}  // namespace

struct TrackStream {
    std::vector<TrackPiece> pieces;
    bool loop = false;
    std::shared_ptr<StreamRing> ring;
    size_t piece = 0;
    uint64_t done_in_piece = 0;  // frames of the piece written
    std::unique_ptr<AudioFileReader> reader;
    bool reader_ok = false;
    bool failed = false;  // a piece's file would not open: nothing more is written
    std::vector<int16_t> block = std::vector<int16_t>(size_t(kBlockFrames) * 2);

    void begin_piece() {
        done_in_piece = 0;
        const TrackPiece& p = pieces[piece];
        reader = std::make_unique<AudioFileReader>();
        reader_ok =
            !p.host_path.empty() && reader->open(p.host_path, p.raw) && reader->seek(p.from);
        failed = !p.host_path.empty() && !reader_ok;
    }

    // The next up to kBlockFrames frames into block; false at the end.
    uint32_t next_block() {
        while (piece < pieces.size() && !failed) {
            const TrackPiece& p = pieces[piece];
            const uint64_t left = p.frames - done_in_piece;
            if (left == 0) {
                if (++piece == pieces.size() && loop) piece = 0;
                if (piece == pieces.size()) return 0;
                begin_piece();
                continue;
            }
            const uint32_t want = uint32_t(std::min<uint64_t>(left, kBlockFrames));
            uint32_t got = reader_ok ? reader->read(block.data(), want) : 0;
            if (got < want) {
                std::fill(block.begin() + ptrdiff_t(got) * 2, block.begin() + ptrdiff_t(want) * 2,
                          int16_t(0));
                reader_ok = false;  // the rest of the piece is silence
                got = want;
            }
            done_in_piece += got;
            return got;
        }
        return 0;
    }
};

std::shared_ptr<TrackStream> track_stream_open(std::vector<TrackPiece> pieces, bool loop) {
    auto s = std::make_shared<TrackStream>();
    uint64_t total = 0;
    for (const TrackPiece& p : pieces) total += p.frames;
    s->pieces = std::move(pieces);
    s->loop = loop && total > 0;
    s->ring = std::make_shared<StreamRing>(kStreamRingFrames);
    if (!s->pieces.empty()) s->begin_piece();
    track_stream_fill(*s, 1);
    return s;
}

bool track_stream_failed(const TrackStream& stream) {
    return stream.failed;
}

std::shared_ptr<StreamRing> track_stream_ring(const TrackStream& stream) {
    return stream.ring;
}

void track_stream_fill(TrackStream& s, uint32_t max_blocks) {
    StreamRing& ring = *s.ring;
    if (ring.finished.load(std::memory_order_relaxed)) return;
    for (uint32_t b = 0; b < max_blocks; ++b) {
        const uint64_t written = ring.written.load(std::memory_order_relaxed);
        const uint64_t read = ring.read.load(std::memory_order_acquire);
        if (ring.frames - (written - read) < kBlockFrames) return;
        const uint32_t n = s.next_block();
        if (n == 0) {
            ring.finished.store(true, std::memory_order_release);
            return;
        }
        // The renderer has played all there was, the last frames fading out.
        if (written > 0 && written == read) fade_in(s.block.data(), n);
        for (uint32_t i = 0; i < n; ++i) {
            const size_t at = size_t((written + i) % ring.frames) * 2;
            ring.samples[at] = s.block[size_t(i) * 2];
            ring.samples[at + 1] = s.block[size_t(i) * 2 + 1];
        }
        ring.written.store(written + n, std::memory_order_release);
    }
}

}  // namespace qln
