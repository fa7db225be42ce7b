// Picture decoding speed, in bytes of decoded pixels per second: a 640 x 480
// picture as a game ships it, stored in each format the engine reads, beside
// libpng decoding the same picture stored as PNG. The size and depth checks
// run on every decode, so their cost is inside these figures.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cstring>
#include <vector>

#include "graphics/encode_formats.h"
#include "graphics/picture.h"
#include "support/packing_data.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kWidth = 640, kHeight = 480;

qln::Picture* picture_of(const Bytes& bgr) {
    qln::Picture* p = qln::picture_create(kWidth, kHeight);
    std::memcpy(p->pixels.get(), bgr.data(), p->pixel_bytes());
    return p;
}

// The planar format holds 16 colours whose components are multiples of 17.
Bytes sixteen_colours(Bytes bgr) {
    for (uint8_t& c : bgr) c = uint8_t((c >> 6) * 85);
    return bgr;
}

void png_write_to(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

Bytes png_encode(const Bytes& bgr) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, png_write_to, nullptr);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_bgr(png);
    png_write_info(png, info);
    for (int y = 0; y < kHeight; ++y)
        png_write_row(png, const_cast<png_bytep>(bgr.data() + size_t(y) * kWidth * 3));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

struct PngReader {
    const Bytes* file;
    size_t at;
};

void png_read_from(png_structp png, png_bytep data, png_size_t length) {
    auto* r = static_cast<PngReader*>(png_get_io_ptr(png));
    if (r->at + length > r->file->size()) png_error(png, "truncated");
    std::memcpy(data, r->file->data() + r->at, length);
    r->at += length;
}

struct Files {
    Bytes bgr = qln::test::picture_like(kWidth, kHeight, 2024);
    Bytes gcmp24, gcmp1, bmp24, targa, planar, png;

    Files() {
        qln::Picture* p = picture_of(bgr);
        gcmp24 = qln::encode_gcmp24(*p);
        gcmp1 = qln::encode_gcmp1(*p);
        bmp24 = qln::encode_bmp(*p, 24);
        targa = qln::encode_targa(*p);
        qln::picture_free(p);
        qln::Picture* q = picture_of(sixteen_colours(bgr));
        planar = qln::encode_planar(*q);
        qln::picture_free(q);
        png = png_encode(bgr);
    }
};

const Files& files() {
    static const Files f;
    return f;
}

void decode(benchmark::State& state, const Bytes& file) {
    if (file.empty()) {
        state.SkipWithError("the picture cannot be stored in this format");
        return;
    }
    for (auto _ : state) {
        qln::Picture* p = qln::picture_decode(file.data(), file.size());
        benchmark::DoNotOptimize(p);
        qln::picture_free(p);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 3);
    state.counters["file_bytes"] = double(file.size());
}

void BM_DecodeGcmp24(benchmark::State& state) {
    decode(state, files().gcmp24);
}
void BM_DecodeGcmp1(benchmark::State& state) {
    decode(state, files().gcmp1);
}
void BM_DecodeBmp24(benchmark::State& state) {
    decode(state, files().bmp24);
}
void BM_DecodeTarga(benchmark::State& state) {
    decode(state, files().targa);
}
void BM_DecodePlanar(benchmark::State& state) {
    decode(state, files().planar);
}

void BM_DecodePngLibpng(benchmark::State& state) {
    const Bytes& file = files().png;
    Bytes rows(size_t(kWidth) * kHeight * 3);
    for (auto _ : state) {
        PngReader reader{&file, 0};
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        png_set_read_fn(png, &reader, png_read_from);
        png_read_info(png, info);
        png_set_bgr(png);
        for (int y = 0; y < kHeight; ++y)
            png_read_row(png, rows.data() + size_t(y) * kWidth * 3, nullptr);
        png_read_end(png, nullptr);
        png_destroy_read_struct(&png, &info, nullptr);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 3);
    state.counters["file_bytes"] = double(file.size());
}

BENCHMARK(BM_DecodeGcmp24);
BENCHMARK(BM_DecodeGcmp1);
BENCHMARK(BM_DecodeBmp24);
BENCHMARK(BM_DecodeTarga);
BENCHMARK(BM_DecodePlanar);
BENCHMARK(BM_DecodePngLibpng);

}  // namespace
