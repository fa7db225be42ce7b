// Sound files in memory, as a raw data buffer hands them to the wave
// commands: libsndfile's readers over the buffer (OGG Vorbis, FLAC, MP3 and
// the rest), the hour's cap and the conversion to the mixer's frames, then
// a few frames played.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

#include "engine/engine.h"
#include "sound/audio_file.h"
#include "sound/mixer.h"
#include "sound/sound_graph.h"

// libsndfile (1.2.0) keeps a Vorbis stream's header info when it refuses the
// stream after reading it; that memory is the library's to lose, not ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:vorbis_info_init\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qln::Pcm pcm;
    if (!qln::audio_image_decode(data, size, pcm)) return 0;
    if (pcm.samples.size() % 2 != 0) __builtin_trap();
    qln::Engine engine;
    engine.shell.host_effects_allowed = false;
    (void)qln::mixer_open(engine);
    (void)qln::sound_wave_start(engine, std::make_shared<qln::Pcm>(std::move(pcm)), true);
    engine.null_platform.now = 20;
    qln::sound_catch_up(engine);
    qln::mixer_close(engine);
    return 0;
}
