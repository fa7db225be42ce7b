#pragma once
// Rectangles in picture or screen coordinates; right and bottom exclusive.

#include <algorithm>
#include <cstdint>

namespace qln {

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
};

// A 64-bit coordinate sum brought back into range: far-off rectangles clip
// to nothing instead of wrapping round onto the picture.
inline int32_t clamp_to_int32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// The rectangle of w x h at (x, y).
inline Rect rect_of(int32_t x, int32_t y, int32_t w, int32_t h) {
    return Rect{x, y, clamp_to_int32(int64_t(x) + w), clamp_to_int32(int64_t(y) + h)};
}

inline Rect rect_intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return r.empty() ? Rect{} : r;
}

inline Rect rect_union(const Rect& a, const Rect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

}  // namespace qln
