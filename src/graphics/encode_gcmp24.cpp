// The compressed engine format at depth 24: colour runs against a list of
// the 128 most recent colours, kept exactly as the reader keeps it.

#include <cstring>

#include "graphics/decode_formats.h"
#include "graphics/encode_formats.h"

namespace qln {

namespace {

struct Run {
    uint32_t colour;  // blue | green << 8 | red << 16
    uint64_t count;
};

class RecentColours {
  public:
    // The list starts all black.
    RecentColours() { std::memset(list_, 0, sizeof list_); }

    int find(uint32_t c) const {
        for (int i = 0; i < 128; ++i)
            if (list_[i] == c) return i;
        return -1;
    }
    void to_front(uint32_t c, int p) {
        std::memmove(list_ + 1, list_, size_t(p) * sizeof list_[0]);
        list_[0] = c;
    }
    void push_literal(uint32_t c) { to_front(c, 127); }

  private:
    uint32_t list_[128];
};

void put_u32(std::vector<uint8_t>& out, uint64_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put_colour(std::vector<uint8_t>& out, uint32_t c) {
    out.push_back(static_cast<uint8_t>(c));
    out.push_back(static_cast<uint8_t>(c >> 8));
    out.push_back(static_cast<uint8_t>(c >> 16));
}

void put_reference(std::vector<uint8_t>& out, uint64_t count, int p) {
    if (count <= 3 && p < 32) {
        out.push_back(static_cast<uint8_t>(0x80 | (count << 5) | p));
    } else if (count <= 63) {
        out.push_back(static_cast<uint8_t>(0x80 | (count >> 1)));
        out.push_back(static_cast<uint8_t>(((count & 1) << 7) | p));
    } else {
        out.push_back(0x80);
        out.push_back(static_cast<uint8_t>(p));
        put_u32(out, count);
    }
}

}  // namespace

std::vector<uint8_t> encode_gcmp24(const Picture& p) {
    std::vector<uint8_t> out(gcmp_signature, gcmp_signature + 8);
    out.push_back(static_cast<uint8_t>(p.width));
    out.push_back(static_cast<uint8_t>(p.width >> 8));
    out.push_back(static_cast<uint8_t>(p.height));
    out.push_back(static_cast<uint8_t>(p.height >> 8));
    out.push_back(24);
    out.insert(out.end(), 3, 0);

    // Pixels in file order: bottom row first, runs continue across rows.
    std::vector<Run> runs;
    for (size_t y = p.height; y-- > 0;) {
        const uint8_t* px = p.pixels.get() + y * size_t(p.width) * 3;
        for (size_t x = 0; x < p.width; ++x, px += 3) {
            const uint32_t c = px[0] | (px[1] << 8) | (uint32_t(px[2]) << 16);
            if (!runs.empty() && runs.back().colour == c && runs.back().count < 0xFFFFFFFFu)
                ++runs.back().count;
            else
                runs.push_back({c, 1});
        }
    }

    RecentColours recent;
    for (size_t i = 0; i < runs.size();) {
        const Run run = runs[i];
        const int at = recent.find(run.colour);
        if (at >= 0) {
            put_reference(out, run.count, at);
            recent.to_front(run.colour, at);
            ++i;
        } else if (run.count >= 2) {
            if (run.count <= 127) {
                out.push_back(static_cast<uint8_t>(run.count));
            } else {
                out.push_back(0);
                put_u32(out, run.count);
            }
            put_colour(out, run.colour);
            recent.push_literal(run.colour);
            ++i;
        } else {
            // Single new colours in a row share one count byte.
            out.push_back(1);
            const size_t count_at = out.size();
            out.push_back(0);
            size_t n = 0;
            do {
                put_colour(out, runs[i].colour);
                recent.push_literal(runs[i].colour);
                ++n;
                ++i;
            } while (n < 255 && i < runs.size() && runs[i].count == 1 &&
                     recent.find(runs[i].colour) < 0);
            out[count_at] = static_cast<uint8_t>(n);
        }
    }
    return out;
}

}  // namespace qln
