#pragma once
// CD audio from track files, found under the names players already use:
// trackNN, TrackNN, trackN or NN with .ogg, .flac, .mp3 or .wav (any case),
// in cd/, CD/, bgm/, the game's directory, or the folder given with --cd.
// A cue sheet with one image (cd.cue, disc.cue or game.cue there, or the
// sheet given with --cd) gives the tracks of that image. Track 1 is the
// data track.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/sound_state.h"

namespace qln {

struct Engine;

// The tracks of the first folder that holds any, in number order; folders
// are scenario-relative ("cd": through the save folder overlay and the
// sandbox) or host paths the player gave ("/home/.../rip": as they are).
std::vector<CdTrack> cd_tracks_find(Engine& engine, const std::vector<std::string>& folders);

}  // namespace qln
