#include "sound/midi_synth.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstdio>

#include "engine/engine.h"
#include "platform/host_files.h"
#include "sound/sound_graph.h"

namespace qln {
namespace {

constexpr int kFluidBlock = 64;  // the synthesizer's own block of frames

// The synthesizer's messages would be a second report of what the engine
// already says in its own line.
void quiet_log(int, const char*, void*) {}

}  // namespace

struct MidiSynth {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    ~MidiSynth() {
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
    }
};

struct MidiSong {
    std::vector<uint8_t> bytes;
    MidiTiming timing;
    uint64_t frames = 0;
    std::shared_ptr<MidiSynth> synth;  // of the player, kept while it lives
    fluid_player_t* player = nullptr;
    ~MidiSong() { midi_song_stop(*this); }
};

std::shared_ptr<MidiSynth> midi_synth_get(Engine& engine) {
    SoundState& s = engine.sound;
    if (s.synth_tried) return s.synth;
    s.synth_tried = true;
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) {
        fluid_set_log_function(level, quiet_log, nullptr);
    }
    if (host_path_kind(s.soundfont) != HostPathKind::File) {
        std::fprintf(stderr, "quillon: no SoundFont \"%s\"; MIDI plays silent (see --soundfont)\n",
                     s.soundfont.c_str());
        return nullptr;
    }
    auto synth = std::make_shared<MidiSynth>();
    synth->settings = new_fluid_settings();
    if (synth->settings) {
        fluid_settings_setnum(synth->settings, "synth.sample-rate", kSoundRate);
        // One rendering thread (the graph's own) and no locks inside: the
        // graph's hold keeps the engine and the device apart.
        fluid_settings_setint(synth->settings, "synth.cpu-cores", 1);
        fluid_settings_setint(synth->settings, "synth.threadsafe-api", 0);
        fluid_settings_setnum(synth->settings, "synth.gain", 0.5);
        fluid_settings_setstr(synth->settings, "player.timing-source", "sample");
        synth->synth = new_fluid_synth(synth->settings);
    }
    if (!synth->synth || fluid_synth_sfload(synth->synth, s.soundfont.c_str(), 1) == FLUID_FAILED) {
        std::fprintf(stderr, "quillon: SoundFont \"%s\" does not load; MIDI plays silent\n",
                     s.soundfont.c_str());
        return nullptr;
    }
    SoundGraphHold hold(engine);  // the device's thread reads it
    s.synth = std::move(synth);
    return s.synth;
}

void midi_synth_render(MidiSynth& synth, float* left, float* right, uint32_t frames) {
    fluid_synth_write_float(synth.synth, int(frames), left, 0, 1, right, 0, 1);
}

std::shared_ptr<MidiSong> midi_song_open(std::vector<uint8_t> bytes, MidiError& error) {
    auto song = std::make_shared<MidiSong>();
    error = midi_scan(bytes.data(), bytes.size(), song->timing);
    if (error != MidiError::None) return nullptr;
    song->frames = midi_us_at_tick(song->timing, song->timing.last_tick) * kSoundRate / 1000000;
    song->bytes = std::move(bytes);
    return song;
}

uint64_t midi_song_frames(const MidiSong& song) {
    return song.frames;
}

void midi_song_play(MidiSong& song, std::shared_ptr<MidiSynth> synth, uint64_t from, bool loop) {
    midi_song_stop(song);
    if (!synth) return;
    fluid_player_t* player = new_fluid_player(synth->synth);
    if (!player) return;
    if (fluid_player_add_mem(player, song.bytes.data(), song.bytes.size()) != FLUID_OK) {
        delete_fluid_player(player);
        return;
    }
    const uint64_t tick = midi_tick_at_us(song.timing, from * 1000000 / kSoundRate);
    if (tick > 0) fluid_player_seek(player, int(std::min<uint64_t>(tick, INT32_MAX)));
    fluid_player_set_loop(player, loop ? -1 : 1);
    fluid_player_play(player);
    // The player reads its file at its first block: rendered here, so the
    // device's thread never does that (it allocates). The song starts one
    // block (1.5 ms) into its sound.
    float left[kFluidBlock], right[kFluidBlock];
    fluid_synth_write_float(synth->synth, kFluidBlock, left, 0, 1, right, 0, 1);
    song.player = player;
    song.synth = std::move(synth);
}

void midi_song_stop(MidiSong& song) {
    if (!song.player) return;
    fluid_player_stop(song.player);
    delete_fluid_player(song.player);
    fluid_synth_all_sounds_off(song.synth->synth, -1);
    song.player = nullptr;
    song.synth.reset();
}

}  // namespace qln
