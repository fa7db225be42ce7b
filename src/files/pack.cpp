// Packers for methods A and B: a hash-chain match finder with one step of
// lazy matching, and one emitter per method. Compression speed matters little
// (the tools pack once); the output must unpack byte for byte.
#include "files/pack.h"

#include <algorithm>

namespace qln {
namespace {

struct MatchParams {
    size_t window;    // largest distance, a power of two
    size_t max_len;   // longest match the method can state in one token
    size_t nice_len;  // stop searching once a match is this long
    int max_chain;    // candidates tried per position
};

struct Match {
    size_t distance = 0;
    size_t len = 0;
};

constexpr size_t kMinMatch = 3;

class MatchFinder {
  public:
    MatchFinder(const uint8_t* in, size_t len, const MatchParams& params)
        : in_(in), len_(len), p_(params), head_(kHashSize, -1), prev_(params.window, -1) {}

    // Adds position pos to the chains (positions must come in increasing order).
    void insert(size_t pos) {
        if (pos + kMinMatch > len_) return;
        const uint32_t h = hash(pos);
        prev_[pos & (p_.window - 1)] = head_[h];
        head_[h] = static_cast<int64_t>(pos);
    }

    // The longest earlier match at pos; len 0 when none reaches kMinMatch.
    Match find(size_t pos) const {
        Match best;
        if (pos + kMinMatch > len_) return best;
        const size_t limit = std::min(p_.max_len, len_ - pos);
        int64_t cand = head_[hash(pos)];
        for (int tries = 0; cand >= 0 && tries < p_.max_chain; ++tries) {
            const size_t c = static_cast<size_t>(cand);
            const size_t distance = pos - c;
            if (distance == 0 || distance > p_.window) break;
            if (in_[c + best.len] == in_[pos + best.len] || best.len == 0) {
                size_t n = 0;
                while (n < limit && in_[c + n] == in_[pos + n]) ++n;
                if (n > best.len) {
                    best = {distance, n};
                    if (n >= p_.nice_len || n == limit) break;
                }
            }
            const int64_t next = prev_[c & (p_.window - 1)];
            if (next >= cand) break;  // the ring slot was reused: the chain ends
            cand = next;
        }
        if (best.len < kMinMatch) best = {};
        return best;
    }

  private:
    static constexpr int kHashBits = 16;
    static constexpr size_t kHashSize = size_t(1) << kHashBits;

    uint32_t hash(size_t pos) const {
        const uint32_t v =
            uint32_t(in_[pos]) | (uint32_t(in_[pos + 1]) << 8) | (uint32_t(in_[pos + 2]) << 16);
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    const uint8_t* in_;
    size_t len_;
    MatchParams p_;
    std::vector<int64_t> head_;
    std::vector<int64_t> prev_;
};

// Splits in into literals and matches, calling sink.literal(pos) and
// sink.match(distance, len) in order.
template <class Sink>
void parse(const uint8_t* in, size_t len, const MatchParams& params, Sink& sink) {
    MatchFinder finder(in, len, params);
    size_t pos = 0;
    while (pos < len) {
        Match m = finder.find(pos);
        finder.insert(pos);
        if (m.len == 0) {
            sink.literal(pos);
            ++pos;
            continue;
        }
        // Lazy step: a longer match one byte later is worth a literal now.
        if (m.len < params.nice_len && pos + 1 < len) {
            const Match next = finder.find(pos + 1);
            if (next.len > m.len) {
                sink.literal(pos);
                ++pos;
                finder.insert(pos);
                m = next;
            }
        }
        sink.match(m.distance, m.len);
        const size_t end = pos + m.len;
        for (size_t p = pos + 1; p < end; ++p) finder.insert(p);
        pos = end;
    }
}

// Method A: a flag byte (highest bit first) before every eight items; a set
// bit is a match stored as a little-endian u16 of (distance - 1) << 4 and
// length - 3.
class SinkA {
  public:
    SinkA(const uint8_t* in, std::vector<uint8_t>& out) : in_(in), out_(out) {}

    void literal(size_t pos) {
        begin_item(false);
        out_.push_back(in_[pos]);
    }
    void match(size_t distance, size_t len) {
        begin_item(true);
        const unsigned w = static_cast<unsigned>(((distance - 1) << 4) | (len - 3));
        out_.push_back(static_cast<uint8_t>(w));
        out_.push_back(static_cast<uint8_t>(w >> 8));
    }

  private:
    void begin_item(bool is_match) {
        if (items_ == 8) {
            flag_pos_ = out_.size();
            out_.push_back(0);
            items_ = 0;
        }
        if (is_match) out_[flag_pos_] |= static_cast<uint8_t>(0x80 >> items_);
        ++items_;
    }

    const uint8_t* in_;
    std::vector<uint8_t>& out_;
    size_t flag_pos_ = 0;
    int items_ = 8;
};

void put_be16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}
void put_be32(std::vector<uint8_t>& out, uint32_t v) {
    put_be16(out, v >> 16);
    put_be16(out, v & 0xFFFF);
}

// Method B: literal runs gather until a match (or the end) and go out with the
// shortest token for their length; matches take the shortest token that can
// state them.
class SinkB {
  public:
    SinkB(const uint8_t* in, std::vector<uint8_t>& out) : in_(in), out_(out) {}

    void literal(size_t pos) {
        if (run_len_ == 0) run_start_ = pos;
        ++run_len_;
    }
    void match(size_t distance, size_t len) {
        flush();
        const unsigned d = static_cast<unsigned>(distance - 1);
        if (len <= 6 && d < 8) {
            out_.push_back(static_cast<uint8_t>(0x20 | (d << 2) | (len - 3)));
        } else if (len <= 6) {
            out_.push_back(static_cast<uint8_t>(0x80 | ((len - 3) << 5) | (d >> 8)));
            out_.push_back(static_cast<uint8_t>(d));
        } else if (len <= 262) {
            out_.push_back(static_cast<uint8_t>(0x40 | (d >> 8)));
            out_.push_back(static_cast<uint8_t>(d));
            out_.push_back(static_cast<uint8_t>(len - 7));
        } else {
            out_.push_back(static_cast<uint8_t>(0x60 | (d >> 8)));
            out_.push_back(static_cast<uint8_t>(d));
            put_be32(out_, static_cast<uint32_t>(len - 3));
        }
    }
    void flush() {
        while (run_len_ > 0) {
            size_t n = run_len_;
            if (n <= 29) {
                out_.push_back(static_cast<uint8_t>(n - 1));
            } else if (n <= 285) {
                out_.push_back(0x1D);
                out_.push_back(static_cast<uint8_t>(n - 30));
            } else if (n <= 65821) {
                out_.push_back(0x1E);
                put_be16(out_, static_cast<uint32_t>(n - 286));
            } else {
                n = std::min<size_t>(n, 0xFFFFFFFFu);
                out_.push_back(0x1F);
                put_be32(out_, static_cast<uint32_t>(n));
            }
            out_.insert(out_.end(), in_ + run_start_, in_ + run_start_ + n);
            run_start_ += n;
            run_len_ -= n;
        }
    }

  private:
    const uint8_t* in_;
    std::vector<uint8_t>& out_;
    size_t run_start_ = 0;
    size_t run_len_ = 0;
};

}  // namespace

std::vector<uint8_t> pack_a(const uint8_t* in, size_t len) {
    std::vector<uint8_t> out;
    out.reserve(len + len / 8 + 16);
    const MatchParams params{4096, 18, 18, 256};
    SinkA sink(in, out);
    parse(in, len, params, sink);
    return out;
}

bool pack_layout(const uint8_t* in, size_t len, std::vector<uint8_t>& out) {
    out.clear();
    if (len > 0xFFFF) return false;
    const std::vector<uint8_t> data = pack_a(in, len);
    if (data.size() > 0xFFFF) return false;
    out.reserve(data.size() + 4);
    out.push_back(static_cast<uint8_t>(len));
    out.push_back(static_cast<uint8_t>(len >> 8));
    out.push_back(static_cast<uint8_t>(data.size()));
    out.push_back(static_cast<uint8_t>(data.size() >> 8));
    out.insert(out.end(), data.begin(), data.end());
    return true;
}

std::vector<uint8_t> pack_b(const uint8_t* in, size_t len) {
    std::vector<uint8_t> out;
    out.reserve(len + len / 16 + 16);
    // The longest token states up to 2^32 + 2 bytes; stay well inside it.
    const MatchParams params{8192, size_t(1) << 31, 1024, 256};
    SinkB sink(in, out);
    parse(in, len, params, sink);
    sink.flush();
    return out;
}

}  // namespace qln
