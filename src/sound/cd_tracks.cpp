#include "sound/cd_tracks.h"

#include <cstdio>

#include "files/file_paths.h"
#include "platform/host_files.h"
#include "sound/audio_file.h"
#include "sound/cue_sheet.h"

namespace qln {
namespace {

constexpr uint32_t kMaxTrack = 99;
constexpr const char* kExtensions[] = {"ogg", "flac", "mp3", "wav"};
// Case does not matter to the host path mapping, so "Track" is "track".
constexpr const char* kNames[] = {"track%02u", "track%u", "%02u"};

// How one folder's names map: a game's folder through the save folder
// overlay and the sandbox, the folder the player gave (--cd) as it is.
struct Lookup {
    Engine& engine;
    bool players_folder = false;
};

bool map_path(const Lookup& look, const std::string& scenario_path, std::string& host) {
    return look.players_folder
               ? host_path_map(scenario_path.c_str(), host)
               : file_host_path(look.engine, scenario_path.c_str(), FileUse::Read, host);
}

// The host path of folder/name when it names a file.
bool file_in(const Lookup& look, const std::string& folder, const std::string& name,
             std::string& host) {
    std::string scenario_folder = folder;
    if (look.players_folder && !host_path_to_scenario(folder, scenario_folder)) return false;
    const std::string path = scenario_folder.empty() ? name : scenario_folder + "\\" + name;
    return map_path(look, path, host) && host_path_kind(host) == HostPathKind::File;
}

constexpr const char* kCueNames[] = {"cd.cue", "disc.cue", "game.cue"};
constexpr uint64_t kFramesPerCdFrame = kSoundRate / 75;

bool ends_with_cue(const std::string& path) {
    return path.size() > 4 && (path.compare(path.size() - 4, 4, ".cue") == 0 ||
                               path.compare(path.size() - 4, 4, ".CUE") == 0);
}

// The image a sheet names, beside the sheet (in any case); a name that
// climbs out of the game's folders is refused as any read there is.
bool image_path(const Lookup& look, const std::string& cue_host_path, const std::string& file,
                std::string& host) {
    const size_t slash = cue_host_path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : cue_host_path.substr(0, slash + 1);
    std::string scenario_dir;
    if (!host_path_to_scenario(dir == "." ? "./" : dir, scenario_dir)) return false;
    if (!scenario_dir.empty() && scenario_dir.back() != '\\') scenario_dir += '\\';
    return map_path(look, scenario_dir + file, host) && host_path_kind(host) == HostPathKind::File;
}

// The sheet's tracks, each a stretch of its one image.
bool cue_tracks(const Lookup& look, const std::string& cue_host_path, std::vector<CdTrack>& tracks,
                std::string& why) {
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
    if (!image_path(look, cue_host_path, sheet.file, image) ||
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
std::vector<CdTrack> tracks_of_cue(const Lookup& look, const std::string& host_path) {
    std::vector<CdTrack> tracks;
    std::string why;
    if (!cue_tracks(look, host_path, tracks, why)) {
        std::fprintf(stderr, "quillon: cue sheet \"%s\": %s\n", host_path.c_str(), why.c_str());
        tracks.clear();
    }
    return tracks;
}

bool folder_exists(const Lookup& look, const std::string& folder) {
    if (folder.empty()) return true;
    std::string host = folder;
    if (!look.players_folder && !map_path(look, folder, host)) return false;
    return host_path_kind(host) == HostPathKind::Directory;
}

}  // namespace

std::vector<CdTrack> cd_tracks_find(Engine& engine, const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        const Lookup look{engine, !folder.empty() && folder[0] == '/'};
        if (look.players_folder && ends_with_cue(folder) &&
            host_path_kind(folder) == HostPathKind::File) {
            return tracks_of_cue(look, folder);
        }
        if (!folder_exists(look, folder)) continue;
        std::vector<CdTrack> tracks;
        for (uint32_t n = 1; n <= kMaxTrack; ++n) {
            bool found = false;
            for (const char* pattern : kNames) {
                for (const char* ext : kExtensions) {
                    char name[32];
                    std::snprintf(name, sizeof name, pattern, n);
                    const std::string file = std::string(name) + "." + ext;
                    CdTrack t;
                    if (file_in(look, folder, file, t.host_path) &&
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
            if (file_in(look, folder, name, cue)) return tracks_of_cue(look, cue);
        }
    }
    return {};
}

}  // namespace qln
