#pragma once
// A machine with a screen for the input tests: the live pointer set as the
// window procedure would set it, visible windows with buttons, and animated
// cursor files built in memory.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "input/tracking.h"
#include "tables/tables.h"
#include "windows/window.h"
#include "windows/window_test_support.h"

namespace qln::test {

struct InputMachine : CommandMachine {
    explicit InputMachine(void (*adjust)(Settings&) = nullptr) : CommandMachine(adjust) {}
    // The live pointer and buttons, under the input lock.
    void pointer(int32_t x, int32_t y, uint8_t left = 0, uint8_t right = 0) {
        LockHold hold(engine.shared.input.lock);
        engine.shared.input.state.x = x;
        engine.shared.input.state.y = y;
        engine.shared.input.state.left = left;
        engine.shared.input.state.right = right;
    }
    // The poll step's input part on a fresh snapshot.
    InputState hit(int32_t x, int32_t y, uint8_t left = 0) {
        pointer(x, y, left);
        InputState snap;
        snapshot(engine, snap);
        drag_step(engine, snap);
        hit_test(engine, snap);
        return snap;
    }
    // A visible window of one colour at (x, y).
    Window& open(int32_t n, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rgb = 0) {
        Window templ;
        templ.px = x;
        templ.py = y;
        templ.fwidth = 0;
        EXPECT_TRUE(win_open(engine, n, w, h, templ));
        EXPECT_TRUE(win_show(engine, n, true));
        fill_rgb(*window_picture(n), rgb);
        return win(n);
    }
    // Gives window n the buttons of a new region list in buf_no.
    std::vector<Region>& buttons(int32_t n, int32_t buf_no, uint32_t count, uint16_t first = 0) {
        EXPECT_TRUE(buf_new_regions(engine, buf_no, count));
        win(n).bt_buff = static_cast<uint16_t>(buf_no);
        win(n).bt_bpos = first;
        win(n).bt_num = static_cast<uint16_t>(count - first);
        return buf_get_regions(engine, buf_no)->entries;
    }
    // The pointer and buttons change when the clock reaches tick.
    void at(uint32_t tick, int32_t x, int32_t y, uint8_t left, uint8_t right = 0) {
        platform.at(tick, [this, x, y, left, right] { pointer(x, y, left, right); });
    }
    // Assembles source into scenario data buffer buf_no.
    void scenario_buffer(int32_t buf_no, const char* source) {
        Scenario* s = load(source);
        ASSERT_NE(s, nullptr);
        DataBuffer* slot = buf_entry(engine, buf_no);
        ASSERT_NE(slot, nullptr);
        slot->type = BufType::Scenario;
        slot->size = 1;
        slot->scenario = s;
    }
    // Result registers first to last, variables v3[first] to v3[last], and
    // every error as error(i) gives it.
    std::vector<int32_t> results(uint32_t first, uint32_t last) {
        std::vector<int32_t> r;
        for (uint32_t n = first; n <= last; ++n) r.push_back(reg(n));
        return r;
    }
    std::vector<int32_t> variables(int32_t first, int32_t last) {
        std::vector<int32_t> v;
        for (int32_t i = first; i <= last; ++i) v.push_back(var(3, i));
        return v;
    }
    std::vector<std::string> all_errors() const {
        std::vector<std::string> all;
        for (size_t i = 0; i < platform.errors.size(); ++i) all.push_back(error(i));
        return all;
    }
    // Windows from the top of the layer list down.
    std::vector<int32_t> layers() {
        std::vector<int32_t> out;
        int32_t k = 0;
        while (win(k).next >= 0) k = win(k).next;
        for (; k >= 0; k = win(k).previous) out.push_back(k);
        return out;
    }
};

inline Region button(int32_t id, uint16_t flags, int32_t x, int32_t y, int32_t w, int32_t h,
                     int32_t highlight = 0) {
    return Region{id, flags, x, y, x + w, y + h, highlight};
}

// An animated cursor file: images of one palette index each (image i uses
// index i + 1), palette entry k = blue 0x40 + k, green 0x80 + k, red 0xC0 + k.
struct CursorFileBuilder {
    uint16_t images = 1;
    uint16_t hot_x = 0, hot_y = 0;
    std::vector<std::pair<uint16_t, uint16_t>> frames[3];  // (image, duration)

    std::vector<uint8_t> bytes() const {
        std::vector<uint8_t> f{'a', 'p', 't', 'r'};
        const auto put16 = [&f](uint16_t v) { f.insert(f.end(), {uint8_t(v), uint8_t(v >> 8)}); };
        put16(images), put16(hot_x), put16(hot_y);
        for (int k = 0; k < 16; ++k)
            f.insert(f.end(), {uint8_t(0x40 + k), uint8_t(0x80 + k), uint8_t(0xC0 + k), 0});
        for (const auto& state : frames) put16(uint16_t(state.size()));
        f.resize(80);
        for (uint16_t i = 0; i < images; ++i) {
            const uint8_t index = uint8_t((i + 1) & 15);
            f.insert(f.end(), 512, uint8_t(index << 4 | index));  // pixels, then the mask
            f.insert(f.end(), 128, 0);
        }
        for (const auto& state : frames) {
            for (const auto& [image, duration] : state) put16(image), put16(duration);
        }
        return f;
    }
};

// A cursor file in raw data buffer buf_no.
inline void raw_buffer(Engine& engine, int32_t buf_no, const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(buf_new_raw(engine, buf_no, uint32_t(bytes.size())));
    std::copy(bytes.begin(), bytes.end(), buf_get_raw(engine, buf_no));
}

}  // namespace qln::test
