#include "sound/sound_graph.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/tickers.h"
#include "sound/mci.h"
#include "sound/midi_synth.h"
#include "sound/mixer.h"
#include "sound/track_stream.h"

namespace qln {
namespace {

constexpr uint32_t kChunkFrames = 512;
constexpr uint32_t kFadeStepMs = 5;  // how often a running fade moves the gain
// With a device, how often the engine decodes ahead of it: well inside the
// streams' rings.
constexpr uint32_t kStreamFillMs = 50;
constexpr uint32_t kStreamFillBlocks = 4;

struct Gain {
    int32_t left, right;  // 65536 = unity
};

Gain line_gain(const MixerLine& line) {
    auto scale = [&](uint32_t raw) {
        return int32_t((uint64_t(raw) * 65536 + line.maximum / 2) / line.maximum);
    };
    const uint32_t left = line.raw[0];
    const uint32_t right = line.channels == 2 ? line.raw[1] : line.raw[0];
    return Gain{scale(left), scale(right)};
}

void mix_voice(WaveVoice& voice, Gain gain, int32_t* acc, uint32_t frames) {
    const int16_t* samples = voice.pcm->samples.data();
    const uint64_t total = std::min<uint64_t>(voice.pcm->frames(), voice.end_frame);
    uint32_t at = 0;
    while (at < frames && !voice.done) {
        if (voice.frame >= total) {
            if (voice.loop && total > 0) {
                voice.frame = 0;
            } else {
                voice.done = true;
                break;
            }
        }
        const uint32_t n = uint32_t(std::min<uint64_t>(frames - at, total - voice.frame));
        const int16_t* src = samples + voice.frame * 2;
        int32_t* dst = acc + at * 2;
        for (uint32_t i = 0; i < n; ++i) {
            dst[2 * i] += (src[2 * i] * gain.left) >> 16;
            dst[2 * i + 1] += (src[2 * i + 1] * gain.right) >> 16;
        }
        voice.frame += n;
        at += n;
    }
}

// A streamed voice: what the ring holds, at most up to the play's end. A
// ring that runs dry (the engine was held up: a debugger, a long load) plays
// silence and waits, and the track goes on where it stopped when the engine
// decodes again. Short of the stream's end, the last frames the ring holds
// fade out, so running dry makes no click (the engine fades back in).
void mix_ring_voice(WaveVoice& voice, Gain gain, int32_t* acc, uint32_t frames) {
    StreamRing& ring = *voice.ring;
    if (voice.end_frame == 0) {
        voice.done = true;
        return;
    }
    const bool finished = ring.finished.load(std::memory_order_acquire);
    const uint64_t written = ring.written.load(std::memory_order_acquire);
    const uint64_t read = ring.read.load(std::memory_order_relaxed);
    const uint64_t held = written - read;
    const uint64_t to_end = voice.end_frame - std::min(voice.frame, voice.end_frame);
    uint64_t n = std::min<uint64_t>(frames, held);
    if (!voice.loop) n = std::min(n, to_end);
    const bool ends_in_ring = finished || (!voice.loop && to_end <= held);
    uint64_t at = read % ring.frames;
    for (uint64_t i = 0; i < n; ++i) {
        int32_t left = ring.samples[at * 2], right = ring.samples[at * 2 + 1];
        const uint64_t after = held - i - 1;  // frames the ring holds after this one
        if (!ends_in_ring && after < kStreamRampFrames) {
            left = left * int32_t(after) / int32_t(kStreamRampFrames);
            right = right * int32_t(after) / int32_t(kStreamRampFrames);
        }
        acc[2 * i] += (left * gain.left) >> 16;
        acc[2 * i + 1] += (right * gain.right) >> 16;
        if (++at == ring.frames) at = 0;
    }
    ring.read.store(read + n, std::memory_order_release);
    voice.frame += n;
    if (voice.loop) {
        voice.frame %= voice.end_frame;
    } else if (voice.frame >= voice.end_frame || (finished && read + n == written)) {
        voice.done = true;
    }
}

// A sequencer's voice only keeps its position: the synthesizer plays it.
void count_midi_voice(WaveVoice& voice, uint32_t frames) {
    voice.frame += frames;
    if (voice.end_frame == 0) {
        voice.done = true;
    } else if (voice.loop) {
        voice.frame %= voice.end_frame;
    } else if (voice.frame >= voice.end_frame) {
        voice.frame = voice.end_frame;
        voice.done = true;
    }
}

void mix_synth(SoundState& sound, Gain gain, int32_t* acc, uint32_t frames) {
    float left[kChunkFrames], right[kChunkFrames];
    midi_synth_render(*sound.synth, left, right, frames);
    auto level = [](float v) { return int32_t(std::clamp(v, -1.0f, 1.0f) * 32767.0f); };
    for (uint32_t i = 0; i < frames; ++i) {
        acc[2 * i] += (level(left[i]) * gain.left) >> 16;
        acc[2 * i + 1] += (level(right[i]) * gain.right) >> 16;
    }
}

int16_t clip(int64_t v) {
    return int16_t(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX));
}

void render_chunk(SoundState& sound, int16_t* out, uint32_t frames) {
    int32_t acc[kChunkFrames * 2] = {};
    bool midi = false;
    for (WaveVoice& voice : sound.waves) {
        if (voice.done) continue;
        if (voice.midi) {
            midi = true;
            count_midi_voice(voice, frames);
        } else if (voice.ring) {
            mix_ring_voice(voice, line_gain(sound.lines[voice.line]), acc, frames);
        } else {
            mix_voice(voice, line_gain(sound.lines[voice.line]), acc, frames);
        }
    }
    if (midi && sound.synth) mix_synth(sound, line_gain(sound.lines[kLineSynth]), acc, frames);
    const Gain master = line_gain(sound.lines[kLineMaster]);
    for (uint32_t i = 0; i < frames; ++i) {
        out[2 * i] = clip((int64_t(acc[2 * i]) * master.left) >> 16);
        out[2 * i + 1] = clip((int64_t(acc[2 * i + 1]) * master.right) >> 16);
    }
}

bool any_fading(const SoundState& sound) {
    for (const MixerLine& line : sound.lines)
        if (line.available && line.fading) return true;
    return false;
}

bool sound_active(const Engine& engine) {
    const SoundState& s = engine.sound;
    return s.mixer_open && (!s.device_open || any_fading(s) || !s.waves.empty());
}

void drop_ended_voices(Engine& engine) {
    std::vector<WaveVoice>& waves = engine.sound.waves;
    // The pcm blocks are released after the hold, away from the device.
    std::vector<WaveVoice> ended;
    {
        SoundGraphHold hold(engine);
        if (std::none_of(waves.begin(), waves.end(), [](const WaveVoice& v) { return v.done; })) {
            return;
        }
        auto end = std::stable_partition(waves.begin(), waves.end(),
                                         [](const WaveVoice& v) { return !v.done; });
        ended.assign(std::make_move_iterator(end), std::make_move_iterator(waves.end()));
        waves.erase(end, waves.end());
    }
}

// Decodes ahead for every stream that plays: up to blocks blocks each.
void streams_fill(Engine& engine, uint32_t blocks) {
    for (MediaDevice& d : engine.sound.media)
        if (d.stream) track_stream_fill(*d.stream, blocks);
}

bool sound_run(Engine& engine, uint32_t now) {
    (void)now;
    sound_catch_up(engine);
    if (engine.sound.device_open) streams_fill(engine, kStreamFillBlocks);
    vol_fade_tick(engine, engine.sound.last_tick);
    mci_poll(engine);
    drop_ended_voices(engine);
    return true;
}

// Frames until a voice that does not loop plays its last one.
uint64_t frames_left(const WaveVoice& v) {
    const uint64_t end = v.pcm ? std::min(v.pcm->frames(), v.end_frame) : v.end_frame;
    return end > v.frame ? end - v.frame : 0;
}

uint32_t sound_due_in(const Engine& engine, uint32_t) {
    const SoundState& s = engine.sound;
    if (any_fading(s)) return kFadeStepMs;
    // A voice's end is due when its last frame is: a wave wait ends and a
    // notification is posted then, not at the next idle sleep's end.
    uint64_t soonest = UINT64_MAX;
    SoundGraphHold hold(engine);
    for (const WaveVoice& v : s.waves) {
        if (v.done) return 0;
        if (s.device_open && v.ring) soonest = std::min<uint64_t>(soonest, kStreamFillMs);
        if (v.loop) continue;
        soonest = std::min(soonest, frames_left(v) * 1000 / kSoundRate + 1);
    }
    return soonest == UINT64_MAX ? kTickerIdle : uint32_t(std::min<uint64_t>(soonest, 1000));
}

void device_render(void* context, int16_t* samples, uint32_t frames) {
    sound_render(*static_cast<SoundState*>(context), samples, frames);
}

}  // namespace

SoundGraphHold::SoundGraphHold(const Engine& engine)
    : engine_(engine), locked_(engine.sound.device_open) {
    if (locked_) engine_.platform.audio->audio_lock();
}

SoundGraphHold::~SoundGraphHold() {
    if (locked_) engine_.platform.audio->audio_unlock();
}

void sound_render(SoundState& sound, int16_t* out, uint32_t frames) {
    while (frames > 0) {
        const uint32_t n = std::min(frames, kChunkFrames);
        render_chunk(sound, out, n);
        out += n * 2;
        frames -= n;
    }
}

void sound_catch_up(Engine& engine) {
    SoundState& s = engine.sound;
    if (!s.mixer_open || s.device_open) return;
    const uint32_t now = engine.platform.clock->ticks();
    s.elapsed_ms += uint32_t(now - s.last_tick);
    s.last_tick = now;
    const uint64_t due = s.elapsed_ms * kSoundRate / 1000;
    if (due <= s.rendered_frames) return;
    const uint64_t frames = due - s.rendered_frames;
    s.rendered_frames = due;
    if (s.waves.empty() && !s.capture) return;
    int16_t chunk[kChunkFrames * 2];
    for (uint64_t left = frames; left > 0;) {
        const uint32_t n = uint32_t(std::min<uint64_t>(left, kChunkFrames));
        streams_fill(engine, 1);  // on the clock the engine sees, decoding is never late
        if (s.waves.empty()) {
            std::fill(chunk, chunk + n * 2, int16_t(0));
        } else {
            sound_render(s, chunk, n);
        }
        if (s.capture) s.captured.insert(s.captured.end(), chunk, chunk + n * 2);
        left -= n;
    }
}

void sound_graph_start(Engine& engine) {
    SoundState& s = engine.sound;
    s.last_tick = engine.platform.clock->ticks();
    s.elapsed_ms = 0;
    s.rendered_frames = 0;
    s.device_open =
        engine.platform.audio->audio_open(AudioFormat{kSoundRate, 2}, device_render, &engine.sound);
    ticker_add(engine, Ticker{"sound", kTickerOrderSound, sound_active, sound_run, sound_due_in});
}

void sound_graph_stop(Engine& engine) {
    SoundState& s = engine.sound;
    sound_catch_up(engine);
    if (s.device_open) engine.platform.audio->audio_close();
    s.device_open = false;
    s.waves.clear();
}

uint32_t sound_voice_add(Engine& engine, WaveVoice voice) {
    SoundState& s = engine.sound;
    if (!s.mixer_open) return 0;
    sound_catch_up(engine);  // the voice starts at this tick, not at the last one rendered
    voice.id = s.next_voice_id++;
    if (s.next_voice_id == 0) s.next_voice_id = 1;
    if (voice.line >= kMixerLines) voice.line = kLineWave;
    voice.done = false;
    const uint32_t id = voice.id;
    SoundGraphHold hold(engine);
    s.waves.push_back(std::move(voice));
    return id;
}

uint32_t sound_wave_start(Engine& engine, std::shared_ptr<const Pcm> pcm, bool loop) {
    if (!pcm) return 0;
    WaveVoice voice;
    voice.pcm = std::move(pcm);
    voice.loop = loop;
    return sound_voice_add(engine, std::move(voice));
}

void sound_voices_stop(Engine& engine, uint32_t owner) {
    if (!engine.sound.mixer_open) return;
    sound_catch_up(engine);
    std::vector<WaveVoice>& waves = engine.sound.waves;
    std::vector<WaveVoice> stopped;
    {
        SoundGraphHold hold(engine);
        auto end = std::stable_partition(waves.begin(), waves.end(),
                                         [owner](const WaveVoice& v) { return v.owner != owner; });
        stopped.assign(std::make_move_iterator(end), std::make_move_iterator(waves.end()));
        waves.erase(end, waves.end());
    }
}

void sound_waves_stop(Engine& engine) {
    sound_voices_stop(engine, 0);
}

const WaveVoice* sound_voice_find(const Engine& engine, uint32_t id) {
    for (const WaveVoice& v : engine.sound.waves)
        if (v.id == id) return &v;
    return nullptr;
}

bool sound_wave_playing(const Engine& engine, uint32_t id) {
    SoundGraphHold hold(engine);
    for (const WaveVoice& v : engine.sound.waves)
        if (v.id == id) return !v.done;
    return false;
}

bool sound_waves_any(const Engine& engine) {
    SoundGraphHold hold(engine);
    for (const WaveVoice& v : engine.sound.waves)
        if (!v.done && v.owner == 0) return true;
    return false;
}

}  // namespace qln
