// Unpacking speed of methods A and B, in bytes of output per second, beside
// zlib's inflate of the same data. Method A's packed layout holds at most
// 65,535 bytes, so every method also runs on the picture cut into pieces of
// that size; B and inflate run on the whole picture as well.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "files/pack.h"
#include "files/unpack.h"
#include "support/packing_data.h"

#ifdef QUILLON_HAVE_ZLIB
#include <zlib.h>
#endif

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kChunk = 65535;

struct Piece {
    const uint8_t* raw;
    size_t len;
    Bytes packed;
};

struct Data {
    // A 640 x 480 picture as a game ships it (the same data the packing tests use).
    Bytes picture = qln::test::picture_like(640, 480, 2024);
    std::vector<Piece> a_chunks, b_chunks, z_chunks;
    Bytes b_whole, z_whole;

    Data() {
        for (size_t at = 0; at < picture.size(); at += kChunk) {
            const size_t n = std::min(kChunk, picture.size() - at);
            const uint8_t* p = picture.data() + at;
            a_chunks.push_back({p, n, qln::pack_a(p, n)});
            b_chunks.push_back({p, n, qln::pack_b(p, n)});
#ifdef QUILLON_HAVE_ZLIB
            z_chunks.push_back({p, n, deflate_all(p, n)});
#endif
        }
        b_whole = qln::pack_b(picture.data(), picture.size());
#ifdef QUILLON_HAVE_ZLIB
        z_whole = deflate_all(picture.data(), picture.size());
#endif
    }

#ifdef QUILLON_HAVE_ZLIB
    static Bytes deflate_all(const uint8_t* p, size_t n) {
        uLongf len = compressBound(n);
        Bytes out(len);
        compress2(out.data(), &len, p, n, Z_DEFAULT_COMPRESSION);
        out.resize(len);
        return out;
    }
#endif
};

const Data& data() {
    static const Data d;
    return d;
}

template <class Fn>
void run_chunks(benchmark::State& state, const std::vector<Piece>& pieces, Fn unpack) {
    Bytes out(kChunk);
    size_t total = 0, packed = 0;
    for (const Piece& p : pieces) {
        total += p.len;
        packed += p.packed.size();
    }
    for (auto _ : state) {
        for (const Piece& p : pieces) {
            if (!unpack(p.packed.data(), p.packed.size(), out.data(), p.len)) {
                state.SkipWithError("unpack failed");
                return;
            }
            benchmark::DoNotOptimize(out.data());
        }
        benchmark::ClobberMemory();
    }
    // Verify once, outside the timing.
    for (const Piece& p : pieces) {
        unpack(p.packed.data(), p.packed.size(), out.data(), p.len);
        if (std::memcmp(out.data(), p.raw, p.len) != 0) state.SkipWithError("wrong output");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(total));
    state.counters["ratio"] = double(packed) / double(total);
}

void BM_UnpackA_Chunks(benchmark::State& state) {
    run_chunks(state, data().a_chunks, qln::unpack_a);
}
void BM_UnpackB_Chunks(benchmark::State& state) {
    run_chunks(state, data().b_chunks, qln::unpack_b);
}

void BM_UnpackB_Whole(benchmark::State& state) {
    const Data& d = data();
    Bytes out(d.picture.size());
    for (auto _ : state) {
        if (!qln::unpack_b(d.b_whole.data(), d.b_whole.size(), out.data(), out.size())) {
            state.SkipWithError("unpack failed");
            return;
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    if (out != d.picture) state.SkipWithError("wrong output");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
    state.counters["ratio"] = double(d.b_whole.size()) / double(out.size());
}

BENCHMARK(BM_UnpackA_Chunks);
BENCHMARK(BM_UnpackB_Chunks);
BENCHMARK(BM_UnpackB_Whole);

#ifdef QUILLON_HAVE_ZLIB
// One inflate state reset per piece, as a reader that keeps it would do.
class Inflater {
  public:
    Inflater() { inflateInit(&z_); }
    ~Inflater() { inflateEnd(&z_); }
    bool run(const uint8_t* in, size_t in_len, uint8_t* out, size_t out_len) {
        inflateReset(&z_);
        z_.next_in = const_cast<Bytef*>(in);
        z_.avail_in = static_cast<uInt>(in_len);
        z_.next_out = out;
        z_.avail_out = static_cast<uInt>(out_len);
        return inflate(&z_, Z_FINISH) == Z_STREAM_END && z_.avail_out == 0;
    }

  private:
    z_stream z_{};
};

void BM_Inflate_Chunks(benchmark::State& state) {
    Inflater inflater;
    run_chunks(state, data().z_chunks, [&](const uint8_t* in, size_t n, uint8_t* out, size_t m) {
        return inflater.run(in, n, out, m);
    });
}

void BM_Inflate_Whole(benchmark::State& state) {
    const Data& d = data();
    Inflater inflater;
    Bytes out(d.picture.size());
    for (auto _ : state) {
        if (!inflater.run(d.z_whole.data(), d.z_whole.size(), out.data(), out.size())) {
            state.SkipWithError("inflate failed");
            return;
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    if (out != d.picture) state.SkipWithError("wrong output");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
    state.counters["ratio"] = double(d.z_whole.size()) / double(out.size());
}

BENCHMARK(BM_Inflate_Chunks);
BENCHMARK(BM_Inflate_Whole);
#endif

}  // namespace
