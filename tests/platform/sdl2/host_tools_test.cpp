// The bitmap file made for the clipboard, and a second copy of the game
// knocking at the first one's socket.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/draw.h"
#include "graphics/picture.h"
#include "platform/sdl2/host_tools.h"
#include "platform/sdl2/instance_raise.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

uint32_t u32_at(const std::string& s, size_t at) {
    return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8 |
           uint32_t(uint8_t(s[at + 2])) << 16 | uint32_t(uint8_t(s[at + 3])) << 24;
}

TEST(HostTools, TheClipboardBitmapFileHeadsThePackedBitmap) {
    Picture* p = picture_create(3, 2);
    ASSERT_NE(p, nullptr);
    std::fill(p->pixels.get(), p->pixels.get() + p->pixel_bytes(), uint8_t(0x5A));
    const std::vector<uint8_t> dib = picture_to_packed_dib(*p);
    picture_free(p);
    const std::string file = bitmap_file_from_dib(dib.data(), dib.size());
    ASSERT_EQ(file.size(), 14 + dib.size());
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(u32_at(file, 2), 14 + dib.size());
    EXPECT_EQ(u32_at(file, 6), 0u);
    EXPECT_EQ(u32_at(file, 10), 54u);  // no colour table at 24 bits
    EXPECT_EQ(file.substr(14), std::string(dib.begin(), dib.end()));

    // An 8-bit bitmap's colour table comes before the pixels.
    std::vector<uint8_t> eight(40 + 256 * 4 + 4, 0);
    eight[0] = 40;
    eight[14] = 8;
    EXPECT_EQ(u32_at(bitmap_file_from_dib(eight.data(), eight.size()), 10), 14u + 40 + 1024);
    // Headers that cannot be: too short, larger than the data, a colour
    // table past the end.
    EXPECT_EQ(bitmap_file_from_dib(dib.data(), 39), "");
    std::vector<uint8_t> bad = dib;
    bad[0] = 200;
    EXPECT_EQ(bitmap_file_from_dib(bad.data(), bad.size()), "");
    bad = dib;
    bad[32] = 0xFF, bad[33] = 0xFF, bad[34] = 0xFF, bad[35] = 0x3F;
    EXPECT_EQ(bitmap_file_from_dib(bad.data(), bad.size()), "");
    EXPECT_EQ(bitmap_file_from_dib(nullptr, 100), "");
}

TEST(InstanceRaise, TheSecondCopyKnocksAndTheFirstHearsItOnce) {
    test::TempDir dir;
    const std::string path = dir.str() + "/quillon-test.raise";
    EXPECT_FALSE(instance_raise_request(path));  // nobody listens yet
    {
        RaiseListener listener;
        ASSERT_TRUE(listener.open(path));
        EXPECT_FALSE(listener.asked());
        EXPECT_TRUE(instance_raise_request(path));
        EXPECT_TRUE(instance_raise_request(path));
        EXPECT_TRUE(listener.asked());  // both knocks at once
        EXPECT_FALSE(listener.asked());
        // A socket file left behind by a crashed copy is taken over.
        RaiseListener second;
        ASSERT_TRUE(second.open(path));
        EXPECT_TRUE(instance_raise_request(path));
        EXPECT_TRUE(second.asked());
    }
    EXPECT_FALSE(instance_raise_request(path));
    // The path sits beside the lock file and is named after the directory.
    EXPECT_NE(instance_raise_path("/games/a"), instance_raise_path("/games/b"));
    const std::string p = instance_raise_path("/games/a");
    EXPECT_EQ(p.substr(p.size() - 6), ".raise");
    EXPECT_NE(p.find("/quillon-"), std::string::npos);
    EXPECT_FALSE(RaiseListener().open(std::string(200, 'x')));  // too long for a socket
}

}  // namespace
}  // namespace qln
