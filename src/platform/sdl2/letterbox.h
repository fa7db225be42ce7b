#pragma once
// Where the screen picture lies in a window of any size: as large as fits,
// in proportion, centred (bars on two sides when the proportions differ).
// Mouse positions go back through the same fit, so a window pixel always
// names the picture pixel drawn under it.

#include <cstdint>

namespace qln {

struct Letterbox {
    int32_t x = 0, y = 0, width = 0, height = 0;  // the picture's area in the window
    int32_t picture_width = 0, picture_height = 0;
};

// The largest area of the picture's proportions inside out_width x
// out_height, centred; each side at least 1.
Letterbox letterbox_fit(int32_t out_width, int32_t out_height, int32_t picture_width,
                        int32_t picture_height);

// The picture pixel under window pixel (wx, wy), taken at the window pixel's
// centre. Outside the picture the mapping goes on (negative, or at least the
// picture size), as client coordinates do beyond the client area.
void letterbox_to_picture(const Letterbox& box, int32_t wx, int32_t wy, int32_t& px, int32_t& py);

// The window pixel at the centre of picture pixel (px, py).
void letterbox_to_window(const Letterbox& box, int32_t px, int32_t py, int32_t& wx, int32_t& wy);

// The largest whole scale at which the picture fits into the desktop's
// usable area; at least 1.
int32_t window_scale_fit(int32_t desktop_width, int32_t desktop_height, int32_t picture_width,
                         int32_t picture_height);

}  // namespace qln
