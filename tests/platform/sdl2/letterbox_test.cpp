// The picture's place in a window of any size, and pointer positions mapped
// back to picture pixels and forward again.

#include "platform/sdl2/letterbox.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

namespace qln {
namespace {

TEST(Letterbox, FitsInProportionWithBarsOnTwoSides) {
    // Whole scale: no bars.
    Letterbox b = letterbox_fit(1280, 960, 640, 480);
    EXPECT_EQ((std::array{b.x, b.y, b.width, b.height}), (std::array{0, 0, 1280, 960}));
    // A wide full screen: bars left and right.
    b = letterbox_fit(1920, 1080, 640, 480);
    EXPECT_EQ((std::array{b.x, b.y, b.width, b.height}), (std::array{240, 0, 1440, 1080}));
    // A tall window: bars above and below, the odd pixel below.
    b = letterbox_fit(640, 601, 640, 480);
    EXPECT_EQ((std::array{b.x, b.y, b.width, b.height}), (std::array{0, 60, 640, 480}));
    // A window too small for a pixel still shows one.
    b = letterbox_fit(1, 1, 640, 480);
    EXPECT_EQ((std::array{b.x, b.y, b.width, b.height}), (std::array{0, 0, 1, 1}));
    b = letterbox_fit(0, 0, 0, 0);
    EXPECT_EQ(b.width, 1);
    EXPECT_EQ(b.picture_width, 1);
}

TEST(Letterbox, WindowPixelsNameThePicturePixelDrawnUnderThem) {
    int32_t x = 0, y = 0;
    // Scale 2: window pixels 0 and 1 are picture pixel 0.
    Letterbox b = letterbox_fit(1280, 960, 640, 480);
    letterbox_to_picture(b, 1, 1, x, y);
    EXPECT_EQ((std::array{x, y}), (std::array{0, 0}));
    letterbox_to_picture(b, 2, 959, x, y);
    EXPECT_EQ((std::array{x, y}), (std::array{1, 479}));
    // Full screen 1920 x 1080 at 2.25: the bar is outside the picture.
    b = letterbox_fit(1920, 1080, 640, 480);
    letterbox_to_picture(b, 239, 0, x, y);
    EXPECT_EQ((std::array{x, y}), (std::array{-1, 0}));
    letterbox_to_picture(b, 240, 1079, x, y);
    EXPECT_EQ((std::array{x, y}), (std::array{0, 479}));
    letterbox_to_picture(b, 1679, 540, x, y);
    EXPECT_EQ((std::array{x, y}), (std::array{639, 240}));
    letterbox_to_picture(b, 1680, 540, x, y);
    EXPECT_EQ(x, 640);
    // Far outside (a captured pointer) the mapping goes on.
    letterbox_to_picture(b, -1000, -1000, x, y);
    EXPECT_EQ((std::array{x, y}), (std::array{-551, -445}));
}

TEST(Letterbox, EveryPicturePixelComesBackThroughTheWindow) {
    // Any window at least as large as the picture.
    for (const auto& [ow, oh] : {std::pair{640, 480}, {1280, 960}, {1920, 1080}, {1000, 700}}) {
        const Letterbox b = letterbox_fit(ow, oh, 640, 480);
        for (int32_t p = 0; p < 640; ++p) {
            int32_t wx = 0, wy = 0, px = 0, py = 0;
            letterbox_to_window(b, p, p * 479 / 639, wx, wy);
            letterbox_to_picture(b, wx, wy, px, py);
            ASSERT_EQ((std::array{px, py}), (std::array{p, p * 479 / 639}))
                << ow << "x" << oh << " at " << p;
        }
    }
}

TEST(Letterbox, TheWindowScaleIsTheLargestWholeOneThatFits) {
    EXPECT_EQ(window_scale_fit(1920, 1032, 640, 480), 2);
    EXPECT_EQ(window_scale_fit(2560, 1440, 640, 480), 3);
    EXPECT_EQ(window_scale_fit(800, 600, 640, 480), 1);
    EXPECT_EQ(window_scale_fit(600, 400, 640, 480), 1);  // never below 1
    EXPECT_EQ(window_scale_fit(1920, 1080, 0, 480), 1);
}

}  // namespace
}  // namespace qln
