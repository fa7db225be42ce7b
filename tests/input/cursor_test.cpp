// The animated cursor: the file's checks and images, activation, and the
// frame timing of the poll step's cursor part.

#include <gtest/gtest.h>

#include "input/cursor.h"
#include "input/cursor_file.h"
#include "input/input_machine.h"
#include "platform/platform.h"
#include "support/temp_dir.h"

namespace qln::test {
namespace {

// bgra of palette entry k of CursorFileBuilder files.
uint32_t palette_bgra(int k) {
    return uint32_t(0x40 + k) | uint32_t(0x80 + k) << 8 | uint32_t(0xC0 + k) << 16 | 0xFFu << 24;
}
uint32_t bgra_at(const CursorImage& image, int x, int y) {
    const uint8_t* p = image.bgra + (y * 32 + x) * 4;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

CursorFileBuilder two_images() {
    CursorFileBuilder b;
    b.images = 2;
    b.hot_x = 3;
    b.hot_y = 4;
    b.frames[0] = {{0, 5}, {1, 2}};
    b.frames[1] = {{1, 0}};
    return b;
}

TEST(CursorFile, IsRefusedUnlessHeaderImagesAndFrameTablesAllFit) {
    std::vector<uint8_t> f = two_images().bytes();
    ASSERT_EQ(f.size(), 80u + 2 * 640 + 3 * 4);
    CursorLayout layout;
    ASSERT_TRUE(cursor_layout_read(f.data(), f.size(), layout));
    EXPECT_EQ(layout.image_count, 2);
    EXPECT_EQ(
        (std::vector<int>{layout.frame_count[0], layout.frame_count[1], layout.frame_count[2]}),
        (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(layout.frame_table[1], 80u + 1280 + 8);
    const CursorFrame second = cursor_frame_at(f.data(), layout, 0, 1);
    EXPECT_EQ(second.image, 1);
    EXPECT_EQ(second.duration, 2);

    EXPECT_FALSE(cursor_layout_read(f.data(), f.size() - 1, layout));  // last frame cut
    EXPECT_FALSE(cursor_layout_read(f.data(), 79, layout));
    EXPECT_FALSE(cursor_layout_read(nullptr, 0, layout));
    std::vector<uint8_t> wrong = f;
    wrong[3] = 'R';
    EXPECT_FALSE(cursor_layout_read(wrong.data(), wrong.size(), layout));
    std::vector<uint8_t> huge = f;
    huge[4] = huge[5] = 0xFF;  // 65535 images
    huge[74] = huge[75] = 0xFF;
    EXPECT_FALSE(cursor_layout_read(huge.data(), huge.size(), layout));
}

TEST(CursorFile, ImagesAreStoredBottomRowFirstWithTheAndMaskTopRowFirst) {
    CursorFileBuilder b;
    std::vector<uint8_t> f = b.bytes();
    uint8_t* pixels = f.data() + 80;
    pixels[31 * 16] = 0x51;      // file row 31 is the top row: pixels 0 and 1
    pixels[0 * 16 + 15] = 0x17;  // file row 0 is the bottom row: pixels 30 and 31
    pixels[512 + 0] = 0x40;      // mask: top row, pixel 1 transparent
    pixels[512 + 127] = 0x02;    // mask: bottom row, pixel 30 transparent
    CursorLayout layout;
    ASSERT_TRUE(cursor_layout_read(f.data(), f.size(), layout));
    CursorImage image;
    ASSERT_TRUE(cursor_image_build(f.data(), layout, 0, image));
    EXPECT_EQ(bgra_at(image, 0, 0), palette_bgra(5));
    EXPECT_EQ(bgra_at(image, 1, 0), 0u);
    EXPECT_EQ(bgra_at(image, 2, 0), palette_bgra(1));
    EXPECT_EQ(bgra_at(image, 30, 31), 0u);
    EXPECT_EQ(bgra_at(image, 31, 31), palette_bgra(7));
    EXPECT_EQ(bgra_at(image, 31, 30), palette_bgra(1));
    EXPECT_FALSE(cursor_image_build(f.data(), layout, 1, image));
}

TEST(CursorAnimation, FramesFollowTheirDurationsTheButtonsAndThePointerAcrossTheWrap) {
    InputMachine m;
    raw_buffer(m.engine, 30, two_images().bytes());
    const uint32_t t0 = m.platform.now = 0xFFFFFFF0u;  // the counter wraps 16 ms in
    m.platform.pointer_x = m.platform.pointer_y = 10;
    ASSERT_TRUE(cursor_activate(m.engine, buf_get_raw(m.engine, 30), buf_size(m.engine, 30)));
    // Image 0 shows for 50 ms, image 1 for 20. Outside the screen nothing is
    // shown and the frame waits. The right button's state 2 has no frames;
    // the left button's state 1 starts at once, and its duration 0 ends the
    // animation with that image shown.
    const struct {
        uint32_t ms;
        int32_t x;
        uint8_t left, right;
        uint32_t shows;
        int image;  // palette entry of the image shown, 0 when not checked
    } steps[] = {{0, 10, 0, 0, 1, 1},    {49, 10, 0, 0, 1, 0}, {50, 10, 0, 0, 2, 2},
                 {69, 10, 0, 0, 2, 0},   {70, 10, 0, 0, 3, 1}, {200, 640, 0, 0, 3, 0},
                 {201, 639, 0, 0, 4, 2}, {300, 0, 0, 1, 4, 0}, {3000, 0, 0, 1, 4, 0},
                 {3001, 0, 1, 0, 5, 0},  {8000, 0, 0, 0, 5, 0}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.ms);
        m.pointer(0, 0, step.left, step.right);
        m.platform.pointer_x = step.x;
        cursor_tick(m.engine, t0 + step.ms);
        EXPECT_EQ(m.platform.cursor_shows, step.shows);
        if (step.image) {
            EXPECT_EQ(bgra_at(m.platform.cursor_last, 0, 0), palette_bgra(step.image));
        }
    }
    EXPECT_EQ(m.platform.cursor_last.hot_x, 3);
    EXPECT_EQ(m.platform.cursor_last.hot_y, 4);
    EXPECT_FALSE(m.engine.tracking.cursor.enabled);
}

TEST(CursorSet, RefusesTheActiveDataNonRawBuffersAndBrokenFiles) {
    InputMachine m;
    CursorFileBuilder one;
    one.frames[0] = {{0, 5}};
    raw_buffer(m.engine, 30, one.bytes());
    std::vector<uint8_t> broken = two_images().bytes();
    broken.pop_back();
    raw_buffer(m.engine, 31, broken);
    ASSERT_TRUE(
        m.go("  cursor_set 30\n  cursor_set 30\n  cursor_set 31\n  cursor_set 40\n  cursor_set -1\n"
             "  end\n"));
    EXPECT_EQ(m.all_errors(), (std::vector<std::string>{"107 buf_no = 30", "107 buf_no = 31",
                                                        "107 buf_no = 40", "107 buf_no = -1"}));
    EXPECT_EQ(m.engine.tracking.cursor.source, CursorSource::Buffer);
    // The animation runs on its own copy: the buffer may go.
    ASSERT_TRUE(buf_free(m.engine, 30));
    m.platform.pointer_x = m.platform.pointer_y = 1;
    cursor_tick(m.engine, m.platform.now + 1000);
    EXPECT_EQ(bgra_at(m.platform.cursor_last, 5, 5), palette_bgra(1));
}

TEST(CursorSet, AMaskRegionWithAButtonCursorActivatesItWhileHovered) {
    InputMachine m;
    raw_buffer(m.engine, 30, two_images().bytes());
    m.open(1, 0, 0, 8, 4);
    ASSERT_TRUE(buf_new_raw(m.engine, 9, 2));
    buf_get_raw(m.engine, 9)[1] = 2;
    m.win(1).mask = 9;
    ASSERT_TRUE(m.go("    btn_cursor 2, 0x11E\n    end\n"));  // low 8 bits: buffer 30
    EXPECT_EQ(m.engine.tracking.button_cursors[2], 30);
    m.hit(1, 1);
    EXPECT_EQ(m.engine.tracking.cursor.source, CursorSource::None);
    m.hit(5, 1);
    EXPECT_EQ(m.engine.tracking.cursor.source, CursorSource::Buffer);
    ASSERT_TRUE(m.go("    btn_cursor 256, 1\n    btn_cursor -1, -1\n    end\n"));
    EXPECT_EQ(m.error(0), "107 btn_id = 256");
    EXPECT_EQ(m.engine.tracking.button_cursors[2], 0);
}

TEST(CursorDefault, IsReadAtStartUpMissingIsNoErrorAndReleaseGivesTheArrowBack) {
    TempDir dir;
    dir.write("DEFAULT.AMP", two_images().bytes());
    {
        CwdGuard here(dir.path());
        InputMachine m;
        cursor_init(m.engine);
        EXPECT_EQ(m.engine.tracking.cursor.source, CursorSource::Default);
        EXPECT_FALSE(cursor_activate(m.engine, nullptr, 0));  // already the default
        raw_buffer(m.engine, 30, two_images().bytes());
        ASSERT_TRUE(cursor_activate(m.engine, buf_get_raw(m.engine, 30), buf_size(m.engine, 30)));
        EXPECT_TRUE(cursor_activate(m.engine, nullptr, 0));
        cursor_tick(m.engine, m.platform.now);
        EXPECT_FALSE(m.platform.cursor_is_arrow);
        cursor_release(m.engine);
        EXPECT_TRUE(m.platform.cursor_is_arrow);
        EXPECT_FALSE(m.engine.tracking.cursor.enabled);
    }
    InputMachine missing;
    cursor_init(missing.engine);
    EXPECT_EQ(missing.engine.tracking.cursor.source, CursorSource::None);
    EXPECT_FALSE(cursor_activate(missing.engine, nullptr, 0));
}

}  // namespace
}  // namespace qln::test
