// Where a run's writes go: --save-dir, the game folder, or the per-game data
// folder of a read-only game; and a headless run that saves and is refused.

#include "shell/save_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "asm/assembler.h"
#include "engine/engine.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

namespace fs = std::filesystem;

// XDG_DATA_HOME pointed at a directory for as long as it lives.
struct DataHome {
    std::string saved;
    bool had = false;
    explicit DataHome(const std::string& dir) {
        if (const char* v = std::getenv("XDG_DATA_HOME")) saved = v, had = true;
        setenv("XDG_DATA_HOME", dir.c_str(), 1);
    }
    ~DataHome() { had ? setenv("XDG_DATA_HOME", saved.c_str(), 1) : unsetenv("XDG_DATA_HOME"); }
};

TEST(SaveFolder, IsTheGivenFolderTheGameFolderOrTheDataFolderOfAReadOnlyGame) {
    test::TempDir root;
    const std::string game = root.str() + "/Story", data = root.str() + "/data";
    fs::create_directories(game);
    DataHome home(data);

    Engine given;
    ASSERT_TRUE(save_folder_choose(given, game + "/", {root.str() + "/saves/one/", true}, true));
    EXPECT_EQ(given.files.game_dir, game);
    EXPECT_EQ(given.files.save_dir, root.str() + "/saves/one");
    EXPECT_TRUE(fs::is_directory(root.str() + "/saves/one"));
    EXPECT_TRUE(given.files.sandbox);

    Engine writable;
    ASSERT_TRUE(save_folder_choose(writable, game, {}, true));
    EXPECT_EQ(writable.files.save_dir, game);
    EXPECT_FALSE(writable.files.sandbox);

    Engine read_only;
    ASSERT_TRUE(save_folder_choose(read_only, game, {}, false));
    const std::string folder = read_only.files.save_dir;
    EXPECT_EQ(folder.rfind(data + "/quillon/Story-", 0), 0u) << folder;
    EXPECT_TRUE(fs::is_directory(folder));

    // A file in the way of --save-dir.
    root.write("file", {1});
    Engine blocked;
    EXPECT_FALSE(save_folder_choose(blocked, game, {root.str() + "/file", false}, true));
}

class SaveDirRun : public ::testing::Test {
  protected:
    test::RunResult run(const std::vector<std::string>& args) {
        test::RunResult r = test::run_program("quillon", args, root);
        r.out += r.err;
        return r;
    }
    void scenario(const char* source) {
        std::vector<uint8_t> file;
        AsmError error;
        ASSERT_TRUE(assemble_packed(source, file, error)) << error.message;
        root.write("game/start_up.qln", file);
    }
    // The game folder lies in root, so that ".." from it stays in root.
    test::TempDir root, saves;
    const fs::path game = root.path() / "game";
};

// The game reads its old save from the game folder, writes the new one and a
// setting, deletes every save it can, and tries to leave its folders.
TEST_F(SaveDirRun, TheGameSavesToTheSaveFolderAndIsRefusedWhatLeavesIt) {
    scenario(
        ".code\n  buf_read \"s1.sav\", 0, 5, 0, -1\n  file_write \"s1.sav\", 5, 4, -1, 0\n"
        "  ini_write \"opt\", \"speed\", \"3\"\n  file_delete \"s1.sav\", -1, 1, -1, 0\n"
        "  file_write \"s3.sav\", 5, 4, -1, 0\n  file_write \"..\\\\out.sav\", 5, 4, -1, 0\n"
        "  sys_exec \"/bin/true\", 0\n  end\n");
    root.write("game/s1.sav", {'o', 'l', 'd', '!'});
    const test::RunResult r = run({"--headless", "--game", game.string(), "--save-dir", saves.str(),
                                   "--sandbox", "--on-error", "continue", "--max-ms", "5000"});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(test::slurp(game.string() + "/s1.sav"), "old!");
    EXPECT_EQ(test::slurp(saves.str() + "/s3.sav"), "old!");
    EXPECT_FALSE(fs::exists(saves.path() / "s1.sav"));
    EXPECT_TRUE(fs::exists(saves.path() / "Quillon.ini"));
    EXPECT_FALSE(fs::exists(game / "Quillon.ini"));
    const std::string outside = root.str() + "/out.sav";
    EXPECT_FALSE(fs::exists(outside));
    for (const std::string& line :
         {"quillon: sandbox: refused the write of \"" + outside + "\"",
          std::string("quillon: sandbox: refused the start of the program \"/bin/true\""),
          std::string("error=111")}) {
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
    }
}

}  // namespace
}  // namespace qln
