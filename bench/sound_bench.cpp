// The mixer graph's cost per second of audio with one OGG track, one MIDI
// file and four waves playing (decoding ahead and the synthesizer
// included), beside what FluidSynth alone takes to render the same MIDI
// file and libsndfile alone to decode the same OGG; and how soon after a
// play its first sample is in a device buffer of the SDL device's size.

#include <benchmark/benchmark.h>
#include <fluidsynth.h>
#include <sndfile.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "sound/mci.h"
#include "sound/mixer.h"
#include "sound/sound_graph.h"
#include "support/temp_dir.h"

namespace {

constexpr int kRate = 44100;
constexpr uint32_t kDeviceFrames = 512;  // the SDL device's buffer
constexpr const char* kSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

// Ten seconds of two tones as OGG Vorbis.
void write_ogg(const std::string& path) {
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 2;
    info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!f) return;
    std::vector<short> samples(size_t(kRate) * 10 * 2);
    for (size_t i = 0; i < samples.size() / 2; ++i) {
        samples[2 * i] = short(8000 * std::sin(double(i) * 2 * M_PI * 440 / kRate));
        samples[2 * i + 1] = short(8000 * std::sin(double(i) * 2 * M_PI * 660 / kRate));
    }
    sf_writef_short(f, samples.data(), sf_count_t(samples.size() / 2));
    sf_close(f);
}

void put_number(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t bytes[4];
    int n = 0;
    do {
        bytes[n++] = uint8_t(v & 0x7F);
        v >>= 7;
    } while (v);
    while (n > 1) out.push_back(bytes[--n] | 0x80);
    out.push_back(bytes[0]);
}

// A minute of four-note chords on four channels, a chord every quarter.
std::vector<uint8_t> busy_midi() {
    std::vector<uint8_t> ev;
    for (uint8_t ch = 0; ch < 4; ++ch) {
        ev.insert(ev.end(), {0x00, uint8_t(0xC0 | ch), uint8_t(ch * 8)});
    }
    for (int beat = 0; beat < 120; ++beat) {
        for (uint8_t ch = 0; ch < 4; ++ch) {
            ev.insert(ev.end(), {0x00, uint8_t(0x90 | ch), uint8_t(48 + ch * 7 + beat % 12), 90});
        }
        for (uint8_t ch = 0; ch < 4; ++ch) {
            put_number(ev, ch == 0 ? 480 : 0);
            ev.insert(ev.end(), {uint8_t(0x80 | ch), uint8_t(48 + ch * 7 + beat % 12), 0});
        }
    }
    ev.insert(ev.end(), {0x00, 0xFF, 0x2F, 0x00});
    std::vector<uint8_t> out = {'M', 'T', 'h', 'd',  0,    0,   0,   6,   0,
                                0,   0,   1,   0x01, 0xE0, 'M', 'T', 'r', 'k'};
    const uint32_t len = uint32_t(ev.size());
    out.insert(out.end(),
               {uint8_t(len >> 24), uint8_t(len >> 16), uint8_t(len >> 8), uint8_t(len)});
    out.insert(out.end(), ev.begin(), ev.end());
    return out;
}

struct Files {
    qln::test::TempDir dir;
    Files() {
        write_ogg(dir.str() + "/track.ogg");
        dir.write("song.mid", busy_midi());
    }
};

Files& files() {
    static Files f;
    return f;
}

// An engine with the graph playing: the track and the song looping, and
// four looping waves of a second each.
struct Playing {
    qln::Engine engine;
    Playing(bool midi, bool ogg, int waves) {
        engine.shell.host_effects_allowed = false;
        std::filesystem::current_path(files().dir.path());
        (void)qln::mixer_open(engine);
        if (ogg) (void)qln::mci_send(engine, "play track.ogg repeat");
        if (midi) (void)qln::mci_send(engine, "play song.mid repeat");
        for (int w = 0; w < waves; ++w) {
            auto pcm = std::make_shared<qln::Pcm>();
            pcm->samples.assign(size_t(kRate) * 2, int16_t(100 * (w + 1)));
            (void)qln::sound_wave_start(engine, pcm, true);
        }
    }
};

// One second of audio rendered as the headless graph renders it: decoding
// ahead, the synthesizer, the waves, the lines and the master.
void BM_MixerSecondOggMidiFourWaves(benchmark::State& state) {
    Playing p(true, true, 4);
    for (auto _ : state) {
        p.engine.null_platform.now += 1000;
        qln::sound_catch_up(p.engine);
    }
    state.counters["share_of_a_core"] = benchmark::Counter(
        double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MixerSecondOggMidiFourWaves)->Unit(benchmark::kMillisecond);

// The reference: FluidSynth rendering the same song for a second, alone.
void BM_FluidSynthSecondAlone(benchmark::State& state) {
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", kRate);
    fluid_settings_setint(settings, "synth.cpu-cores", 1);
    fluid_settings_setint(settings, "synth.threadsafe-api", 0);
    fluid_settings_setnum(settings, "synth.gain", 0.5);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_synth_t* synth = new_fluid_synth(settings);
    fluid_synth_sfload(synth, kSoundFont, 1);
    fluid_player_t* player = new_fluid_player(synth);
    const std::vector<uint8_t> song = busy_midi();
    fluid_player_add_mem(player, song.data(), song.size());
    fluid_player_set_loop(player, -1);
    fluid_player_play(player);
    std::vector<float> left(kDeviceFrames), right(kDeviceFrames);
    for (auto _ : state) {
        for (int i = 0; i < kRate; i += int(kDeviceFrames)) {
            fluid_synth_write_float(synth, int(kDeviceFrames), left.data(), 0, 1, right.data(), 0,
                                    1);
        }
        benchmark::DoNotOptimize(left.data());
    }
    delete_fluid_player(player);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
}
BENCHMARK(BM_FluidSynthSecondAlone)->Unit(benchmark::kMillisecond);

// The reference: libsndfile decoding a second of the same OGG, alone.
void BM_LibsndfileOggSecondAlone(benchmark::State& state) {
    SF_INFO info{};
    SNDFILE* f = sf_open((files().dir.str() + "/track.ogg").c_str(), SFM_READ, &info);
    std::vector<short> block(size_t(kRate) * 2);
    for (auto _ : state) {
        if (sf_readf_short(f, block.data(), kRate) < kRate) sf_seek(f, 0, SEEK_SET);
        benchmark::DoNotOptimize(block.data());
    }
    sf_close(f);
}
BENCHMARK(BM_LibsndfileOggSecondAlone)->Unit(benchmark::kMillisecond);

// The graph alone: four waves, no decoding, no synthesizer.
void BM_MixerSecondFourWaves(benchmark::State& state) {
    Playing p(false, false, 4);
    for (auto _ : state) {
        p.engine.null_platform.now += 1000;
        qln::sound_catch_up(p.engine);
    }
}
BENCHMARK(BM_MixerSecondFourWaves)->Unit(benchmark::kMillisecond);

// A play as the scenario thread pays for it (the first block decoded), and
// then device buffers of 512 frames rendered until the first sound: the
// latency counts a whole buffer of waiting plus the frames before it.
void BM_PlayToFirstSample(benchmark::State& state, const char* play, const char* stop) {
    Playing p(false, false, 0);
    // Sound played by the device, so the graph is rendered only here.
    p.engine.sound.device_open = true;
    std::vector<int16_t> buffer(kDeviceFrames * 2);
    uint64_t frames = 0;
    for (auto _ : state) {
        (void)qln::mci_send(p.engine, play);
        state.PauseTiming();
        frames = 0;
        for (bool heard = false; !heard && frames < uint64_t(kRate);) {
            qln::sound_render(p.engine.sound, buffer.data(), kDeviceFrames);
            for (uint32_t i = 0; i < kDeviceFrames && !heard; ++i, ++frames) {
                heard = buffer[2 * i] != 0 || buffer[2 * i + 1] != 0;
            }
        }
        (void)qln::mci_send(p.engine, stop);
        state.ResumeTiming();
    }
    p.engine.sound.device_open = false;
    state.counters["latency_ms"] = double(frames + kDeviceFrames) * 1000.0 / kRate;
}
BENCHMARK_CAPTURE(BM_PlayToFirstSample, ogg, "play track.ogg from 0", "stop track.ogg")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PlayToFirstSample, midi, "play song.mid from 0", "stop song.mid")
    ->Unit(benchmark::kMicrosecond);

}  // namespace
