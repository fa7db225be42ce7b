#pragma once
// Animations on a virtual clock: window 1 (8 x 8), a sheet of 2 x 2 cells
// A B C D / E F G H in buffer 10, frame scripts, and a watch noting at each
// screen update when watched window pixels changed ("time:letters ").

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "windows/window_test_support.h"

namespace qln::test {

inline constexpr uint32_t kCellColours[8] = {0xCC0011, 0x11CC00, 0x0011CC, 0xCCCC00,
                                             0x00CCCC, 0xCC00CC, 0x884422, 0x224488};
inline constexpr uint32_t kBackground = 0x101010;

inline char cell_letter(uint32_t rgb) {
    for (int i = 0; i < 8; ++i)
        if (kCellColours[i] == rgb) return char('A' + i);
    return rgb == kBackground ? '.' : '?';
}

class FrameWatch : public NullPlatform {
  public:
    Engine* engine = nullptr;
    std::vector<std::pair<int32_t, int32_t>> spots = {{0, 0}};
    std::string seen, changes;
    void display_invalidate(const Rect&) override {
        if (seen.empty()) seen.assign(spots.size(), '.');
        std::string now_seen;
        for (auto [x, y] : spots)
            now_seen += cell_letter(pixel(*engine->windows.records[1].picture, x, y));
        if (now_seen != seen) changes += std::to_string(now) + ":" + now_seen + " ";
        seen = now_seen;
    }
};

struct Frame {
    uint16_t cell, a, b, duration;
};

inline std::vector<uint8_t> script_bytes(uint16_t w, uint16_t h, uint16_t per_row, uint16_t mode,
                                         std::initializer_list<Frame> frames) {
    std::vector<uint16_t> words = {w, h, per_row, 0, mode};
    for (const Frame& f : frames) words.insert(words.end(), {f.cell, f.a, f.b, f.duration});
    words.insert(words.end(), {0xFFFF, 0, 0, 0});
    std::vector<uint8_t> bytes;
    for (uint16_t v : words) bytes.insert(bytes.end(), {uint8_t(v), uint8_t(v >> 8)});
    return bytes;
}

struct AnimFixture {
    static constexpr int32_t kSheet = 10, kScript = 11;
    ScreenMachine m;
    FrameWatch watch;

    AnimFixture() {
        watch.engine = &m.engine;
        watch.stop_on_error = false;
        m.engine.platform = watch.services();
        EXPECT_TRUE(m.open(1, 8, 8) && win_show(m.engine, 1, true));
        fill_rgb(*window(), kBackground);
        put_sheet(false);
    }
    Picture* window() { return m.engine.windows.records[1].picture; }
    // swapped: every cell in the colour of its mirror (A as H, B as G, ...).
    void put_sheet(bool swapped) {
        Picture* sheet = buf_new_picture(m.engine, kSheet, 8, 4);
        ASSERT_NE(sheet, nullptr);
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 8; ++x) {
                const int cell = (y / 2) * 4 + x / 2;
                set_pixel(*sheet, x, y, kCellColours[swapped ? 7 - cell : cell]);
            }
    }
    void put_script(int32_t buf_no, const std::vector<uint8_t>& bytes) {
        ASSERT_TRUE(buf_store_bytes(m.engine, buf_no, bytes.data(), bytes.size()));
    }
    void put_frames(int32_t buf_no, std::initializer_list<Frame> frames) {
        put_script(buf_no, script_bytes(2, 2, 4, 0, frames));
    }
    int32_t run(const std::string& code) {
        return m.start(".code\n" + code + "  end\n") ? m.run() : 1;
    }
};

}  // namespace qln::test
