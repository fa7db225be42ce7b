#pragma once
// Chooses where the game's writes go (docs/save-data.md): the folder given
// with --save-dir; without it the game folder when it is writable, else a
// per-game data folder under the XDG data home.

#include <string>

namespace qln {

struct Engine;

struct SaveFolderChoice {
    std::string save_dir;  // --save-dir, absolute; empty: choose
    bool sandbox = false;
};

// Fills engine.files for the game in game_dir (a host path, absolute).
// False when --save-dir names no usable directory.
[[nodiscard]] bool save_folder_choose(Engine& engine, const std::string& game_dir,
                                      const SaveFolderChoice& choice);
// The same with the game folder's writability given (as the host tells it,
// above).
[[nodiscard]] bool save_folder_choose(Engine& engine, const std::string& game_dir,
                                      const SaveFolderChoice& choice, bool game_writable);

}  // namespace qln
