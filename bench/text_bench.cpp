// Characters per second of the text renderer: a page of mixed Japanese and
// ASCII text (wrapping over several lines) drawn with the 16-pixel start-up
// font into a window-sized picture, with and without shadow and background,
// beside the rasteriser producing the same characters' ink without the cache.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "graphics/picture.h"
#include "tables/tables.h"
#include "text/font.h"
#include "text/text_draw.h"

namespace {

struct Page {
    std::string text;             // Shift-JIS with a few "@N"
    std::vector<uint16_t> codes;  // the characters of text, in order
};

// About 600 characters: two in three double-byte (hiragana, katakana and
// kanji of the first level), the rest ASCII letters, digits and spaces.
Page make_page() {
    Page page;
    uint32_t v = 12345;
    for (int i = 0; i < 600; ++i) {
        v = v * 1103515245u + 12345u;
        const uint32_t r = (v >> 16) & 0x7FFF;
        uint16_t code = 0;
        switch (i % 3) {
            case 0:
                code = uint16_t(0x829F + r % 83);
                break;  // hiragana
            case 1:
                code = uint16_t(r & 1 ? 0x8340 + r % 63 : 0x889F + r % 94);
                break;
            default:
                code = uint16_t(" 0123456789ABCDEFabcdefghijklmnop"[r % 33]);
                break;
        }
        if (code > 0xFF) page.text += char(code >> 8);
        page.text += char(code & 0xFF);
        page.codes.push_back(code);
        if (i % 150 == 149) page.text += "@N";
    }
    return page;
}

struct Setup {
    qln::Engine engine;
    qln::Picture* picture = nullptr;
    bool ok = false;
    Setup() {
        ok = qln::tables_init(engine) && qln::fonts_init(engine);
        picture = qln::picture_create(640, 400);
        ok = ok && picture;
        if (picture)
            std::fill(picture->pixels.get(), picture->pixels.get() + picture->pixel_bytes(), 0x40);
    }
    ~Setup() { qln::picture_free(picture); }
};

void draw_page(benchmark::State& state, bool shadow, bool opaque) {
    Setup s;
    if (!s.ok) return state.SkipWithError("no font");
    const Page page = make_page();
    qln::TextSettings settings;
    settings.tx_vt = 18;
    settings.tx_ccol = 15;
    settings.tx_bcol = opaque ? 1 : -1;
    settings.tx_scol = 0;
    settings.tx_ssx = shadow ? 2 : 0;
    settings.tx_ssy = shadow ? 2 : 0;
    settings.tx_px = 8;
    settings.tx_py = 8;
    settings.tx_ex = 632;
    settings.tx_ey = 392;
    // Every character must land, or the count would flatter the renderer.
    const qln::TextDrawResult first =
        qln::text_draw(s.engine, *s.picture, page.text.c_str(), settings, -1);
    if (first.changed.bottom > 380 || first.changed.bottom < 100)
        return state.SkipWithError("the page does not fill the text area as planned");
    for (auto _ : state) {
        const qln::TextDrawResult r =
            qln::text_draw(s.engine, *s.picture, page.text.c_str(), settings, -1);
        benchmark::DoNotOptimize(r.changed);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(page.codes.size()));
}

void BM_TextDrawCached(benchmark::State& state) {
    draw_page(state, false, false);
}
BENCHMARK(BM_TextDrawCached);

void BM_TextDrawCachedShadow(benchmark::State& state) {
    draw_page(state, true, false);
}
BENCHMARK(BM_TextDrawCachedShadow);

void BM_TextDrawCachedOpaque(benchmark::State& state) {
    draw_page(state, false, true);
}
BENCHMARK(BM_TextDrawCachedOpaque);

// The reference: the same characters rasterised through the face each time,
// before any composition.
void BM_GlyphRasteriseUncached(benchmark::State& state) {
    Setup s;
    if (!s.ok) return state.SkipWithError("no font");
    const Page page = make_page();
    qln::FontRecord& font = *qln::font_get(s.engine, 0);
    for (auto _ : state) {
        for (const uint16_t code : page.codes) {
            qln::GlyphInk ink;
            benchmark::DoNotOptimize(qln::font_glyph_uncached(s.engine, font, code, 0, ink));
            benchmark::DoNotOptimize(ink.ink);
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(page.codes.size()));
}
BENCHMARK(BM_GlyphRasteriseUncached);

}  // namespace
