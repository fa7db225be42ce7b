#pragma once
// The per-game folder for what the engine keeps between runs (the mixer
// volumes): $XDG_DATA_HOME/quillon/NAME-HASH, or ~/.local/share/... when
// XDG_DATA_HOME is unset, where NAME is the game directory's last component
// and HASH tells apart games of the same name.

#include <string>

namespace qln {

// The folder for the game whose start directory is game_dir (a host path),
// created if missing. False when there is no home to put it in.
[[nodiscard]] bool game_data_dir(const std::string& game_dir, std::string& folder);

}  // namespace qln
