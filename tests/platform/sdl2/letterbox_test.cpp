// The picture's place in a window of any size, and pointer positions mapped
// back to picture pixels and forward again.

#include "platform/sdl2/letterbox.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

namespace qln {
namespace {

std::array<int32_t, 4> fit(int32_t ow, int32_t oh, int32_t pw = 640, int32_t ph = 480) {
    const Letterbox b = letterbox_fit(ow, oh, pw, ph);
    return {b.x, b.y, b.width, b.height};
}
std::array<int32_t, 2> to_picture(const Letterbox& b, int32_t wx, int32_t wy) {
    std::array<int32_t, 2> p{};
    letterbox_to_picture(b, wx, wy, p[0], p[1]);
    return p;
}

TEST(Letterbox, FitsInProportionWithBarsOnTwoSides) {
    EXPECT_EQ(fit(1280, 960), (std::array{0, 0, 1280, 960}));  // whole scale: no bars
    EXPECT_EQ(fit(1920, 1080), (std::array{240, 0, 1440, 1080}));
    EXPECT_EQ(fit(640, 601), (std::array{0, 60, 640, 480}));  // the odd pixel below
    EXPECT_EQ(fit(1, 1), (std::array{0, 0, 1, 1}));           // too small for a pixel: still one
    EXPECT_EQ(fit(0, 0, 0, 0)[2], 1);
    EXPECT_EQ(letterbox_fit(0, 0, 0, 0).picture_width, 1);
}

TEST(Letterbox, WindowPixelsNameThePicturePixelDrawnUnderThem) {
    // Scale 2: window pixels 0 and 1 are picture pixel 0.
    Letterbox b = letterbox_fit(1280, 960, 640, 480);
    EXPECT_EQ(to_picture(b, 1, 1), (std::array{0, 0}));
    EXPECT_EQ(to_picture(b, 2, 959), (std::array{1, 479}));
    // Full screen 1920 x 1080 at 2.25: the bar is outside the picture, and
    // far outside (a captured pointer) the mapping goes on.
    b = letterbox_fit(1920, 1080, 640, 480);
    EXPECT_EQ(to_picture(b, 239, 0), (std::array{-1, 0}));
    EXPECT_EQ(to_picture(b, 240, 1079), (std::array{0, 479}));
    EXPECT_EQ(to_picture(b, 1679, 540), (std::array{639, 240}));
    EXPECT_EQ(to_picture(b, 1680, 540)[0], 640);
    EXPECT_EQ(to_picture(b, -1000, -1000), (std::array{-551, -445}));
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
