#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/engine.h"
#include "files/file_read.h"
#include "graphics/picture.h"
#include "scenario/buffer_load.h"
#include "scenario/scenario.h"
#include "support/temp_dir.h"
#include "tables/tables.h"
#include "tables_fixture.h"

namespace qln {
namespace {

using DataBuffers = TablesTest;

TEST_F(DataBuffers, RawAndRegionBuffersInsideTheTableOnly) {
    EXPECT_EQ(buf_entry(engine, 256), nullptr);
    EXPECT_EQ(buf_entry(engine, -1), nullptr);
    EXPECT_NE(buf_entry(engine, 255), nullptr);
    EXPECT_FALSE(buf_free(engine, 256));
    EXPECT_FALSE(buf_new_raw(engine, -1, 4));
    EXPECT_EQ(buf_new_picture(engine, 256, 2, 2), nullptr);
    EXPECT_FALSE(buf_new_regions(engine, 256, 2));
    EXPECT_FALSE(buf_dup(engine, 0, 256));

    // Raw buffers are zero-filled; freeing keeps the size word.
    ASSERT_TRUE(buf_new_raw(engine, 5, 12));
    ASSERT_NE(buf_get_raw(engine, 5), nullptr);
    EXPECT_EQ(std::memcmp(buf_get_raw(engine, 5), std::string(12, '\0').data(), 12), 0);
    EXPECT_EQ(buf_get_picture(engine, 5), nullptr);
    EXPECT_EQ(buf_get_regions(engine, 5), nullptr);
    ASSERT_TRUE(buf_free(engine, 5));
    EXPECT_EQ(buf_get_raw(engine, 5), nullptr);
    EXPECT_EQ(buf_size(engine, 5), 12u);
    ASSERT_TRUE(buf_new_raw(engine, 5, 0));
    EXPECT_NE(buf_get_raw(engine, 5), nullptr);

    // Region lists number their entries from one; counts are 16-bit, and a
    // larger one fails and leaves the slot empty.
    ASSERT_TRUE(buf_new_regions(engine, 9, 3));
    const RegionList* list = buf_get_regions(engine, 9);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->entries.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list->entries[i].id, i + 1);
    }
    EXPECT_EQ(buf_size(engine, 9), 1u);
    EXPECT_FALSE(buf_new_regions(engine, 9, 0x10000));
    EXPECT_EQ(buf_entry(engine, 9)->type, BufType::Empty);
}

TEST_F(DataBuffers, DuplicatingCopiesPicturesAndRawBytesAndEmptiesForOtherKinds) {
    Picture* picture = buf_new_picture(engine, 1, 2, 3);
    ASSERT_NE(picture, nullptr);
    for (size_t i = 0; i < picture->pixel_bytes(); ++i) picture->pixels[i] = uint8_t(0x44 + i);
    picture->alpha.reset(new uint8_t[6]{1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(buf_dup(engine, 1, 2));
    const Picture* copy = buf_get_picture(engine, 2);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, picture);
    EXPECT_EQ(copy->height, 3);
    EXPECT_EQ(std::memcmp(copy->pixels.get(), picture->pixels.get(), 18), 0);
    ASSERT_NE(copy->alpha, nullptr);
    EXPECT_EQ(std::memcmp(copy->alpha.get(), picture->alpha.get(), 6), 0);

    ASSERT_TRUE(buf_new_raw(engine, 3, 3));
    std::memcpy(buf_get_raw(engine, 3), "\x88\xCC\x44", 3);
    ASSERT_TRUE(buf_dup(engine, 3, 2));
    EXPECT_NE(buf_get_raw(engine, 2), buf_get_raw(engine, 3));
    EXPECT_EQ(buf_size(engine, 2), 3u);
    EXPECT_EQ(std::memcmp(buf_get_raw(engine, 2), "\x88\xCC\x44", 3), 0);

    ASSERT_TRUE(buf_new_regions(engine, 4, 2));
    ASSERT_TRUE(buf_dup(engine, 4, 2));  // region lists are not copied
    EXPECT_EQ(buf_entry(engine, 2)->type, BufType::Empty);
    ASSERT_TRUE(buf_dup(engine, 3, 3));  // dst is freed first
    EXPECT_EQ(buf_entry(engine, 3)->type, BufType::Empty);
}

TEST_F(DataBuffers, ScenariosInUseOutliveTheirSlot) {
    auto* running = new Scenario;
    running->in_use = true;
    DataBuffer* entry = buf_entry(engine, 8);
    entry->type = BufType::Scenario;
    entry->scenario = running;
    ASSERT_TRUE(buf_free(engine, 8));
    EXPECT_EQ(entry->scenario, nullptr);
    running->pc = 3;  // still alive: its owner releases it
    scn_release(running);
    // One that is not running goes with its slot (the sanitizer build sees a leak otherwise).
    entry->type = BufType::Scenario;
    entry->scenario = new Scenario;
    ASSERT_TRUE(buf_new_raw(engine, 8, 1));
    EXPECT_EQ(entry->scenario, nullptr);
}

TEST_F(DataBuffers, CopyBytesStaysInsideBothBuffers) {
    ASSERT_TRUE(buf_new_raw(engine, 1, 8));
    ASSERT_TRUE(buf_new_raw(engine, 2, 4));
    std::memcpy(buf_get_raw(engine, 1), "abcdefgh", 8);
    std::memcpy(buf_get_raw(engine, 2), "wxyz", 4);
    const auto text = [&](int n, size_t size) {
        return std::string(reinterpret_cast<char*>(buf_get_raw(engine, n)), size);
    };
    const struct {
        int32_t src, dst, dst_offset, src_offset, count;
    } refused[] = {{1, 2, 0, 6, 3},  {1, 2, 2, 0, 3},  {1, 2, -1, 0, 1},
                   {1, 2, 0, -1, 1}, {1, 2, 0, 0, -1}, {1, 2, 0, INT32_MAX, INT32_MAX},
                   {1, 3, 0, 0, 1},  {256, 2, 0, 0, 1}};
    for (const auto& c : refused) {
        SCOPED_TRACE(testing::Message() << c.dst_offset << " " << c.src_offset << " " << c.count);
        EXPECT_FALSE(buf_copy_bytes(engine, c.src, c.dst, c.dst_offset, c.src_offset, c.count));
    }
    EXPECT_EQ(text(2, 4), "wxyz");
    ASSERT_TRUE(buf_copy_bytes(engine, 1, 2, 1, 5, 3));
    EXPECT_EQ(text(2, 4), "wfgh");
    ASSERT_TRUE(buf_copy_bytes(engine, 1, 2, 4, 8, 0));  // empty ranges at the ends
    // Overlapping ranges copy as if through a temporary.
    ASSERT_TRUE(buf_copy_bytes(engine, 1, 1, 2, 0, 6));
    EXPECT_EQ(text(1, 8), "ababcdef");
}

class BufLoad : public TablesTest {
  protected:
    test::TempDir dir;
    test::CwdGuard cwd{dir.path()};
    static FileRef ref(const char* name) { return FileRef{name}; }
};

TEST_F(BufLoad, ScenarioImagesBecomeScenariosOtherBytesStayBytes) {
    // A file that cannot be read leaves the slot as it was.
    ASSERT_TRUE(buf_new_raw(engine, 3, 2));
    EXPECT_FALSE(buf_load(engine, 3, ref("missing.dat")));
    EXPECT_EQ(buf_size(engine, 3), 2u);
    dir.write("here.dat", {1});
    EXPECT_FALSE(buf_load(engine, 256, ref("here.dat")));
    // Magic, header offset 5, string table at 7: the smallest image there is.
    dir.write("tiny.qsc", {'Q', 'L', 'N', 0x05, 0x00, 0x07, 0x00});
    ASSERT_TRUE(buf_load(engine, 4, ref("tiny.qsc")));
    const Scenario* scenario = buf_get_scenario(engine, 4);
    ASSERT_NE(scenario, nullptr);
    EXPECT_EQ(scenario->size, 7u);
    EXPECT_STREQ(scenario->file_name, "tiny.qsc");
    EXPECT_EQ(buf_size(engine, 4), 1u);
    dir.write("broken.qsc", {'Q', 'L', 'N', 0x40, 0x00});
    ASSERT_TRUE(buf_load(engine, 4, ref("broken.qsc")));
    EXPECT_EQ(buf_size(engine, 4), 5u);
    EXPECT_EQ(std::memcmp(buf_get_raw(engine, 4), "QLN\x40", 5), 0);
}

}  // namespace
}  // namespace qln
