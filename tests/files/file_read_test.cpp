#include "files/file_read.h"

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "files/archive_read.h"
#include "files/archive_write.h"
#include "files/pack.h"
#include "support/packing_data.h"
#include "support/temp_dir.h"
#include "tables/tables.h"

namespace {

using Bytes = std::vector<uint8_t>;
using qln::test::CwdGuard;
using qln::test::TempDir;

Bytes text(const char* s) {
    return Bytes(s, s + std::char_traits<char>::length(s));
}

void put_u32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

Bytes layout_of(const Bytes& in) {
    Bytes out;
    EXPECT_TRUE(qln::pack_layout(in.data(), in.size(), out));
    return out;
}

// A copy of b with the u32 at `at` replaced.
Bytes patched(const Bytes& b, size_t at, uint32_t v) {
    Bytes out = b;
    for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(v >> (8 * i));
    return out;
}

// Reads entry `entry` of bytes held in memory, as file_read does; refusals
// must leave out empty.
bool read_mem(const Bytes& file, uint16_t entry, bool compressed, Bytes& out) {
    out = {0xEE};
    const bool ok =
        qln::source_read(qln::MemorySource(file.data(), file.size()), entry, compressed, out);
    if (!ok) {
        EXPECT_TRUE(out.empty());
    }
    return ok;
}

class FileReadTest : public ::testing::Test {
  protected:
    TempDir dir;
    CwdGuard cwd{dir.path()};

    Bytes read(const char* name, uint16_t entry = 0, bool compressed = false, bool expect = true) {
        Bytes out = {0xEE};
        const bool ok = qln::file_read_path(name, entry, compressed, out);
        EXPECT_EQ(ok, expect) << name << " entry " << entry;
        if (!ok) {
            EXPECT_TRUE(out.empty());
        }
        return out;
    }
};

TEST_F(FileReadTest, WholeFilesByNameWithoutRegardToCase) {
    dir.write("plain.bin", text("hello"));
    EXPECT_EQ(read("plain.bin"), text("hello"));
    dir.write("empty.bin", {});
    EXPECT_EQ(read("empty.bin"), Bytes{});
    read("missing.bin", 0, false, false);
    std::filesystem::create_directory(dir.path() / "sub");
    read("sub", 0, false, false);  // a directory is not a file
    dir.write("Data/Sub/Scene.QLN", text("scene"));
    EXPECT_EQ(read("DATA\\SUB\\scene.qln"), text("scene"));
    EXPECT_EQ(read("data/sub\\SCENE.qln"), text("scene"));
    dir.write("画像.bmp", text("sjis"));
    EXPECT_EQ(read("\x89\xE6\x91\x9C.bmp"), text("sjis"));  // "画像" in code page 932
    read("\x89.bmp", 0, false, false);                      // a lone lead byte is not a name
    const Bytes picture = qln::test::picture_like(100, 50, 3);
    dir.write("pic.cmp", layout_of(picture));
    EXPECT_EQ(read("pic.cmp", 0, true), picture);
}

TEST(PackedLayout, LengthFieldsMustMatchTheData) {
    const struct {
        Bytes file;
        bool ok;
    } cases[] = {
        {{6, 0, 6, 0, 0x10, 'a', 'b', 'c', 0x20, 0x00}, true},
        {{6, 0, 5, 0, 0x10, 'a', 'b', 'c', 0x20, 0x00}, false},  // 5 stated where 6 follow
        {{9, 0, 6, 0, 0x10, 'a', 'b', 'c', 0x20, 0x00}, false},  // more stated than unpacks
        {{0, 0, 0}, false},                                      // no room for the fields
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.file));
        Bytes out;
        EXPECT_EQ(read_mem(c.file, 0, true, out), c.ok);
        if (c.ok) {
            EXPECT_EQ(out, text("abcabc"));
        }
    }
    // 65,540 bytes cannot be a packed layout (its length field is 16 bits),
    // whatever the first four bytes say; one byte less and the field matches.
    Bytes big(65540, 0);
    big[2] = big[3] = 0xFF;
    Bytes out;
    EXPECT_FALSE(read_mem(big, 0, true, out));
    big.pop_back();
    ASSERT_TRUE(read_mem(big, 0, true, out));
    EXPECT_TRUE(out.empty());
}

TEST_F(FileReadTest, ArchiveEntriesStoredAndPacked) {
    const Bytes noise = qln::test::matchless_bytes(500, 9);
    const Bytes flat(5000, 'f');
    const Bytes scenario = qln::test::picture_like(60, 40, 4);
    Bytes gpc7, qscf;
    ASSERT_TRUE(qln::archive_write_gpc7({noise, flat, {}, layout_of(scenario)}, gpc7));
    ASSERT_TRUE(qln::archive_write_qscf({text("first"), {}, text("third"), {}}, qscf));
    dir.write("data.gpc", gpc7);
    dir.write("data.qsc", qscf);

    EXPECT_EQ(read("data.gpc", 0), gpc7);  // entry 0 is the archive file itself
    EXPECT_EQ(read("data.gpc", 1), noise);
    EXPECT_EQ(read("data.gpc", 2), flat);
    EXPECT_EQ(read("data.gpc", 3), Bytes{});
    EXPECT_EQ(read("data.gpc", 4, true), scenario);  // method B around the packed layout
    EXPECT_EQ(read("data.gpc", 4), layout_of(scenario));
    read("data.gpc", 5, false, false);
    EXPECT_EQ(read("data.qsc", 1), text("first"));
    EXPECT_EQ(read("data.qsc", 2), Bytes{});
    EXPECT_EQ(read("data.qsc", 3), text("third"));
    EXPECT_EQ(read("data.qsc", 4), Bytes{});  // readable: a padding byte follows it
    uint32_t count = 0;
    ASSERT_TRUE(qln::archive_count(qln::MemorySource(qscf.data(), qscf.size()), count));
    EXPECT_EQ(count, 4u);

    // Noise is kept as it is (packed length 0), the flat entry packed.
    qln::MemorySource source(gpc7.data(), gpc7.size());
    qln::ArchiveEntryInfo info;
    ASSERT_TRUE(qln::archive_entry_info(source, 1, info));
    EXPECT_FALSE(info.method_b);
    EXPECT_EQ(info.stored, 500u);
    ASSERT_TRUE(qln::archive_entry_info(source, 2, info));
    EXPECT_TRUE(info.method_b);
    EXPECT_EQ(info.unpacked, 5000u);
    EXPECT_LT(info.stored, 20u);
}

TEST(ArchiveRead, MalformedArchivesAreRefused) {
    // A one-entry "Gpc7": count 1, offset 12, P = 5, U = 6, then the data.
    Bytes gpc7 = text("Gpc7");
    for (uint32_t v : {1, 12, 5, 6}) put_u32(gpc7, v);
    gpc7.insert(gpc7.end(), {0x02, 'a', 'b', 'c', 0x28});
    // A "QSCF" whose entry 1 is bytes 12 to 15, then filler so entry 2's
    // header bytes exist.
    Bytes qscf = text("QSCF");
    put_u32(qscf, 12);
    put_u32(qscf, 15);
    qscf.insert(qscf.end(), {'o', 'n', 'e'});
    put_u32(qscf, 0);
    Bytes out;
    ASSERT_TRUE(read_mem(gpc7, 1, false, out));
    EXPECT_EQ(out, text("abcabc"));
    ASSERT_TRUE(read_mem(qscf, 1, false, out));
    EXPECT_EQ(out, text("one"));
    // P = 0 with U = 5: the five bytes as they are.
    ASSERT_TRUE(read_mem(patched(patched(gpc7, 12, 0), 16, 5), 1, false, out));
    EXPECT_EQ(out, (Bytes{0x02, 'a', 'b', 'c', 0x28}));
    const Bytes junk = text("JUNKxxxxxxxxxxxx");
    ASSERT_TRUE(read_mem(junk, 0, false, out));
    EXPECT_EQ(out, junk);

    const struct {
        const char* why;
        Bytes file;
        uint16_t entry;
    } refused[] = {
        {"count below n", patched(gpc7, 4, 0), 1},
        {"P and U past the end", patched(gpc7, 8, 23), 1},
        {"offset wraps", patched(gpc7, 8, 0xFFFFFFF8), 1},
        {"P past the end", patched(gpc7, 12, 6), 1},
        {"P huge", patched(gpc7, 12, 0xFFFFFFFF), 1},
        {"U larger than it unpacks to", patched(gpc7, 16, 7), 1},
        {"U beyond any sane size", patched(gpc7, 16, 0xFFFFFFFF), 1},
        {"stored entry of 6 with 5 there", patched(gpc7, 12, 0), 1},
        {"data cut", Bytes(gpc7.begin(), gpc7.end() - 1), 1},
        {"header cut", Bytes(gpc7.begin(), gpc7.begin() + 11), 1},
        {"4n + 8 = 16 bytes exist, but count is 1", gpc7, 2},
        {"start at the file's end", patched(qscf, 4, 19), 1},
        {"start far past it", patched(qscf, 4, 0xFFFFFFFF), 1},
        {"end before start", patched(qscf, 8, 11), 1},
        {"end past the file", patched(qscf, 8, 20), 1},
        {"short header", Bytes(qscf.begin(), qscf.begin() + 11), 1},
        {"entry 2 ends where its text says", qscf, 2},
        {"unknown magic", junk, 1},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.why);
        EXPECT_FALSE(read_mem(c.file, c.entry, false, out));
    }
    // Listing refuses an end past the file without trying to read it.
    const Bytes end_past = patched(qscf, 8, 20);
    qln::ArchiveEntryInfo info;
    EXPECT_FALSE(
        qln::archive_entry_info(qln::MemorySource(end_past.data(), end_past.size()), 1, info));
}

TEST(ArchiveRead, LimitRefusesLargerEntries) {
    Bytes archive;
    ASSERT_TRUE(qln::archive_write_gpc7({Bytes(100000, 0)}, archive));
    qln::MemorySource source(archive.data(), archive.size());
    Bytes out;
    EXPECT_FALSE(qln::source_read(source, 1, false, out, 99999));
    EXPECT_TRUE(qln::source_read(source, 1, false, out, 100000));
    EXPECT_FALSE(qln::source_read(source, 0, false, out, archive.size() - 1));
}

TEST_F(FileReadTest, DirectoryPrefixComesFromTheSystemString) {
    dir.write("GRP/PIC.BMP", text("picture"));
    qln::Engine engine;
    ASSERT_TRUE(qln::tables_init(engine));
    qln::sysstr_set(engine, 2, "grp\\");
    Bytes out;
    qln::FileRef ref;
    ref.name = "pic.bmp";
    ref.directory = 3;  // system string 2
    ASSERT_TRUE(qln::file_read(engine, ref, out));
    EXPECT_EQ(out, text("picture"));
    ref.directory = 0;  // the name alone
    EXPECT_FALSE(qln::file_read(engine, ref, out));
    ref.name = "grp\\pic.bmp";
    EXPECT_TRUE(qln::file_read(engine, ref, out));
    ref.directory = 60000;  // a system string that does not exist counts as empty
    EXPECT_TRUE(qln::file_read(engine, ref, out));
    EXPECT_EQ(out, text("picture"));
}

}  // namespace
