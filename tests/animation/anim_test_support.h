#pragma once
// Animations on a virtual clock: a window, a sheet of coloured cells, frame
// scripts built from frame lists, and a watch that notes at every screen
// update when watched window pixels changed.

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "windows/window_test_support.h"

namespace qln::test {

// Cells of the sheet, 2 x 2 each, four to a row: A B C D / E F G H.
inline constexpr uint32_t kCellColours[8] = {0xCC0011, 0x11CC00, 0x0011CC, 0xCCCC00,
                                             0x00CCCC, 0xCC00CC, 0x884422, 0x224488};
inline constexpr uint32_t kBackground = 0x101010;

// The letter of a cell colour, '.' for the background, '?' for anything else.
inline char cell_letter(uint32_t rgb) {
    if (rgb == kBackground) return '.';
    for (int i = 0; i < 8; ++i)
        if (kCellColours[i] == rgb) return char('A' + i);
    return '?';
}

class FrameWatch : public NullPlatform {
  public:
    Engine* engine = nullptr;
    std::vector<std::pair<int32_t, int32_t>> spots = {{0, 0}};  // in window 1
    std::string seen;                                           // the letters last noted
    std::string changes;                                        // "time:letters " at every change
    void display_invalidate(const Rect&) override {
        const Picture& p = *engine->windows.records[1].picture;
        if (seen.empty()) seen.assign(spots.size(), '.');
        std::string now_seen;
        for (auto [x, y] : spots) now_seen += cell_letter(pixel(p, x, y));
        if (now_seen == seen) return;
        seen = now_seen;
        changes += std::to_string(now) + ":" + now_seen + " ";
    }
};

struct Frame {
    uint16_t cell, a, b, duration;
};

inline std::vector<uint8_t> script_bytes(uint16_t w, uint16_t h, uint16_t per_row, uint16_t mode,
                                         std::initializer_list<Frame> frames) {
    std::vector<uint8_t> bytes;
    auto word = [&bytes](uint16_t v) {
        bytes.push_back(uint8_t(v));
        bytes.push_back(uint8_t(v >> 8));
    };
    for (uint16_t v : {w, h, per_row, uint16_t(0), mode}) word(v);
    for (const Frame& f : frames)
        for (uint16_t v : {f.cell, f.a, f.b, f.duration}) word(v);
    for (uint16_t v : {uint16_t(0xFFFF), uint16_t(0), uint16_t(0), uint16_t(0)}) word(v);
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
        EXPECT_TRUE(m.open(1, 8, 8));
        EXPECT_TRUE(win_show(m.engine, 1, true));
        fill_rgb(*window(), kBackground);
        put_sheet(kSheet, false);
    }
    Picture* window() { return m.engine.windows.records[1].picture; }

    // The cells A to H, or with swapped, every cell in the other's colour (H to A).
    void put_sheet(int32_t buf_no, bool swapped) {
        Picture* sheet = buf_new_picture(m.engine, buf_no, 8, 4);
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
    // Frames of 2 x 2 cells of the sheet, placed.
    void put_frames(int32_t buf_no, std::initializer_list<Frame> frames) {
        put_script(buf_no, script_bytes(2, 2, 4, 0, frames));
    }
    // Runs code to its end and returns the last step's result.
    int32_t run(const std::string& code) {
        if (!m.start(".code\n" + code + "  end\n")) return 1;
        return m.run();
    }
    std::vector<std::string> errors() const {
        std::vector<std::string> all;
        for (const ScenarioErrorRecord& e : watch.errors)
            all.push_back(std::to_string(e.error_number) + " " + e.detail);
        return all;
    }
};

}  // namespace qln::test
