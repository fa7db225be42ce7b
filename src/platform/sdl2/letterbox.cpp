#include "platform/sdl2/letterbox.h"

#include <algorithm>

namespace qln {
namespace {

// Floor division for a positive divisor.
int64_t floor_div(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

int32_t clamp32(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

Letterbox letterbox_fit(int32_t out_width, int32_t out_height, int32_t picture_width,
                        int32_t picture_height) {
    Letterbox box;
    box.picture_width = std::max(picture_width, 1);
    box.picture_height = std::max(picture_height, 1);
    const int64_t ow = std::max(out_width, 1), oh = std::max(out_height, 1);
    const int64_t pw = box.picture_width, ph = box.picture_height;
    int64_t w = ow, h = oh;
    if (ow * ph <= oh * pw) {
        h = ow * ph / pw;  // full width, bars above and below
    } else {
        w = oh * pw / ph;  // full height, bars left and right
    }
    box.width = int32_t(std::max<int64_t>(w, 1));
    box.height = int32_t(std::max<int64_t>(h, 1));
    box.x = int32_t((ow - box.width) / 2);
    box.y = int32_t((oh - box.height) / 2);
    return box;
}

void letterbox_to_picture(const Letterbox& box, int32_t wx, int32_t wy, int32_t& px, int32_t& py) {
    // The centre of window pixel i is i + 1/2: twice everything stays whole.
    px = clamp32(
        floor_div((2 * (int64_t(wx) - box.x) + 1) * box.picture_width, 2 * int64_t(box.width)));
    py = clamp32(
        floor_div((2 * (int64_t(wy) - box.y) + 1) * box.picture_height, 2 * int64_t(box.height)));
}

void letterbox_to_window(const Letterbox& box, int32_t px, int32_t py, int32_t& wx, int32_t& wy) {
    wx = clamp32(box.x +
                 floor_div((2 * int64_t(px) + 1) * box.width, 2 * int64_t(box.picture_width)));
    wy = clamp32(box.y +
                 floor_div((2 * int64_t(py) + 1) * box.height, 2 * int64_t(box.picture_height)));
}

int32_t window_scale_fit(int32_t desktop_width, int32_t desktop_height, int32_t picture_width,
                         int32_t picture_height) {
    if (picture_width <= 0 || picture_height <= 0) return 1;
    const int32_t scale = std::min(desktop_width / picture_width, desktop_height / picture_height);
    return std::max(scale, 1);
}

}  // namespace qln
