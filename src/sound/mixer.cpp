#include "sound/mixer.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/tickers.h"
#include "sound/sound_graph.h"
#include "sound/volume_store.h"

namespace qln {
namespace {

MixerLine* usable_line(Engine& engine, uint32_t line) {
    if (!engine.sound.mixer_open || line >= kMixerLines) return nullptr;
    MixerLine& l = engine.sound.lines[line];
    return l.available ? &l : nullptr;
}

uint32_t raw_of(uint32_t value, uint32_t maximum) {
    return uint32_t(uint64_t(std::min(value, kVolumeScale)) * maximum / kVolumeScale);
}

}  // namespace

bool mixer_open(Engine& engine) {
    SoundState& s = engine.sound;
    for (MixerLine& line : s.lines) line = MixerLine{};
    for (MixerLine& line : s.lines) line.available = true;
    volumes_load(engine);
    s.mixer_open = true;
    sound_graph_start(engine);
    return true;
}

void mixer_close(Engine& engine) {
    SoundState& s = engine.sound;
    if (!s.mixer_open) return;
    sound_graph_stop(engine);
    if (s.volumes_changed) volumes_store(engine);
    s.mixer_open = false;
}

void mixer_line_configure(Engine& engine, uint32_t line, uint8_t channels, uint32_t maximum) {
    if (line >= kMixerLines || maximum == 0) return;
    SoundGraphHold hold(engine);
    MixerLine& l = engine.sound.lines[line];
    l.channels = channels;
    l.maximum = maximum;
    l.raw[0] = l.raw[1] = maximum;
}

bool vol_read(const Engine& engine, uint32_t line, VolumeReading& out) {
    if (!engine.sound.mixer_open || line >= kMixerLines) return false;
    const MixerLine& l = engine.sound.lines[line];
    if (!l.available) return false;
    out.first = uint32_t(uint64_t(l.raw[0]) * kVolumeScale / l.maximum);
    out.second =
        l.channels == 2 ? uint32_t(uint64_t(l.raw[1]) * kVolumeScale / l.maximum) : out.first;
    out.fading = l.fading;
    return true;
}

bool vol_write(Engine& engine, uint32_t line, int32_t first, int32_t second) {
    MixerLine* l = usable_line(engine, line);
    if (!l) return false;
    sound_catch_up(engine);  // what played so far keeps the old gain
    uint32_t raw[2] = {l->raw[0], l->raw[1]};
    if (l->channels == 2) {
        if (first >= 0) raw[0] = raw_of(uint32_t(first), l->maximum);
        if (second >= 0) raw[1] = raw_of(uint32_t(second), l->maximum);
    } else if (first >= 0 || second >= 0) {
        // The average of the two sides; a kept side counts with its raw
        // value, so keeping both sides changes nothing.
        const uint64_t max = l->maximum;
        const uint64_t a = first >= 0 ? std::min(uint32_t(first), kVolumeScale) * max
                                      : uint64_t(l->raw[0]) * kVolumeScale;
        const uint64_t b = second >= 0 ? std::min(uint32_t(second), kVolumeScale) * max
                                       : uint64_t(l->raw[0]) * kVolumeScale;
        raw[0] = raw[1] = uint32_t((a + b) / (2 * kVolumeScale));
    }
    if (raw[0] != l->raw[0] || raw[1] != l->raw[1]) {
        SoundGraphHold hold(engine);
        l->raw[0] = raw[0];
        l->raw[1] = raw[1];
        engine.sound.volumes_changed = true;
    }
    return true;
}

bool vol_fade_start(Engine& engine, uint32_t line, int32_t t0, int32_t t1, int32_t duration) {
    MixerLine* l = usable_line(engine, line);
    VolumeReading now_at;
    if (!l || !vol_read(engine, line, now_at)) return false;
    l->target[0] = uint16_t(std::min<uint32_t>(uint16_t(t0), kVolumeScale));
    l->target[1] = uint16_t(std::min<uint32_t>(uint16_t(t1), kVolumeScale));
    l->start[0] = uint16_t(now_at.first);
    l->start[1] = uint16_t(now_at.second);
    l->start_time = engine.platform.clock->ticks();
    l->duration = uint16_t(duration);
    l->fading = true;
    return true;
}

void vol_fade_tick(Engine& engine, uint32_t now) {
    for (uint32_t line = 0; line < kMixerLines; ++line) {
        MixerLine& l = engine.sound.lines[line];
        if (!l.available || !l.fading) continue;
        // Unsigned subtraction is the wrap-around difference of two tick counts.
        const uint32_t elapsed = std::min(now - l.start_time, l.duration);
        int32_t v[2] = {l.target[0], l.target[1]};
        if (l.duration != 0) {
            for (int side = 0; side < 2; ++side) {
                const int32_t from = l.start[side];
                v[side] = from + (l.target[side] - from) * int32_t(elapsed) / int32_t(l.duration);
            }
        }
        (void)vol_write(engine, line, v[0], v[1]);
        if (v[0] == l.target[0] && v[1] == l.target[1]) l.fading = false;
    }
}

bool vol_fade_finish(Engine& engine, uint32_t line) {
    MixerLine* l = usable_line(engine, line);
    if (!l || !l->fading) return false;
    (void)vol_write(engine, line, l->target[0], l->target[1]);
    l->fading = false;
    return true;
}

}  // namespace qln
