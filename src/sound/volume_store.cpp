#include "sound/volume_store.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "platform/host_files.h"

namespace qln {
namespace {

constexpr const char* kHeader = "quillon mixer volumes 1";
constexpr uint64_t kMaxFileSize = 4096;

// One "line L R" row: the line number and its two raw values.
bool parse_row(const std::string& row, uint32_t& line, uint32_t raw[2]) {
    unsigned l = 0, a = 0, b = 0;
    char tail = 0;
    if (std::sscanf(row.c_str(), "%u %u %u %c", &l, &a, &b, &tail) != 3) return false;
    if (l >= kMixerLines || a > kRawVolumeMax || b > kRawVolumeMax) return false;
    line = l;
    raw[0] = a;
    raw[1] = b;
    return true;
}

}  // namespace

void volumes_load(Engine& engine) {
    SoundState& s = engine.sound;
    std::vector<uint8_t> bytes;
    if (s.volume_path.empty() || !host_file_read_all(s.volume_path, bytes, kMaxFileSize)) return;
    const std::string text(bytes.begin(), bytes.end());
    size_t at = text.find('\n');
    if (at == std::string::npos || text.compare(0, at, kHeader) != 0) return;
    while (++at < text.size()) {
        const size_t end = std::min(text.find('\n', at), text.size());
        uint32_t line = 0, raw[2] = {};
        if (parse_row(text.substr(at, end - at), line, raw)) {
            MixerLine& l = s.lines[line];
            l.raw[0] = uint32_t(uint64_t(raw[0]) * l.maximum / kRawVolumeMax);
            l.raw[1] = uint32_t(uint64_t(raw[1]) * l.maximum / kRawVolumeMax);
        }
        at = end;
    }
}

bool volumes_store(Engine& engine) {
    SoundState& s = engine.sound;
    if (s.volume_path.empty() || !engine.shell.host_effects_allowed) return false;
    std::string text = std::string(kHeader) + "\n";
    for (uint32_t line = 0; line < kMixerLines; ++line) {
        const MixerLine& l = s.lines[line];
        char row[64];
        // Stored on the 0-65535 scale whatever the control's own maximum.
        std::snprintf(row, sizeof row, "%u %u %u\n", line,
                      unsigned(uint64_t(l.raw[0]) * kRawVolumeMax / l.maximum),
                      unsigned(uint64_t(l.raw[1]) * kRawVolumeMax / l.maximum));
        text += row;
    }
    if (!host_file_write_replace(s.volume_path, reinterpret_cast<const uint8_t*>(text.data()),
                                 text.size())) {
        return false;
    }
    s.volumes_changed = false;
    return true;
}

}  // namespace qln
