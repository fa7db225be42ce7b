#include "shell/save_folder.h"

#include "engine/engine.h"
#include "platform/game_data_dir.h"
#include "platform/host_dirs.h"
#include "platform/host_files.h"

namespace qln {
namespace {

std::string without_trailing_slash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

bool save_folder_choose(Engine& engine, const std::string& game_dir,
                        const SaveFolderChoice& choice) {
    return save_folder_choose(engine, game_dir, choice, host_dir_writable(game_dir));
}

bool save_folder_choose(Engine& engine, const std::string& game_dir, const SaveFolderChoice& choice,
                        bool game_writable) {
    FileAccess& files = engine.files;
    files.game_dir = without_trailing_slash(game_dir);
    files.sandbox = choice.sandbox;
    if (!choice.save_dir.empty()) {
        files.save_dir = without_trailing_slash(choice.save_dir);
        return host_dir_make_all(files.save_dir) &&
               host_path_kind(files.save_dir) == HostPathKind::Directory;
    }
    files.save_dir = files.game_dir;
    std::string folder;
    // A game on a read-only medium saves to its own data folder; without a
    // home to put one in, writes fail as the medium makes them.
    if (!game_writable && game_data_dir(files.game_dir, folder)) {
        files.save_dir = without_trailing_slash(folder);
    }
    return true;
}

}  // namespace qln
