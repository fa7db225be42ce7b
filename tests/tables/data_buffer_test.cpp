#include <gtest/gtest.h>

#include <cstring>

#include "graphics/picture.h"
#include "files/file_read.h"
#include "scenario/scenario.h"
#include "engine/engine.h"
#include "support/temp_dir.h"
#include "tables/tables.h"
#include "tables_fixture.h"

namespace qln {
namespace {

using DataBuffers = TablesTest;

TEST_F(DataBuffers, NumbersOutsideTheTableNameNothing) {
    EXPECT_EQ(buf_entry(engine, 256), nullptr);
    EXPECT_EQ(buf_entry(engine, -1), nullptr);
    EXPECT_NE(buf_entry(engine, 255), nullptr);
    EXPECT_EQ(buf_size(engine, 256), 0u);
    EXPECT_FALSE(buf_free(engine, 256));
    EXPECT_FALSE(buf_new_raw(engine, -1, 4));
    EXPECT_EQ(buf_new_picture(engine, 256, 2, 2), nullptr);
    EXPECT_FALSE(buf_new_regions(engine, 256, 2));
    EXPECT_FALSE(buf_dup(engine, 0, 256));
    EXPECT_FALSE(buf_dup(engine, -1, 0));
}

TEST_F(DataBuffers, RawBuffersAreZeroFilledAndTyped) {
    ASSERT_TRUE(buf_new_raw(engine, 5, 12));
    const uint8_t* raw = buf_get_raw(engine, 5);
    ASSERT_NE(raw, nullptr);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(raw[i], 0);
    EXPECT_EQ(buf_size(engine, 5), 12u);
    EXPECT_EQ(buf_entry(engine, 5)->type, BufType::Raw);
    EXPECT_EQ(buf_get_picture(engine, 5), nullptr);
    EXPECT_EQ(buf_get_regions(engine, 5), nullptr);
    EXPECT_EQ(buf_get_scenario(engine, 5), nullptr);
    EXPECT_EQ(buf_get_plugin(engine, 5), nullptr);

    // Freeing empties the slot but keeps its last size word.
    ASSERT_TRUE(buf_free(engine, 5));
    EXPECT_EQ(buf_entry(engine, 5)->type, BufType::Empty);
    EXPECT_EQ(buf_get_raw(engine, 5), nullptr);
    EXPECT_EQ(buf_size(engine, 5), 12u);
    EXPECT_TRUE(buf_free(engine, 5));  // an empty slot frees fine

    ASSERT_TRUE(buf_new_raw(engine, 5, 0));
    EXPECT_NE(buf_get_raw(engine, 5), nullptr);
    EXPECT_EQ(buf_size(engine, 5), 0u);
}

TEST_F(DataBuffers, RegionListsNumberTheirEntriesFromOne) {
    ASSERT_TRUE(buf_new_regions(engine, 9, 3));
    const RegionList* list = buf_get_regions(engine, 9);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->entries.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list->entries[i].id, i + 1);
        EXPECT_EQ(list->entries[i].flags, 0);
        EXPECT_EQ(list->entries[i].right - list->entries[i].left, 0);
        EXPECT_EQ(list->entries[i].highlight, 0);
    }
    EXPECT_EQ(buf_size(engine, 9), 1u);
    ASSERT_TRUE(buf_new_regions(engine, 9, 0));
    EXPECT_TRUE(buf_get_regions(engine, 9)->entries.empty());
    // Counts are 16-bit: a larger one fails and leaves the slot empty.
    EXPECT_FALSE(buf_new_regions(engine, 9, 0x10000));
    EXPECT_EQ(buf_entry(engine, 9)->type, BufType::Empty);
}

TEST_F(DataBuffers, PicturesAreCreatedAndDuplicatedWithTheirAlpha) {
    Picture* picture = buf_new_picture(engine, 1, 2, 3);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(buf_get_picture(engine, 1), picture);
    EXPECT_EQ(buf_size(engine, 1), 1u);
    EXPECT_EQ(picture->alpha, nullptr);
    for (size_t i = 0; i < picture->pixel_bytes(); ++i) picture->pixels[i] = uint8_t(0x44 + i);

    ASSERT_TRUE(buf_dup(engine, 1, 2));
    const Picture* copy = buf_get_picture(engine, 2);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, picture);
    EXPECT_EQ(copy->width, 2);
    EXPECT_EQ(copy->height, 3);
    EXPECT_EQ(std::memcmp(copy->pixels.get(), picture->pixels.get(), 18), 0);
    EXPECT_EQ(copy->alpha, nullptr);

    picture->alpha.reset(new uint8_t[6]{1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(buf_dup(engine, 1, 2));
    copy = buf_get_picture(engine, 2);
    ASSERT_NE(copy->alpha, nullptr);
    EXPECT_EQ(std::memcmp(copy->alpha.get(), picture->alpha.get(), 6), 0);
}

TEST_F(DataBuffers, DuplicatingCopiesRawBytesAndEmptiesForOtherKinds) {
    ASSERT_TRUE(buf_new_raw(engine, 1, 3));
    std::memcpy(buf_get_raw(engine, 1), "\x88\xCC\x44", 3);
    ASSERT_TRUE(buf_new_regions(engine, 2, 4));
    ASSERT_TRUE(buf_dup(engine, 1, 2));
    ASSERT_NE(buf_get_raw(engine, 2), nullptr);
    EXPECT_NE(buf_get_raw(engine, 2), buf_get_raw(engine, 1));
    EXPECT_EQ(buf_size(engine, 2), 3u);
    EXPECT_EQ(std::memcmp(buf_get_raw(engine, 2), "\x88\xCC\x44", 3), 0);

    // A region list is not copied: the destination ends up empty.
    ASSERT_TRUE(buf_new_regions(engine, 3, 2));
    ASSERT_TRUE(buf_dup(engine, 3, 2));
    EXPECT_EQ(buf_entry(engine, 2)->type, BufType::Empty);
    EXPECT_NE(buf_get_regions(engine, 3), nullptr);

    // Onto itself: dst is freed first, so the slot is emptied.
    ASSERT_TRUE(buf_dup(engine, 1, 1));
    EXPECT_EQ(buf_entry(engine, 1)->type, BufType::Empty);
    ASSERT_TRUE(buf_dup(engine, 4, 4));
}

TEST_F(DataBuffers, ScenariosInUseOutliveTheirSlot) {
    auto* running = new Scenario;
    running->in_use = true;
    DataBuffer* entry = buf_entry(engine, 8);
    entry->type = BufType::Scenario;
    entry->scenario = running;
    entry->size = 1;
    EXPECT_EQ(buf_get_scenario(engine, 8), running);
    ASSERT_TRUE(buf_free(engine, 8));
    EXPECT_EQ(entry->type, BufType::Empty);
    EXPECT_EQ(entry->scenario, nullptr);
    running->pc = 3;  // still alive: its owner releases it
    scn_release(running);

    // One that is not running goes with its slot (the sanitizer build sees a leak otherwise).
    entry->type = BufType::Scenario;
    entry->scenario = new Scenario;
    ASSERT_TRUE(buf_new_raw(engine, 8, 1));
    EXPECT_EQ(entry->scenario, nullptr);
}

class CopyBytes : public TablesTest {
  protected:
    void SetUp() override {
        TablesTest::SetUp();
        ASSERT_TRUE(buf_new_raw(engine, 1, 8));
        ASSERT_TRUE(buf_new_raw(engine, 2, 4));
        std::memcpy(buf_get_raw(engine, 1), "abcdefgh", 8);
        std::memcpy(buf_get_raw(engine, 2), "wxyz", 4);
    }
    std::string dst() { return std::string(reinterpret_cast<char*>(buf_get_raw(engine, 2)), 4); }
};

TEST_F(CopyBytes, CopiesARangeInsideBothBuffers) {
    ASSERT_TRUE(buf_copy_bytes(engine, 1, 2, 1, 5, 3));
    EXPECT_EQ(dst(), "wfgh");
    ASSERT_TRUE(buf_copy_bytes(engine, 1, 2, 4, 8, 0));  // empty ranges at the ends
    EXPECT_EQ(dst(), "wfgh");
}

TEST_F(CopyBytes, OnePastTheEndFailsAndCopiesNothing) {
    EXPECT_FALSE(buf_copy_bytes(engine, 1, 2, 0, 6, 3));  // source one past
    EXPECT_FALSE(buf_copy_bytes(engine, 1, 2, 2, 0, 3));  // destination one past
    EXPECT_FALSE(buf_copy_bytes(engine, 1, 2, -1, 0, 1));
    EXPECT_FALSE(buf_copy_bytes(engine, 1, 2, 0, -1, 1));
    EXPECT_FALSE(buf_copy_bytes(engine, 1, 2, 0, 0, -1));
    EXPECT_FALSE(buf_copy_bytes(engine, 1, 2, 0, INT32_MAX, INT32_MAX));  // no 32-bit wrap
    EXPECT_FALSE(buf_copy_bytes(engine, 1, 3, 0, 0, 1));                  // empty destination
    EXPECT_FALSE(buf_copy_bytes(engine, 256, 2, 0, 0, 1));
    EXPECT_EQ(dst(), "wxyz");
}

TEST_F(CopyBytes, OverlappingRangesInOneBufferCopyAsIfThroughATemporary) {
    ASSERT_TRUE(buf_copy_bytes(engine, 1, 1, 2, 0, 6));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buf_get_raw(engine, 1)), 8), "ababcdef");
}

class BufLoad : public TablesTest {
  protected:
    test::TempDir dir;
    test::CwdGuard cwd{dir.path()};

    FileRef ref(const char* name) {
        FileRef r;
        r.name = name;
        return r;
    }
};

TEST_F(BufLoad, AFileThatCannotBeReadLeavesTheSlotAsItWas) {
    ASSERT_TRUE(buf_new_raw(engine, 3, 2));
    EXPECT_FALSE(buf_load(engine, 3, ref("missing.dat")));
    EXPECT_EQ(buf_entry(engine, 3)->type, BufType::Raw);
    EXPECT_EQ(buf_size(engine, 3), 2u);
    dir.write("here.dat", {1});
    EXPECT_FALSE(buf_load(engine, 256, ref("here.dat")));
}

TEST_F(BufLoad, OtherBytesAreKeptAsTheyAre) {
    dir.write("data.bin", {0x44, 0x88, 0xCC, 0x00, 0x01});
    ASSERT_TRUE(buf_new_regions(engine, 3, 2));
    ASSERT_TRUE(buf_load(engine, 3, ref("data.bin")));
    ASSERT_EQ(buf_size(engine, 3), 5u);
    EXPECT_EQ(std::memcmp(buf_get_raw(engine, 3), "\x44\x88\xCC\x00\x01", 5), 0);
    dir.write("empty.bin", {});
    ASSERT_TRUE(buf_load(engine, 3, ref("empty.bin")));
    EXPECT_EQ(buf_entry(engine, 3)->type, BufType::Raw);
    EXPECT_EQ(buf_size(engine, 3), 0u);
}

TEST_F(BufLoad, AScenarioImageBecomesAScenarioObject) {
    // Magic, header offset 5, string table at 7: the smallest image there is.
    dir.write("tiny.qsc", {'Q', 'L', 'N', 0x05, 0x00, 0x07, 0x00});
    ASSERT_TRUE(buf_load(engine, 4, ref("tiny.qsc")));
    const Scenario* scenario = buf_get_scenario(engine, 4);
    ASSERT_NE(scenario, nullptr);
    EXPECT_EQ(scenario->size, 7u);
    EXPECT_STREQ(scenario->file_name, "tiny.qsc");
    EXPECT_EQ(buf_size(engine, 4), 1u);
    // A broken image is only bytes.
    dir.write("broken.qsc", {'Q', 'L', 'N', 0x40, 0x00});
    ASSERT_TRUE(buf_load(engine, 4, ref("broken.qsc")));
    EXPECT_EQ(buf_size(engine, 4), 5u);
    EXPECT_NE(buf_get_raw(engine, 4), nullptr);
}

}  // namespace
}  // namespace qln
