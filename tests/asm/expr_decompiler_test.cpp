#include "asm/expr_decompiler.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "asm/expr_compiler.h"

namespace qln {
namespace {

using Bytes = std::vector<uint8_t>;

std::string decompile(const Bytes& b) {
    EXPECT_EQ(expr_length(b.data(), b.size()), b.size());
    return expr_decompile(b.data(), b.size());
}

// The text must compile back to exactly the bytes it came from.
void expect_round_trip(const Bytes& b) {
    const std::string text = expr_decompile(b.data(), b.size());
    Lexer lexer;
    lexer.reset(text);
    Bytes again;
    AsmError err;
    ASSERT_TRUE(expr_compile(lexer, again, nullptr, err)) << text << ": " << err.message;
    ASSERT_TRUE(lexer.at_end()) << text;
    ASSERT_EQ(again, b) << text;
}

TEST(ExprLength, CountsConstantOperandsAndStopsAtTheFirstEnd) {
    const Bytes b = {0x00, 0x7F, 0x01, 0x7F, 0x7F, 0x7F, 0x00, 0x03, 0x01, 0x02};
    EXPECT_EQ(expr_length(b.data(), b.size()), 6u);  // 0x7F inside constants is data
    EXPECT_EQ(expr_length(b.data(), 5), 0u);         // cut off before its end
    EXPECT_EQ(expr_length(b.data() + 7, 3), 0u);     // cut inside a constant
    EXPECT_EQ(expr_length(b.data() + 5, 1), 1u);
}

TEST(ExprDecompile, UnusualEncodingsKeepTheirBytes) {
    // A constant in a longer token than needed.
    EXPECT_EQ(decompile({0x03, 5, 0, 0, 0, 0x7F}), "{0x03 0x05 0x00 0x00 0x00}");
    EXPECT_EQ(decompile({0x00, 1, 0x02, 5, 0, 0x53, 0x7F}), "1 + {0x02 0x05 0x00}");
    // Tokens with no infix form take their operands as arguments.
    EXPECT_EQ(decompile({0x00, 1, 0x10, 0x3B, 0x7F}), "{0x3B}(v0[1])");
    EXPECT_EQ(decompile({0x00, 1, 0x00, 2, 0x61, 0x7F}), "{0x61}(1, 2)");
    EXPECT_EQ(decompile({0x00, 1, 0x10, 0x00, 2, 0x79, 0x7F}), "{0x79}(v0[1], 2)");
    // Tokens without effect ride with the entry before them, or the next one.
    EXPECT_EQ(decompile({0x00, 1, 0x80, 0x0F, 0x7F}), "{0x80 0x0F}(1)");
    EXPECT_EQ(decompile({0x80, 0x00, 1, 0x7F}), "{0x80 0x00 0x01}");
    EXPECT_EQ(decompile({0x04, 0x7F}), "{0x04}");
    // A lone end, too few operands, or entries left over: raw as a whole.
    EXPECT_EQ(decompile({0x7F}), "{}");
    EXPECT_EQ(decompile({0x53, 0x7F}), "{0x53}");
    EXPECT_EQ(decompile({0x00, 1, 0x00, 2, 0x7F}), "{0x00 0x01 0x00 0x02}");
    EXPECT_EQ(decompile({0x80, 0x7F}), "{0x80}");
}

TEST(ExprDecompile, EveryTokenRoundTrips) {
    // Each token after two plain operands, then one operand, then none.
    for (int t = 0x04; t < 0x100; ++t) {
        if (t == 0x7F) continue;
        expect_round_trip({0x00, 1, 0x00, 2, uint8_t(t), 0x7F});
        expect_round_trip({0x00, 1, 0x10, uint8_t(t), 0x7F});
        expect_round_trip({uint8_t(t), 0x7F});
    }
}

// Random token soup, mostly without a tree shape: all of it comes back.
TEST(ExprDecompile, RandomTokenStreamsRoundTrip) {
    std::mt19937 rng(12345);
    for (int n = 0; n < 3000; ++n) {
        Bytes b;
        const int count = 1 + static_cast<int>(rng() % 12);
        for (int i = 0; i < count; ++i) {
            if (rng() % 10 < 4) {  // a constant token with its bytes
                const uint8_t t = static_cast<uint8_t>(rng() % 4);
                b.push_back(t);
                const int extra = t == 0 ? 1 : t == 3 ? 4 : 2;
                for (int k = 0; k < extra; ++k) b.push_back(static_cast<uint8_t>(rng()));
            } else {
                uint8_t t = static_cast<uint8_t>(rng());
                if (t == 0x7F) t = 0x53;
                if (t <= 0x03) t = 0x10;
                b.push_back(t);
            }
        }
        b.push_back(0x7F);
        ASSERT_EQ(expr_length(b.data(), b.size()), b.size());
        expect_round_trip(b);
    }
}

TEST(ExprDecompile, VeryLongOrDeepExpressionsFallBackToRaw) {
    Bytes deep = {0x00, 1};
    deep.insert(deep.end(), 400, 0x31);  // deeper than the compiler's nesting limit
    deep.push_back(0x7F);
    EXPECT_EQ(decompile(deep).substr(0, 11), "{0x00 0x01 ");
    expect_round_trip(deep);

    Bytes wide;
    for (int i = 0; i < 2000; ++i) {
        expr_emit_constant(i, wide);
        if (i) wide.push_back(0x53);
    }
    wide.push_back(0x7F);
    ASSERT_GT(wide.size(), 4096u);
    EXPECT_EQ(decompile(wide)[0], '{');
    expect_round_trip(wide);
}

}  // namespace
}  // namespace qln
