#pragma once
// Track files decoded while they play: the engine decodes a block at a time
// into a ring the renderer drains, so a play never waits for a whole track
// and the device's thread never touches a file.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/sound_state.h"

namespace qln {

// frames frames of a file from frame from (the mixer's rate). A piece
// without a file (a data track), or the rest of a file shorter than it said,
// plays as silence of its length, so positions stay where the disc says. A
// file that no longer opens ends the stream there: the play has failed.
struct TrackPiece {
    std::string host_path;  // empty: silence
    bool raw = false;
    uint64_t from = 0, frames = 0;
};

// About 1.5 s of sound ahead of the renderer.
inline constexpr uint32_t kStreamRingFrames = 65536;
// A ring that runs dry fades out over its last frames, and the stream fades
// in again over its next ones (about 6 ms).
inline constexpr uint32_t kStreamRampFrames = 256;

// A stream of the pieces one after the other, again from the first when
// loop is set; it has decoded its first block when this returns.
std::shared_ptr<TrackStream> track_stream_open(std::vector<TrackPiece> pieces, bool loop);
std::shared_ptr<StreamRing> track_stream_ring(const TrackStream& stream);

// Decodes up to max_blocks more blocks while the ring has room for them;
// after the ring ran dry, the first frames fade in.
void track_stream_fill(TrackStream& stream, uint32_t max_blocks);

// Whether the stream ended early because a file of it would not open.
bool track_stream_failed(const TrackStream& stream);

}  // namespace qln
