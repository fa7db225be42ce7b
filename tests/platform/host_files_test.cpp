#include "platform/host_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>

#include "support/temp_dir.h"

namespace {

using Bytes = std::vector<uint8_t>;
using qln::test::CwdGuard;
using qln::test::TempDir;

std::string mapped(const char* sjis) {
    std::string out;
    EXPECT_TRUE(qln::host_path_map(sjis, out)) << sjis;
    return out;
}

TEST(HostPathCodePage, ConvertsBothWays) {
    std::string utf8;
    // "画像" and a half-width katakana "ｱ" (0xB1).
    ASSERT_TRUE(qln::sjis_to_utf8("\x89\xE6\x91\x9C\xB1", 5, utf8));
    EXPECT_EQ(utf8, "画像ｱ");
    std::string sjis;
    ASSERT_TRUE(qln::utf8_to_sjis(utf8.data(), utf8.size(), sjis));
    EXPECT_EQ(sjis, "\x89\xE6\x91\x9C\xB1");
    // A trail byte of 0x5C ("表" is 0x95 0x5C) stays inside its character.
    ASSERT_TRUE(qln::sjis_to_utf8("\x95\x5C", 2, utf8));
    EXPECT_EQ(utf8, "表");
    // A cut double-byte character, and a character the code page lacks.
    EXPECT_FALSE(qln::sjis_to_utf8("\x95", 1, utf8));
    EXPECT_FALSE(qln::utf8_to_sjis("\xF0\x9F\x98\x80", 4, sjis));
}

TEST(HostPathMap, SeparatorsAndDrives) {
    TempDir dir;
    CwdGuard cwd(dir.path());
    EXPECT_EQ(mapped("a\\b\\c.txt"), "a/b/c.txt");
    EXPECT_EQ(mapped("a\\\\b//c\\"), "a/b/c/");
    EXPECT_EQ(mapped("C:\\no\\such\\dir"), "/no/such/dir");
    EXPECT_EQ(mapped("d:/no/such"), "/no/such");
    EXPECT_EQ(mapped("C:\\"), "/");
    EXPECT_EQ(mapped("C:name.txt"), "name.txt");
    EXPECT_EQ(mapped("C:"), ".");
    EXPECT_EQ(mapped("..\\up"), "../up");
    // "表\x" keeps its trail byte: the name is one component.
    EXPECT_EQ(mapped("\x95\x5C.txt"), "表.txt");

    std::string out = "x";
    EXPECT_FALSE(qln::host_path_map("", out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(qln::host_path_map(nullptr, out));
    EXPECT_FALSE(qln::host_path_map("bad\x81", out));
    const std::string huge(qln::kHostPathMax + 1, 'a');
    EXPECT_FALSE(qln::host_path_map(huge.c_str(), out));
}

TEST(HostPathMap, ResolvesCaseAgainstTheDirectory) {
    TempDir dir;
    CwdGuard cwd(dir.path());
    dir.write("Graphics/BG01.BMP", {1});
    dir.write("Graphics/Faces/Hero.bmp", {2});
    EXPECT_EQ(mapped("graphics\\bg01.bmp"), "Graphics/BG01.BMP");
    EXPECT_EQ(mapped("GRAPHICS\\FACES\\HERO.BMP"), "Graphics/Faces/Hero.bmp");
    // A missing last component keeps its spelling below the resolved part,
    // so a file to be created lands in the existing directory.
    EXPECT_EQ(mapped("graphics\\faces\\New.bmp"), "Graphics/Faces/New.bmp");
    EXPECT_EQ(mapped("graphics\\NoDir\\Faces"), "Graphics/NoDir/Faces");
    // Absolute paths resolve too.
    const std::string abs = "C:" + dir.str() + "/graphics/bg01.bmp";
    EXPECT_EQ(mapped(abs.c_str()), dir.str() + "/Graphics/BG01.BMP");
    dir.write("画像/Title.BMP", {1});
    EXPECT_EQ(mapped("\x89\xE6\x91\x9C\\title.bmp"), "画像/Title.BMP");
    // The exact name wins; else the smallest in byte order.
    dir.write("save.dat", {1});
    dir.write("SAVE.DAT", {2});
    dir.write("Save.Dat", {3});
    EXPECT_EQ(mapped("Save.Dat"), "Save.Dat");
    EXPECT_EQ(mapped("save.dat"), "save.dat");
    EXPECT_EQ(mapped("sAVE.dat"), "SAVE.DAT");
}

TEST(HostPathToScenario, GivesWindowsStylePaths) {
    std::string sjis;
    ASSERT_TRUE(qln::host_path_to_scenario("/home/user/画像/", sjis));
    EXPECT_EQ(sjis, "C:\\home\\user\\\x89\xE6\x91\x9C\\");
    ASSERT_TRUE(qln::host_path_to_scenario("rel/x.bmp", sjis));
    EXPECT_EQ(sjis, "rel\\x.bmp");
    EXPECT_FALSE(qln::host_path_to_scenario("/tmp/\xF0\x9F\x98\x80", sjis));
    // What the engine hands out maps back to the same place.
    std::string back;
    ASSERT_TRUE(qln::host_path_to_scenario("/usr/lib", sjis));
    ASSERT_TRUE(qln::host_path_map(sjis.c_str(), back));
    EXPECT_EQ(back, "/usr/lib");
    // The current directory, in the same form.
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "画像");
    CwdGuard cwd(dir.path() / "画像");
    ASSERT_TRUE(qln::host_cwd_scenario(sjis));
    EXPECT_EQ(sjis.substr(0, 3), "C:\\");
    EXPECT_EQ(sjis.substr(sjis.size() - 4), "\x89\xE6\x91\x9C");
    ASSERT_TRUE(qln::host_path_map(sjis.c_str(), back));
    EXPECT_EQ(back, std::filesystem::current_path().string());
}

TEST(HostFile, ReadsRangesInsideTheFileOnly) {
    TempDir dir;
    const std::string path = dir.write("f.bin", {10, 11, 12, 13, 14});
    qln::HostFile file;
    ASSERT_TRUE(file.open(path));
    EXPECT_EQ(file.size(), 5u);
    uint8_t buf[8] = {};
    ASSERT_TRUE(file.read_at(1, buf, 3));
    EXPECT_EQ(Bytes(buf, buf + 3), (Bytes{11, 12, 13}));
    EXPECT_TRUE(file.read_at(5, buf, 0));
    EXPECT_FALSE(file.read_at(3, buf, 3));
    EXPECT_FALSE(file.read_at(6, buf, 0));
    EXPECT_FALSE(file.read_at(UINT64_MAX, buf, 2));

    qln::HostFile moved = std::move(file);
    EXPECT_FALSE(file.is_open());
    EXPECT_TRUE(moved.read_at(0, buf, 5));
    // Only regular files open: a pipe with no writer would block an open.
    EXPECT_FALSE(file.open(dir.str()));
    EXPECT_FALSE(file.open(dir.str() + "/missing"));
    const std::string fifo = dir.str() + "/pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(file.open(fifo));
}

TEST(HostFile, WriteReplaceSwapsInTheWholeFileAndReadAllHonoursTheLimit) {
    TempDir dir;
    const std::string path = dir.str() + "/save.dat";
    const Bytes first = {1, 2, 3};
    ASSERT_TRUE(qln::host_file_write_replace(path, first.data(), first.size()));
    ::chmod(path.c_str(), 0640);
    const Bytes second(10000, 9);
    ASSERT_TRUE(qln::host_file_write_replace(path, second.data(), second.size()));
    Bytes out;
    ASSERT_TRUE(qln::host_file_read_all(path, out, 10000));
    EXPECT_EQ(out, second);
    EXPECT_FALSE(qln::host_file_read_all(path, out, 9999));  // over the limit
    EXPECT_TRUE(out.empty());
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // No temporary file is left behind.
    const auto entries = std::filesystem::directory_iterator(dir.path());
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);
    // A target inside a missing directory fails and leaves nothing.
    EXPECT_FALSE(qln::host_file_write_replace(dir.str() + "/no/such", first.data(), first.size()));
    // A directory is never replaced.
    EXPECT_FALSE(qln::host_file_write_replace(dir.str(), first.data(), first.size()));
}

TEST(HostPathKind, TellsFilesDirectoriesAndMissingPaths) {
    TempDir dir;
    const std::string file = dir.str() + "/f";
    const std::string script = dir.str() + "/run";
    const uint8_t byte = 1;
    ASSERT_TRUE(qln::host_file_write_replace(file, &byte, 1));
    ASSERT_TRUE(qln::host_file_write_replace(script, &byte, 1));
    ASSERT_EQ(chmod(script.c_str(), 0700), 0);
    ASSERT_EQ(chmod(file.c_str(), 0600), 0);
    EXPECT_EQ(qln::host_path_kind(file), qln::HostPathKind::File);
    EXPECT_EQ(qln::host_path_kind(dir.str()), qln::HostPathKind::Directory);
    EXPECT_EQ(qln::host_path_kind(dir.str() + "/none"), qln::HostPathKind::Missing);
    EXPECT_EQ(qln::host_path_kind("/dev/null"), qln::HostPathKind::Other);
    EXPECT_TRUE(qln::host_file_readable(file));
    EXPECT_FALSE(qln::host_file_readable(dir.str()));  // a directory is no file
    EXPECT_TRUE(qln::host_file_executable(script));
    EXPECT_FALSE(qln::host_file_executable(file));
}

}  // namespace
