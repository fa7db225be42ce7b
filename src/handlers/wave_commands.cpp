// Wave playback: one wave sound at a time, from a file or from the image in
// a raw data buffer. The image is decoded into the voice's own samples, so a
// buffer freed or replaced while it plays is never read again.

#include <memory>
#include <string>
#include <vector>

#include "commands/command_table.h"
#include "engine/engine.h"
#include "files/file_read.h"
#include "run/run_loop.h"
#include "sound/sound_graph.h"
#include "sound/wav_decode.h"
#include "tables/tables.h"

namespace qln {
namespace {

constexpr int32_t kAccepted = 0, kRefused = 1;

// Plays image with the flags of the wave commands: R1 = 0 when it plays,
// 1 when it was refused (no mixer, an image that is no wave, or nostop while
// a wave plays). A wait ends with the sound, or at once for a loop.
int32_t wave_start(Engine& engine, const uint8_t* image, size_t size, bool loop, bool wait,
                   bool nostop) {
    auto pcm = std::make_shared<Pcm>();
    if (!engine.sound.mixer_open || (nostop && sound_waves_any(engine)) ||
        wav_decode(image, size, *pcm) != WavError::None) {
        result_set(engine, 1, kRefused);
        return 0;
    }
    sound_waves_stop(engine);
    const uint32_t id = sound_wave_start(engine, std::move(pcm), loop);
    result_set(engine, 1, kAccepted);
    if (wait && !loop) {
        InputState snap;
        while (sound_wave_playing(engine, id)) {
            idle_until_due(engine);
            if (!poll(engine, snap)) break;
        }
    }
    return 0;
}

}  // namespace

int32_t cmd_wave_play(Engine& engine, const Args& args) {
    const wave_play_operands op(args);
    const int32_t dir = op.dir();
    // A directory without a system string counts as none.
    std::string path = dir >= 0 && sysstr_get(engine, dir) ? sysstr_get(engine, dir) : "";
    path += op.name();
    std::vector<uint8_t> image;
    if (!file_read_path(path.c_str(), 0, false, image)) {
        result_set(engine, 1, kRefused);
        return 0;
    }
    return wave_start(engine, image.data(), image.size(), op.loop() != 0, op.wait() != 0,
                      op.nostop() != 0);
}

int32_t cmd_wave_play_buf(Engine& engine, const Args& args) {
    const wave_play_buf_operands op(args);
    const int32_t buf_no = op.buf_no();
    const uint8_t* image = buf_get_raw(engine, buf_no);
    if (!image) return err_report(engine, -109, "buf_no = %d", buf_no);
    return wave_start(engine, image, buf_size(engine, buf_no), op.loop() != 0, op.wait() != 0,
                      op.nostop() != 0);
}

int32_t cmd_wave_stop(Engine& engine, const Args&) {
    sound_waves_stop(engine);
    return 0;
}

}  // namespace qln
