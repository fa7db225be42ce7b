#include "files/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

using test::slurp;

void write_file(const std::string& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary);
    f << text;
}

TEST(ProfileLookup, NamesIgnoreAsciiCaseBlanksAndQuotesAndTheFirstMatchWins) {
    const std::string crlf =
        "[Other]\r\nvolume=1\r\n"
        "  [ Sound ]  \r\n"
        "  Volume =  80 \r\n"
        "voice=\"  quoted  \"\r\n"
        "name='single'\r\n"
        "half=\"open\r\n"
        "empty=\r\n"
        "noequals\r\n";
    const std::string lf = "[a]\nk=1\nk=2\n[b]\nk=3\n[A]\nk=4\nj=5\n";
    // 0x83 0x41 and 0x83 0x61 are two different characters (ア and ャ).
    const std::string sjis = "[\x83\x41]\nk=1\n";
    const std::string az = "[Az]\nkZ=1\n";
    const struct {
        const std::string& file;
        const char *section, *key, *value;
        bool found;
    } cases[] = {
        {crlf, "SOUND", "VOLUME", "80", true},
        {crlf, "sound", "voice", "  quoted  ", true},
        {crlf, "sound", "name", "single", true},
        {crlf, "sound", "half", "\"open", true},
        {crlf, "sound", "empty", "", true},
        {crlf, "sound", "noequals", "", false},
        {crlf, "missing", "volume", "", false},
        {crlf, "other", "VOLUME", "1", true},
        {lf, "a", "k", "1", true},
        {lf, "b", "k", "3", true},
        {lf, "A", "j", "", false},
        {sjis, "\x83\x41", "K", "1", true},
        {sjis, "\x83\x61", "K", "", false},
        {az, "aZ", "Kz", "1", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        bool found = !c.found;
        EXPECT_EQ(profile_lookup(c.file, c.section, c.key, &found), c.value);
        EXPECT_EQ(found, c.found);
    }
}

TEST(ProfileUpdate, ChangesItsLineOrAddsKeySectionAndLineEndsAsTheFileHasThem) {
    const std::string notes =
        "; notes\r\n[Sound]\r\n  Volume = 80 \r\nvoice=1\r\n\r\n[Game]\r\nx=1\r\n";
    const std::string two = "[Sound]\r\nvoice=1\r\n\r\n[Game]\r\nx=1\r\n";
    const struct {
        std::string file;
        const char *section, *key, *value, *expected;
    } cases[] = {
        {notes, "SOUND", "volume", "55",
         "; notes\r\n[Sound]\r\nVolume=55\r\nvoice=1\r\n\r\n[Game]\r\nx=1\r\n"},
        // A new key goes at the end of its section, before blank lines.
        {two, "sound", "volume", "9", "[Sound]\r\nvoice=1\r\nvolume=9\r\n\r\n[Game]\r\nx=1\r\n"},
        {two, "game", "y", "2", "[Sound]\r\nvoice=1\r\n\r\n[Game]\r\nx=1\r\ny=2\r\n"},
        {"", "Save", "slot", "3", "[Save]\r\nslot=3\r\n"},
        {"[a]\nk=1\n", "b", "j", "2", "[a]\nk=1\n[b]\nj=2\n"},
        // A last line without its line end gets one first.
        {"[a]\r\nk=1", "b", "j", "2", "[a]\r\nk=1\r\n[b]\r\nj=2\r\n"},
        {"[a]\r\nk=1", "a", "j", "2", "[a]\r\nk=1\r\nj=2\r\n"},
        {"[a]", "a", "j", "2", "[a]\r\nj=2\r\n"},
        {"[s]\nk=1\r", "s", "j", "2", "[s]\nk=1\r\nj=2\n"},
        {"[s \r", "s", "j", "2", "[s \r\nj=2\r\n"},
        // Line breaks in a write are cut so it cannot add lines.
        {"", "s", "k", "1\r\n[evil]\r\nx=2", "[s]\r\nk=1\r\n"},
        {"", "s\nt", "k\r", "v", "[s]\r\nk=v\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file + "/" + c.key);
        EXPECT_EQ(profile_update(c.file, c.section, c.key, c.value), c.expected);
    }
}

TEST(ProfileUpdate, ALastLineEndingInABareCarriageReturnKeepsItsMeaning) {
    // Completing "\r" to "\r\n" must not turn the header into another one:
    // the written key has to be found in the section it was written to.
    for (const std::string file : {"x\n[s \r", "[s]\nk=1\r", "[t]\nk=1\r"}) {
        const std::string out = profile_update(file, "s", "j", "2");
        bool found = false;
        EXPECT_EQ(profile_lookup(out, "s", "j", &found), "2") << out;
        EXPECT_TRUE(found) << out;
        EXPECT_EQ(profile_lookup(file, "s", "k"), profile_lookup(out, "s", "k")) << out;
    }
}

TEST(ProfileFile, RoundTripsThroughTheHostFileAndCutsLongValues) {
    test::TempDir dir;
    const std::string path = dir.str() + "/Quillon.ini";
    EXPECT_EQ(profile_read_host(path, "a", "b"), "");  // no file yet
    ASSERT_TRUE(profile_write_host(path, "Game", "name", "first"));
    ASSERT_TRUE(profile_write_host(path, "game", "NAME", "second"));
    ASSERT_TRUE(profile_write_host(path, "Game", "long", std::string(300, 'x')));
    EXPECT_EQ(profile_read_host(path, "GAME", "name"), "second");
    EXPECT_EQ(profile_read_host(path, "game", "long"), std::string(254, 'x'));
    EXPECT_EQ(slurp(path), "[Game]\r\nname=second\r\nlong=" + std::string(300, 'x') + "\r\n");
    // No temporary file is left behind.
    const auto entries = std::filesystem::directory_iterator(dir.path());
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);
}

TEST(ProfileFile, AFailureBeforeTheRenameLeavesTheOldFileWhole) {
    test::TempDir dir;
    const std::string path = dir.str() + "/Quillon.ini";
    const std::string old = "[Game]\r\nname=old\r\n; untouched\r\n";
    write_file(path, old);
    chmod(path.c_str(), 0640);
    ProfileWriteFault fault;
    fault.fail_before_rename = true;
    EXPECT_FALSE(profile_write_host(path, "Game", "name", "new", &fault));
    EXPECT_EQ(slurp(path), old);
    ASSERT_TRUE(profile_write_host(path, "Game", "name", "new"));
    EXPECT_EQ(slurp(path), "[Game]\r\nname=new\r\n; untouched\r\n");
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);  // the file keeps its permissions
}

TEST(ProfileFile, ScenarioPathsMapToTheHostCaseInsensitively) {
    test::TempDir dir;
    write_file(dir.str() + "/SAVE.INI", "[s]\r\nk=v\r\n");
    // Scenario paths give the directory with backslashes.
    std::string sjis = dir.str() + "\\save.ini";
    EXPECT_EQ(profile_read(sjis.c_str(), "S", "K"), "v");
    ASSERT_TRUE(profile_write(sjis.c_str(), "s", "k2", "w"));
    EXPECT_EQ(slurp(dir.str() + "/SAVE.INI"), "[s]\r\nk=v\r\nk2=w\r\n");
    const std::string missing_dir = dir.str() + "\\nowhere\\x.ini";
    EXPECT_FALSE(profile_write(missing_dir.c_str(), "s", "k", "v"));
}

}  // namespace
}  // namespace qln
