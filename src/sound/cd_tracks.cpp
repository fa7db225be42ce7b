#include "sound/cd_tracks.h"

#include <cstdio>

#include "platform/host_files.h"
#include "sound/audio_file.h"
#include "sound/cue_sheet.h"

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

constexpr const char* kCueNames[] = {"cd.cue", "disc.cue", "game.cue"};
constexpr uint64_t kFramesPerCdFrame = kSoundRate / 75;

bool ends_with_cue(const std::string& path) {
    return path.size() > 4 && (path.compare(path.size() - 4, 4, ".cue") == 0 ||
                               path.compare(path.size() - 4, 4, ".CUE") == 0);
}

// The image a sheet names, beside the sheet (in any case).
bool image_path(const std::string& cue_host_path, const std::string& file, std::string& host) {
    const size_t slash = cue_host_path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : cue_host_path.substr(0, slash + 1);
    std::string scenario_dir;
    if (!host_path_to_scenario(dir == "." ? "./" : dir, scenario_dir)) return false;
    if (!scenario_dir.empty() && scenario_dir.back() != '\\') scenario_dir += '\\';
    return host_path_map((scenario_dir + file).c_str(), host) &&
           host_path_kind(host) == HostPathKind::File;
}

// The sheet's tracks, each a stretch of its one image.
bool cue_tracks(const std::string& cue_host_path, std::vector<CdTrack>& tracks, std::string& why) {
    std::vector<uint8_t> bytes;
    if (!host_file_read_all(cue_host_path, bytes, 64 * 1024)) {
        why = "cannot be read or is larger than 64 KiB";
        return false;
    }
    CueSheet sheet;
    size_t line = 0;
    const CueError e = cue_parse(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), sheet, line);
    if (e != CueError::None) {
        why = (line ? "line " + std::to_string(line) + ": " : std::string()) + cue_error_text(e);
        return false;
    }
    std::string image;
    uint64_t image_frames = 0;
    if (!image_path(cue_host_path, sheet.file, image) ||
        !audio_file_length(image, image_frames, sheet.binary)) {
        why = "no image \"" + sheet.file + "\" that plays";
        return false;
    }
    tracks.clear();
    for (size_t i = 0; i < sheet.tracks.size(); ++i) {
        const CueTrack& t = sheet.tracks[i];
        const uint64_t start = t.start * kFramesPerCdFrame;
        const uint64_t end = i + 1 < sheet.tracks.size()
                                 ? sheet.tracks[i + 1].start * kFramesPerCdFrame
                                 : image_frames;
        if (start >= image_frames || end > image_frames) {
            why = "track " + std::to_string(t.number) + " lies past the image's end";
            return false;
        }
        CdTrack track;
        track.number = t.number;
        if (t.audio) track.host_path = image;  // a data track plays as silence
        track.frames = end - start;
        track.offset = start;
        track.raw = sheet.binary;
        tracks.push_back(track);
    }
    return true;
}

// A sheet that is refused says why once, and the drive has no disc.
std::vector<CdTrack> tracks_of_cue(const std::string& host_path) {
    std::vector<CdTrack> tracks;
    std::string why;
    if (!cue_tracks(host_path, tracks, why)) {
        std::fprintf(stderr, "quillon: cue sheet \"%s\": %s\n", host_path.c_str(), why.c_str());
        tracks.clear();
    }
    return tracks;
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
        if (ends_with_cue(folder) && host_path_kind(folder) == HostPathKind::File) {
            return tracks_of_cue(folder);
        }
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
        for (const char* name : kCueNames) {
            std::string cue;
            if (file_in(folder, name, cue)) return tracks_of_cue(cue);
        }
    }
    return {};
}

}  // namespace qln
