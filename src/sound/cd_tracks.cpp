#include "sound/cd_tracks.h"

#include <cstdio>

#include "platform/host_files.h"
#include "sound/audio_file.h"

namespace qln {
namespace {

constexpr uint32_t kMaxTrack = 99;
constexpr const char* kExtensions[] = {"ogg", "flac", "mp3", "wav"};
// Case does not matter to the host path mapping, so "Track" is "track".
constexpr const char* kNames[] = {"track%02u", "track%u", "%02u"};

// The host path of folder/name when it names a file.
bool file_in(const std::string& folder, const std::string& name, std::string& host) {
    std::string scenario_folder = folder;
    if (!folder.empty() && folder[0] == '/' && !host_path_to_scenario(folder, scenario_folder)) {
        return false;
    }
    const std::string path = scenario_folder.empty() ? name : scenario_folder + "\\" + name;
    return host_path_map(path.c_str(), host) && host_path_kind(host) == HostPathKind::File;
}

bool folder_exists(const std::string& folder) {
    if (folder.empty()) return true;
    std::string host = folder;
    if (folder[0] != '/' && !host_path_map(folder.c_str(), host)) return false;
    return host_path_kind(host) == HostPathKind::Directory;
}

}  // namespace

std::vector<CdTrack> cd_tracks_find(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        if (!folder_exists(folder)) continue;
        std::vector<CdTrack> tracks;
        for (uint32_t n = 1; n <= kMaxTrack; ++n) {
            bool found = false;
            for (const char* pattern : kNames) {
                for (const char* ext : kExtensions) {
                    char name[32];
                    std::snprintf(name, sizeof name, pattern, n);
                    const std::string file = std::string(name) + "." + ext;
                    CdTrack t;
                    if (file_in(folder, file, t.host_path) &&
                        audio_file_length(t.host_path, t.frames)) {
                        t.number = n;
                        tracks.push_back(t);
                        found = true;
                        break;
                    }
                }
                if (found) break;
            }
        }
        if (!tracks.empty()) return tracks;
    }
    return {};
}

}  // namespace qln
