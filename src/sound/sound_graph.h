#pragma once
// The mixer graph: every source through the gain of its mixer line, then the
// master line. With an output device the device's thread pulls the samples;
// without one the engine renders them itself up to each tick of the clock
// it sees, so on a virtual clock every sample lands at a known offset.

#include <cstdint>
#include <memory>

#include "engine/sound_state.h"

namespace qln {

struct Engine;

// Starts the sound ticker and opens the output device if the host has one.
void sound_graph_start(Engine& engine);
// Renders what is due, closes the device and drops every voice.
void sound_graph_stop(Engine& engine);

// Fills frames stereo frames from the graph. No allocation, no lock: the
// caller holds the device's lock (or there is no device).
void sound_render(SoundState& sound, int16_t* out, uint32_t frames);

// Without a device: renders the graph up to the clock's tick now.
void sound_catch_up(Engine& engine);

// Keeps the device's thread out of the graph while the engine changes it.
class SoundGraphHold {
  public:
    explicit SoundGraphHold(const Engine& engine);
    ~SoundGraphHold();
    SoundGraphHold(const SoundGraphHold&) = delete;
    SoundGraphHold& operator=(const SoundGraphHold&) = delete;

  private:
    const Engine& engine_;
    bool locked_;
};

// Wave voices on the wave line. start returns the voice's id (0 without a
// mixer).
uint32_t sound_wave_start(Engine& engine, std::shared_ptr<const Pcm> pcm, bool loop);
void sound_waves_stop(Engine& engine);
bool sound_wave_playing(const Engine& engine, uint32_t id);
bool sound_waves_any(const Engine& engine);

// Adds a voice (a media device's: its owner, line, first and end frames
// set) at the clock's tick now; its id, or 0 without a mixer.
uint32_t sound_voice_add(Engine& engine, WaveVoice voice);
void sound_voices_stop(Engine& engine, uint32_t owner);
// The voice of id, or nullptr once it has been dropped.
const WaveVoice* sound_voice_find(const Engine& engine, uint32_t id);

}  // namespace qln
