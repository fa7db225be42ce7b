#pragma once
// MIDI through FluidSynth: one synthesizer with a General MIDI SoundFont,
// rendered by the mixer graph itself (no FluidSynth audio driver, no
// FluidSynth thread), and one player for each MIDI file a sequencer plays,
// driven by the samples rendered, so a run on the virtual clock renders the
// same notes at the same samples every time.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/sound_state.h"
#include "sound/midi_file.h"

namespace qln {

struct Engine;

// The engine's synthesizer, loaded with sound.soundfont when a sequencer
// first needs it; nullptr when the SoundFont cannot be loaded (said once,
// in one line on stderr: the sequencer then plays silence).
std::shared_ptr<MidiSynth> midi_synth_get(Engine& engine);

// Renders frames frames of the synthesizer into left and right (-1..1).
// The caller keeps other threads out.
void midi_synth_render(MidiSynth& synth, float* left, float* right, uint32_t frames);

// A MIDI file for a sequencer: its timing, and its bytes for the player.
std::shared_ptr<MidiSong> midi_song_open(std::vector<uint8_t> bytes, MidiError& error);
// The length in the mixer's frames.
uint64_t midi_song_frames(const MidiSong& song);
// Starts a new player at frame from (looping when loop is set), after any
// earlier one has gone. The caller holds the graph.
void midi_song_play(MidiSong& song, std::shared_ptr<MidiSynth> synth, uint64_t from, bool loop);
// Ends the player and silences its notes. The caller holds the graph.
void midi_song_stop(MidiSong& song);

}  // namespace qln
