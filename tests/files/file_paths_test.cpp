// The save folder overlay and the sandbox, as the file commands see paths.

#include "files/file_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "platform/host_files.h"
#include "support/temp_dir.h"
#include "tables/tables.h"

namespace qln {
namespace {

namespace fs = std::filesystem;

// A game folder "game" (the current directory) and a save folder "save".
struct Folders {
    test::TempDir root;
    std::string game = root.str() + "/game", save = root.str() + "/save";
    Engine engine;
    Folders(bool sandbox = false) {
        fs::create_directories(game);
        fs::create_directories(save);
        engine.files.game_dir = game;
        engine.files.save_dir = save;
        engine.files.sandbox = sandbox;
        EXPECT_TRUE(tables_init(engine));
    }
    std::string host(const std::string& sjis, FileUse use) {
        std::string out;
        return file_host_path(engine, sjis.c_str(), use, out) ? out : "refused";
    }
    std::string scenario(const std::string& host_path) {
        std::string out;
        EXPECT_TRUE(host_path_to_scenario(host_path, out));
        return out;
    }
};

TEST(FilePaths, WritesGoToTheSaveFolderAndReadsPreferIt) {
    Folders f;
    test::CwdGuard cwd(f.game);
    f.root.write("game/Data/Opening.bin", {1});
    f.root.write("game/both.dat", {1});
    f.root.write("save/BOTH.DAT", {2});
    // Relative, absolute in the engine's own form, and through "..".
    EXPECT_EQ(f.host("new.dat", FileUse::Write), f.save + "/new.dat");
    EXPECT_EQ(f.host(f.scenario(f.game) + "\\new.dat", FileUse::Write), f.save + "/new.dat");
    EXPECT_EQ(f.host("data\\..\\new.dat", FileUse::Write), f.save + "/new.dat");
    EXPECT_EQ(f.host("data\\opening.bin", FileUse::Read), f.game + "/Data/Opening.bin");
    EXPECT_EQ(f.host("both.dat", FileUse::Read), f.save + "/BOTH.DAT");
    EXPECT_EQ(f.host("data\\opening.bin", FileUse::Remove), f.save + "/Data/Opening.bin");
    EXPECT_EQ(f.host("data", FileUse::Enter), f.game + "/Data");
    // A write into a directory only the game folder has makes it in the save folder.
    EXPECT_EQ(f.host("DATA\\s1.dat", FileUse::Write), f.save + "/Data/s1.dat");
    EXPECT_TRUE(fs::is_directory(f.save + "/Data"));
    f.root.write("save/Data/s1.dat", {2});
    EXPECT_EQ(f.host("DATA\\s1.dat", FileUse::Read), f.save + "/Data/s1.dat");
    // A path in neither folder is used as it maps.
    EXPECT_EQ(f.host(f.scenario(f.root.str()) + "\\x.dat", FileUse::Write),
              f.root.str() + "/x.dat");

    // Inside the save folder itself (after a directory change into it).
    test::CwdGuard in_save(f.save);
    EXPECT_EQ(f.host("both.dat", FileUse::Read), f.save + "/BOTH.DAT");
    EXPECT_EQ(f.host("data\\opening.bin", FileUse::Read), f.game + "/Data/Opening.bin");
}

TEST(FilePaths, PatternsSeeBothFoldersAndTheSaveFolderHidesItsTwin) {
    Folders f;
    test::CwdGuard cwd(f.game);
    f.root.write("game/a.sav", {1});
    f.root.write("game/B.sav", {1});
    f.root.write("save/b.SAV", {2});
    f.root.write("save/c.sav", {2});
    std::vector<FileMatch> found;
    ASSERT_TRUE(file_matches(f.engine, "*.sav", found));
    std::vector<std::string> paths;
    for (const FileMatch& m : found) paths.push_back(m.host_path);
    EXPECT_EQ(paths,
              (std::vector<std::string>{f.game + "/a.sav", f.save + "/b.SAV", f.save + "/c.sav"}));
    ASSERT_TRUE(file_matches(f.engine, "*.sav", found, true));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].scenario_path, "b.SAV");
}

TEST(FilePaths, TheSandboxConfinesWritesToTheSaveFolderAndReadsToBoth) {
    Folders f(true);
    test::CwdGuard cwd(f.game);
    f.root.write("outside.dat", {1});
    f.root.write("save/x.dat", {1});
    const std::string outside = f.scenario(f.root.str()) + "\\outside.dat";
    testing::internal::CaptureStderr();
    EXPECT_EQ(f.host("..\\outside.dat", FileUse::Write), "refused");
    EXPECT_EQ(f.host(outside, FileUse::Read), "refused");
    EXPECT_EQ(f.host("..\\..", FileUse::Enter), "refused");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(f.engine.files.refusals, 3u);
    EXPECT_NE(
        said.find("quillon: sandbox: refused the write of \"" + f.root.str() + "/outside.dat\"\n"),
        std::string::npos)
        << said;
    EXPECT_EQ(f.host("save1.dat", FileUse::Write), f.save + "/save1.dat");
    EXPECT_EQ(f.host("..\\save\\x.dat", FileUse::Read), f.save + "/x.dat");

    // Without a save folder of its own the game folder is the save folder.
    f.engine.files.save_dir = f.game;
    EXPECT_EQ(f.host("save1.dat", FileUse::Write), "save1.dat");
    testing::internal::CaptureStderr();
    EXPECT_EQ(f.host("..\\save\\x.dat", FileUse::Write), "refused");
    (void)testing::internal::GetCapturedStderr();
}

}  // namespace
}  // namespace qln
