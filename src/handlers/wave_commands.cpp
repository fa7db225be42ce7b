// Wave playback: one wave sound at a time, from a file or from the image in
// a raw data buffer: RIFF WAVE, or any sound file libsndfile reads (OGG
// Vorbis, FLAC, MP3, ...). The image is decoded into the voice's own
// samples, so a buffer freed or replaced while it plays is never read again.

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/limits.h"
#include "commands/command_table.h"
#include "engine/engine.h"
#include "files/file_paths.h"
#include "platform/host_files.h"
#include "run/run_loop.h"
#include "sound/audio_file.h"
#include "sound/sound_graph.h"
#include "sound/wav_decode.h"
#include "tables/tables.h"

namespace qln {
namespace {

constexpr int32_t kAccepted = 0, kRefused = 1;

// A RIFF WAVE image through the wave decoder; anything it refuses (another
// format, or WAVE samples it does not convert, such as ADPCM) through
// libsndfile.
bool image_decode(const uint8_t* image, size_t size, Pcm& pcm) {
    return wav_decode(image, size, pcm) == WavError::None || audio_image_decode(image, size, pcm);
}

bool is_riff_file(const std::string& host_path) {
    HostFile file;
    uint8_t head[4];
    return file.open(host_path) && file.read_at(0, head, 4) && std::memcmp(head, "RIFF", 4) == 0;
}

// A file: a WAVE file read whole as its buffer would be (within the cap of
// any file read whole), anything else decoded from the file.
bool file_decode(const std::string& host_path, Pcm& pcm) {
    if (is_riff_file(host_path)) {
        std::vector<uint8_t> image;
        return host_file_read_all(host_path, image, kFileReadMax) &&
               image_decode(image.data(), image.size(), pcm);
    }
    return audio_file_decode(host_path, pcm);
}

bool may_start(Engine& engine, bool nostop) {
    return engine.sound.mixer_open && !(nostop && sound_waves_any(engine));
}

// Plays pcm with the flags of the wave commands: R1 = 0 when it plays,
// 1 when it was refused (no mixer, no sound decoded, or nostop while a wave
// plays). A wait ends with the sound, or at once for a loop.
int32_t wave_start(Engine& engine, std::shared_ptr<Pcm> pcm, bool loop, bool wait, bool nostop) {
    if (!pcm || !may_start(engine, nostop)) {
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
    // A directory without a system string counts as none; the save folder
    // comes first and a sandbox keeps the read inside the game's folders.
    const std::string path = file_operand_path(engine, op.name(), op.dir());
    std::string host_path;
    auto pcm = std::make_shared<Pcm>();
    if (!may_start(engine, op.nostop() != 0) ||
        !file_host_path(engine, path.c_str(), FileUse::Read, host_path) ||
        !file_decode(host_path, *pcm)) {
        pcm.reset();
    }
    return wave_start(engine, std::move(pcm), op.loop() != 0, op.wait() != 0, op.nostop() != 0);
}

int32_t cmd_wave_play_buf(Engine& engine, const Args& args) {
    const wave_play_buf_operands op(args);
    const int32_t buf_no = op.buf_no();
    const uint8_t* image = buf_get_raw(engine, buf_no);
    if (!image) return err_report(engine, -109, "buf_no = %d", buf_no);
    auto pcm = std::make_shared<Pcm>();
    if (!may_start(engine, op.nostop() != 0) ||
        !image_decode(image, buf_size(engine, buf_no), *pcm)) {
        pcm.reset();
    }
    return wave_start(engine, std::move(pcm), op.loop() != 0, op.wait() != 0, op.nostop() != 0);
}

int32_t cmd_wave_stop(Engine& engine, const Args&) {
    sound_waves_stop(engine);
    return 0;
}

}  // namespace qln
