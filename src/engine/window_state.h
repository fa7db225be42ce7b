#pragma once
// Window records and the layer list. Links are window numbers, so growing the
// table never has to rewrite them.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/picture.h"

namespace qln {

inline constexpr int32_t kNoWindow = -1;

struct Window {
    Picture* picture = nullptr;  // owned; nullptr = not open
    uint8_t Visible = 0;
    uint8_t pinned = 0;
    int32_t px = 0, py = 0;
    uint16_t fwidth = 0;
    uint16_t type = 0;
    int32_t pic_buf = -1;
    int32_t call_buf = -1;
    uint16_t entryl = 0;
    uint16_t bt_num = 0;
    uint16_t bt_buff = 0;
    uint16_t bt_bpos = 0;
    // The text settings, one block in this order.
    int32_t tx_vt = 16;
    uint16_t tx_font = 0;
    uint16_t tx_ftype = 0;
    int32_t tx_ccol = 15;
    int32_t tx_bcol = 0;
    int32_t tx_scol = 0;
    int32_t tx_ssx = 0;
    int32_t tx_ssy = 0;
    int32_t tx_px = 0;
    int32_t tx_py = 0;
    int32_t tx_ex = 0;
    int32_t tx_ey = 0;
    uint8_t transp = 255;
    int32_t sel_vt = 0, sel_wd = 0, sel_my = 0, sel_mx = 0, sel_top = 0, sel_rows = 0, sel_gap = 0;
    int32_t mask = -1;             // raw data buffer used as hit map while btn_wait runs; -1 none
    int32_t previous = kNoWindow;  // the window directly below in the layer list
    int32_t next = kNoWindow;      // the window directly above

    int32_t sx() const { return picture ? picture->width : 0; }
    int32_t sy() const { return picture ? picture->height : 0; }
};

struct WindowTable {
    std::vector<Window> records;  // window number = index

    // Frees every window's picture and empties the table.
    void release() {
        for (Window& w : records) {
            picture_free(w.picture);
            w.picture = nullptr;
        }
        records.clear();
        records.shrink_to_fit();
    }
    // count closed windows (at least one: the screen's own window 0).
    [[nodiscard]] bool reset(size_t count) {
        release();
        try {
            records.assign(count ? count : 1, Window{});
        } catch (...) {
            return false;
        }
        return true;
    }
};

}  // namespace qln
