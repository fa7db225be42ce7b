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
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

Bytes layout_of(const Bytes& in) {
    Bytes out;
    EXPECT_TRUE(qln::pack_layout(in.data(), in.size(), out));
    return out;
}

// A copy of b with the u32 at `at` replaced.
Bytes patched(const Bytes& b, size_t at, uint32_t v) {
    Bytes out = b;
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
    return out;
}

// Reads entry `entry` of bytes held in memory, as file_read does.
bool read_mem(const Bytes& file, uint16_t entry, bool compressed, Bytes& out) {
    return qln::source_read(qln::MemorySource(file.data(), file.size()), entry, compressed, out);
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

TEST_F(FileReadTest, WholeFileHoldsExactlyItsBytes) {
    dir.write("plain.bin", text("hello"));
    EXPECT_EQ(read("plain.bin"), text("hello"));
    dir.write("empty.bin", {});
    EXPECT_EQ(read("empty.bin"), Bytes{});
    read("missing.bin", 0, false, false);
    // A directory is not a file.
    std::filesystem::create_directory(dir.path() / "sub");
    read("sub", 0, false, false);
}

TEST_F(FileReadTest, CompressedFileIsUnpacked) {
    const Bytes picture = qln::test::picture_like(100, 50, 3);
    dir.write("pic.cmp", layout_of(picture));
    EXPECT_EQ(read("pic.cmp", 0, true), picture);
}

TEST_F(FileReadTest, CompressedLengthFieldMustMatch) {
    // The data would unpack, but the second field says 5 where 6 follow.
    dir.write("bad.cmp", {6, 0, 5, 0, 0x10, 'a', 'b', 'c', 0x20, 0x00});
    read("bad.cmp", 0, true, false);
    dir.write("good.cmp", {6, 0, 6, 0, 0x10, 'a', 'b', 'c', 0x20, 0x00});
    EXPECT_EQ(read("good.cmp", 0, true), text("abcabc"));
    // Too short to hold the two fields at all.
    dir.write("tiny.cmp", {0, 0, 0});
    read("tiny.cmp", 0, true, false);
    // Stated length larger than the data produces.
    dir.write("short.cmp", {9, 0, 6, 0, 0x10, 'a', 'b', 'c', 0x20, 0x00});
    read("short.cmp", 0, true, false);
}

TEST_F(FileReadTest, Gpc7EntriesStoredAndPacked) {
    const Bytes noise = qln::test::matchless_bytes(500, 9);
    const Bytes flat(5000, 'f');
    const Bytes scenario = text("QLN scenario image");
    Bytes archive;
    ASSERT_TRUE(qln::archive_write_gpc7({noise, flat, {}, layout_of(scenario)}, archive));
    dir.write("data.gpc", archive);

    EXPECT_EQ(read("data.gpc", 1), noise);
    EXPECT_EQ(read("data.gpc", 2), flat);
    EXPECT_EQ(read("data.gpc", 3), Bytes{});
    EXPECT_EQ(read("data.gpc", 4, true), scenario);
    read("data.gpc", 5, false, false);
    // Entry 0 is the archive file itself.
    EXPECT_EQ(read("data.gpc", 0), archive);

    // Noise is kept as it is (packed length 0), the flat entry packed.
    qln::MemorySource source(archive.data(), archive.size());
    qln::ArchiveEntryInfo info;
    ASSERT_TRUE(qln::archive_entry_info(source, 1, info));
    EXPECT_FALSE(info.method_b);
    EXPECT_EQ(info.stored, 500u);
    ASSERT_TRUE(qln::archive_entry_info(source, 2, info));
    EXPECT_TRUE(info.method_b);
    EXPECT_EQ(info.unpacked, 5000u);
    EXPECT_LT(info.stored, 20u);
}

TEST_F(FileReadTest, QscfEntriesAreStoredAsTheyAre) {
    Bytes archive;
    ASSERT_TRUE(qln::archive_write_qscf({text("first"), {}, text("third"), {}}, archive));
    dir.write("data.qsc", archive);
    EXPECT_EQ(read("data.qsc", 1), text("first"));
    EXPECT_EQ(read("data.qsc", 2), Bytes{});
    EXPECT_EQ(read("data.qsc", 3), text("third"));
    // The empty last entry is readable because a padding byte follows it.
    EXPECT_EQ(read("data.qsc", 4), Bytes{});
    uint32_t count = 0;
    ASSERT_TRUE(qln::archive_count(qln::MemorySource(archive.data(), archive.size()), count));
    EXPECT_EQ(count, 4u);
}

TEST(ArchiveRead, MalformedGpc7IsRefused) {
    // A valid one-entry archive: header, count 1, offset 12, P = 2, U = 6.
    Bytes good = text("Gpc7");
    put_u32(good, 1);
    put_u32(good, 12);
    put_u32(good, 5);
    put_u32(good, 6);
    good.insert(good.end(), {0x02, 'a', 'b', 'c', 0x28});
    Bytes out;
    ASSERT_TRUE(read_mem(good, 1, false, out));
    EXPECT_EQ(out, text("abcabc"));

    EXPECT_FALSE(read_mem(patched(good, 4, 0), 1, false, out));            // count below n
    EXPECT_FALSE(read_mem(patched(good, 8, 23), 1, false, out));           // P and U past the end
    EXPECT_FALSE(read_mem(patched(good, 8, 0xFFFFFFF8), 1, false, out));   // offset wraps
    EXPECT_FALSE(read_mem(patched(good, 12, 6), 1, false, out));           // P past the end
    EXPECT_FALSE(read_mem(patched(good, 12, 0xFFFFFFFF), 1, false, out));  // P huge
    EXPECT_FALSE(read_mem(patched(good, 16, 7), 1, false, out));  // U larger than it unpacks to
    EXPECT_FALSE(read_mem(patched(good, 16, 0xFFFFFFFF), 1, false, out));  // U beyond any sane size
    EXPECT_FALSE(read_mem(Bytes(good.begin(), good.end() - 1), 1, false, out));     // data cut
    EXPECT_FALSE(read_mem(Bytes(good.begin(), good.begin() + 11), 1, false, out));  // header cut
    EXPECT_FALSE(read_mem(good, 2, false, out));  // 4n + 8 = 16 bytes exist, but count is 1
    EXPECT_TRUE(out.empty());

    // Stored entry (P = 0) whose 6 bytes are not all there: 5 follow.
    EXPECT_FALSE(read_mem(patched(good, 12, 0), 1, false, out));
    // P = 0 with U = 5: the five bytes as they are.
    ASSERT_TRUE(read_mem(patched(patched(good, 12, 0), 16, 5), 1, false, out));
    EXPECT_EQ(out, (Bytes{0x02, 'a', 'b', 'c', 0x28}));
}

TEST(ArchiveRead, MalformedQscfIsRefused) {
    Bytes good = text("QSCF");
    put_u32(good, 12);  // entry 1 start
    put_u32(good, 15);  // entry 1 end, entry 2 start
    good.insert(good.end(), {'o', 'n', 'e'});
    put_u32(good, 0);  // filler so entry 2's header bytes exist
    Bytes out;
    ASSERT_TRUE(read_mem(good, 1, false, out));
    EXPECT_EQ(out, text("one"));

    EXPECT_FALSE(read_mem(patched(good, 4, 19), 1, false, out));          // start at the file's end
    EXPECT_FALSE(read_mem(patched(good, 4, 0xFFFFFFFF), 1, false, out));  // start far past it
    EXPECT_FALSE(read_mem(patched(good, 8, 11), 1, false, out));          // end before start
    EXPECT_FALSE(read_mem(patched(good, 8, 20), 1, false, out));          // end past the file
    EXPECT_FALSE(read_mem(Bytes(good.begin(), good.begin() + 11), 1, false, out));  // short header
    // Entry 2 would end where the u32 at 12 says, and that is text: past the file.
    EXPECT_FALSE(read_mem(good, 2, false, out));
    EXPECT_TRUE(out.empty());
}

TEST(ArchiveRead, UnknownMagicAndEntryZero) {
    Bytes junk = text("JUNKxxxxxxxxxxxx");
    Bytes out;
    EXPECT_FALSE(read_mem(junk, 1, false, out));
    ASSERT_TRUE(read_mem(junk, 0, false, out));
    EXPECT_EQ(out, junk);
}

TEST(ArchiveRead, PackedEntryOfAnArchiveIsUnpackedTwice) {
    // Gpc7 method B around a packed layout (method A): how scenarios ship.
    const Bytes image = qln::test::picture_like(60, 40, 4);
    Bytes archive;
    ASSERT_TRUE(qln::archive_write_gpc7({layout_of(image)}, archive));
    Bytes out;
    ASSERT_TRUE(read_mem(archive, 1, true, out));
    EXPECT_EQ(out, image);
    // Without the compressed flag the layout comes back as stored.
    ASSERT_TRUE(read_mem(archive, 1, false, out));
    EXPECT_EQ(out, layout_of(image));
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

TEST(ArchiveRead, CompressedReadRefusesMoreThanTheLayoutCanState) {
    // 65,540 bytes cannot be a packed layout (its length field is 16 bits),
    // whatever the first four bytes say.
    Bytes big(65540, 0);
    big[2] = 0xFF;
    big[3] = 0xFF;
    Bytes out;
    EXPECT_FALSE(read_mem(big, 0, true, out));
    // One byte less and the field matches: 65,535 bytes of method A data
    // with U = 0 give nothing.
    big.pop_back();
    ASSERT_TRUE(read_mem(big, 0, true, out));
    EXPECT_TRUE(out.empty());
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

    // A system string that does not exist counts as empty.
    ref.directory = 60000;
    EXPECT_TRUE(qln::file_read(engine, ref, out));
    EXPECT_EQ(out, text("picture"));
}

TEST_F(FileReadTest, NamesMatchWithoutRegardToCase) {
    dir.write("BG01.BMP", text("bg"));
    dir.write("Data/Sub/Scene.QLN", text("scene"));
    EXPECT_EQ(read("bg01.bmp"), text("bg"));
    EXPECT_EQ(read("DATA\\SUB\\scene.qln"), text("scene"));
    EXPECT_EQ(read("data/sub\\SCENE.qln"), text("scene"));
}

TEST_F(FileReadTest, ShiftJisNamesOpen) {
    dir.write("画像.bmp", text("sjis"));
    // "画像" in code page 932.
    EXPECT_EQ(read("\x89\xE6\x91\x9C.bmp"), text("sjis"));
    // A lone lead byte is not a name.
    read("\x89.bmp", 0, false, false);
}

}  // namespace
