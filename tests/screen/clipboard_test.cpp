// The program's own picture and the Alt+Print Screen flow that puts it on
// the clipboard.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "base/byte_order.h"
#include "engine/engine.h"
#include "graphics/decode_test_support.h"
#include "platform/headless/headless_platform.h"
#include "platform/null/null_platform.h"
#include "resources/embedded_picture.h"
#include "screen/clipboard.h"
#include "screen/screen.h"

namespace qln::test {
namespace {

constexpr Bgr gold{0x33, 0xCC, 0xFF};

TEST(EmbeddedPicture, IsTheCommittedPlanarFileAndDecodesTo640By400) {
    const std::string qcg = std::string(QUILLON_SOURCE_DIR) + "/src/resources/embedded_picture.qcg";
    std::ifstream f(qcg, std::ios::binary);
    ASSERT_TRUE(f) << qcg;
    const Bytes file((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    const uint8_t* data = nullptr;
    size_t size = 0;
    ASSERT_TRUE(resource_find("QCG", 103, data, size));
    EXPECT_EQ(Bytes(data, data + size), file);
    EXPECT_FALSE(resource_find("QCG", 104, data, size));
    EXPECT_FALSE(resource_find("BMP", 103, data, size));

    PictureOwner p = decode(file);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, 640);
    EXPECT_EQ(p->height, 400);
    EXPECT_FALSE(p->alpha);
    EXPECT_EQ(pixel(*p, 0, 0), gold);
    EXPECT_EQ(pixel(*p, 639, 399), gold);
    // The row of all sixteen colours: black first, white eighth, purple last.
    EXPECT_EQ(pixel(*p, 50, 300), black);
    EXPECT_EQ(pixel(*p, 40 + 7 * 35 + 10, 300), white);
    EXPECT_EQ(pixel(*p, 40 + 15 * 35 + 10, 300), (Bgr{0xAA, 0x44, 0x77}));
}

void expect_packed_dib(const Bytes& dib) {
    ASSERT_EQ(dib.size(), 40u + 1920u * 400u);
    EXPECT_EQ(read_u32(dib.data() + 4), 640u);
    EXPECT_EQ(read_u32(dib.data() + 8), 400u);
    // The first row is the picture's bottom row: the gold frame.
    EXPECT_EQ(Bgr({dib[40], dib[41], dib[42]}), gold);
    // Row 300 from the top is row 99 from the bottom; its 51st pixel is black.
    const size_t at = 40 + 99 * 1920 + 50 * 3;
    EXPECT_EQ(Bgr({dib[at], dib[at + 1], dib[at + 2]}), black);
}

TEST(EmbeddedPicture, AltPrintScreenPutsItOnTheClipboardAsAPackedBitmap) {
    Engine engine;
    NullPlatform fake;
    engine.platform = fake.services();
    ASSERT_TRUE(clipboard_copy_embedded_picture(engine));
    expect_packed_dib(fake.clipboard);
}

ScriptEvent key(ScriptEventKind kind, uint8_t code) {
    ScriptEvent e;
    e.kind = kind;
    e.code = code;
    return e;
}

TEST(EmbeddedPicture, HeadlessBackendCopiesItOnAltPrintScreenRelease) {
    constexpr uint8_t alt = 0x12, print_screen = 0x2C;
    for (bool with_alt : {false, true}) {
        Engine engine;
        HeadlessOptions o;
        if (with_alt) o.events.push_back(key(ScriptEventKind::KeyDown, alt));
        o.events.push_back(key(ScriptEventKind::KeyDown, print_screen));
        o.events.push_back(key(ScriptEventKind::KeyUp, print_screen));
        HeadlessPlatform headless(o);
        engine.platform = headless.services();
        ASSERT_TRUE(screen_init(engine));  // which gives the backend its hooks
        headless.attach(engine.shared);
        headless.deliver_due();
        if (with_alt)
            expect_packed_dib(headless.clipboard_dib());
        else
            EXPECT_TRUE(headless.clipboard_dib().empty());
    }
}

}  // namespace
}  // namespace qln::test
