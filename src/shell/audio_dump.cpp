#include "shell/audio_dump.h"

#include <vector>

#include "engine/engine.h"
#include "platform/host_files.h"
#include "sound/wav_write.h"

namespace qln {

bool audio_dump_write(const Engine& engine, const std::string& host_path) {
    const std::vector<int16_t>& samples = engine.sound.captured;
    const std::vector<uint8_t> wav = wav_encode(samples.data(), samples.size(), kSoundRate, 2);
    return host_file_write_replace(host_path, wav.data(), wav.size());
}

}  // namespace qln
