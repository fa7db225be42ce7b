// Activating cursors and stepping their animation (the poll step's cursor
// part).

#include "input/cursor.h"

#include "engine/tickers.h"

#include <cstring>

#include "engine/engine.h"
#include "files/file_read.h"
#include "graphics/picture.h"
#include "input/tracking.h"
#include "platform/platform.h"

namespace qln {
namespace {

bool cursor_active(const Engine& engine) {
    return engine.tracking.cursor.enabled;
}

bool cursor_run(Engine& engine, uint32_t now) {
    cursor_tick(engine, now);
    return true;
}

uint32_t cursor_due_in(const Engine& engine, uint32_t now) {
    const CursorState& cursor = engine.tracking.cursor;
    return ticks_until(now, cursor.last_change, cursor.delay_ms);
}

uint32_t now_ms(Engine& engine) {
    return engine.platform.clock->ticks();
}

bool is_active(const CursorState& c, const uint8_t* data, size_t size) {
    if (!data) return c.source == CursorSource::Default;
    return c.source == CursorSource::Buffer && c.source_bytes == data && c.active.size() == size &&
           std::memcmp(c.active.data(), data, size) == 0;
}

// Shows the current frame of the current state and moves to the next one.
void frame_show(Engine& engine, CursorState& c) {
    const uint16_t count = c.layout.frame_count[c.state];
    if (count == 0) return;
    if (c.frame >= count) c.frame = 0;
    const CursorFrame frame = cursor_frame_at(c.active.data(), c.layout, c.state, c.frame);
    // A frame naming an image the file lacks keeps the cursor shown before
    // it but still takes its time.
    CursorImage image;
    if (cursor_image_build(c.active.data(), c.layout, frame.image, image)) {
        engine.platform.input->cursor_show(&image);
        c.shown = true;
    }
    c.delay_ms = uint32_t(frame.duration) * 10;
    if (c.delay_ms == 0) {
        c.enabled = false;  // the shown cursor stays
        return;
    }
    c.frame = static_cast<uint16_t>((c.frame + 1) % count);
}

}  // namespace

bool cursor_activate(Engine& engine, const uint8_t* data, size_t size) {
    CursorState& c = engine.tracking.cursor;
    if (!data) {
        if (c.default_data.empty()) return false;
        size = c.default_data.size();
    }
    if (is_active(c, data, size)) return false;
    const uint8_t* bytes = data ? data : c.default_data.data();
    CursorLayout layout;
    if (!cursor_layout_read(bytes, size, layout)) return false;
    if (data) {
        c.active.assign(data, data + size);
        c.source = CursorSource::Buffer;
    } else {
        c.active = c.default_data;
        c.source = CursorSource::Default;
    }
    c.source_bytes = data;
    c.layout = layout;
    c.state = 0;
    c.frame = 0;
    c.delay_ms = 0;
    c.last_change = now_ms(engine);
    c.enabled = true;
    cursor_ticker_add(engine);
    return true;
}

void cursor_tick(Engine& engine, uint32_t now) {
    CursorState& c = engine.tracking.cursor;
    if (!c.enabled) return;
    int32_t x = 0, y = 0;
    uint8_t left = 0, right = 0;
    input_peek(engine, x, y, left, right);
    const uint8_t state = left ? 1 : right ? 2 : 0;
    if (state != c.state) {
        c.state = state;
        c.frame = 0;
        c.delay_ms = 0;
    }
    // Unsigned subtraction is the wrap-around difference of two tick counts.
    if (now - c.last_change < c.delay_ms) return;
    // The host knows best where the pointer is now; without it the last
    // mouse move stands in.
    int32_t host_x = 0, host_y = 0;
    if (engine.platform.input->pointer_position(host_x, host_y)) {
        x = host_x;
        y = host_y;
    }
    const Picture* screen = engine.screen.screen;
    if (!screen || x < 0 || y < 0 || x >= screen->width || y >= screen->height) return;
    frame_show(engine, c);
    c.last_change = now;
}

void cursor_init(Engine& engine) {
    engine.tracking.cursor = CursorState{};
    const FileSetting& file = engine.settings.cursor_file;
    if (file.name[0] == '\0') return;
    std::vector<uint8_t> bytes;
    if (!file_read(engine, FileRef{file.name, 0, file.entry, file.compressed}, bytes)) return;
    engine.tracking.cursor.default_data = std::move(bytes);
    (void)cursor_activate(engine, nullptr, 0);
}

void cursor_release(Engine& engine) {
    CursorState& c = engine.tracking.cursor;
    if (c.shown) engine.platform.input->cursor_show(nullptr);
    c = CursorState{};
}

void cursor_ticker_add(Engine& engine) {
    ticker_add(engine,
               Ticker{"cursor", kTickerOrderCursor, cursor_active, cursor_run, cursor_due_in});
}

}  // namespace qln
