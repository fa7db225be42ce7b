// The built qlnpic program, read back with the engine's own decoder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/decode_test_support.h"
#include "graphics/encode_formats.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qln::test {
namespace {

// Twelve colours, each component a multiple of 17, channels all distinct.
PictureOwner colourful() {
    return make_picture(16, 6, [](int x, int y) {
        return Bgr{uint8_t(0x44 + 17 * (x % 4)), uint8_t(0x88 + 17 * (y % 3)), 0xCC};
    });
}

class QlnpicTest : public ::testing::Test {
  protected:
    TempDir dir;

    std::string path(const std::string& name) const { return dir.str() + "/" + name; }
    RunResult run(const std::vector<std::string>& args) const {
        return run_program("qlnpic", args, dir);
    }
    void write(const std::string& name, const Bytes& b) const { dir.write(name, b); }

    PictureOwner read_back(const std::string& name) const {
        const std::string s = slurp(path(name));
        return decode(Bytes(s.begin(), s.end()));
    }
};

TEST_F(QlnpicTest, EveryColourFormatReadsBackExactlyAndThroughPng) {
    PictureOwner source = colourful();
    write("in.bmp", encode_bmp(*source, 24));
    for (const char* format : {"gcmp24", "bmp24", "bmp8", "targa", "planar", "png"}) {
        const std::string out = std::string("out.") + format;
        const RunResult r = run({"--format", format, path("in.bmp"), path(out)});
        ASSERT_EQ(r.status, 0) << format << ": " << r.err;
        EXPECT_EQ(r.err, "") << format;
        // PNG is read back through qlnpic itself, into a bitmap.
        std::string check = out;
        if (std::string(format) == "png") {
            ASSERT_EQ(run({path(out), path("back.bmp")}).status, 0);
            check = "back.bmp";
        }
        PictureOwner back = read_back(check);
        ASSERT_TRUE(back) << format;
        EXPECT_TRUE(same_pixels(*source, *back)) << format;
    }
    const RunResult info = run({"--info", path("out.planar")});
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.out, "planar 16 x 6\n");
}

TEST_F(QlnpicTest, AlphaSurvivesTargaToPngAndBack) {
    PictureOwner source = colourful();
    source->alpha.reset(new uint8_t[source->alpha_bytes()]);
    for (size_t i = 0; i < source->alpha_bytes(); ++i) source->alpha[i] = uint8_t(255 - 2 * i);
    write("in.tga", encode_targa(*source));
    ASSERT_EQ(run({path("in.tga"), path("mid.png")}).status, 0);
    EXPECT_EQ(run({"--info", path("mid.png")}).out, "png 16 x 6 with alpha\n");
    ASSERT_EQ(run({path("mid.png"), path("out.tga")}).status, 0);
    PictureOwner back = read_back("out.tga");
    ASSERT_TRUE(back);
    EXPECT_TRUE(same_pixels(*source, *back));
    ASSERT_TRUE(back->alpha);
    const size_t n = source->alpha_bytes();
    EXPECT_EQ(Bytes(back->alpha.get(), back->alpha.get() + n),
              Bytes(source->alpha.get(), source->alpha.get() + n));
    // A format without alpha says it dropped it.
    const RunResult r = run({"-f", "gcmp24", path("mid.png"), path("out.gcmp")});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("alpha dropped"), std::string::npos) << r.err;
}

TEST_F(QlnpicTest, BlackAndWhiteAndRoundedOutputsSayWhatChanged) {
    PictureOwner source = make_picture(13, 4, [](int x, int y) {
        return (x + y) % 3 ? Bgr{0x45, 0x88, 0xCC} : Bgr{0x10, 0x10, 0x10};
    });
    write("in.bmp", encode_bmp(*source, 24));
    for (const char* format : {"gcmp1", "bmp1"}) {
        const RunResult r = run({"-f", format, path("in.bmp"), path("bw")});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.err.find("52 pixels made black or white"), std::string::npos) << r.err;
        PictureOwner back = read_back("bw");
        ASSERT_TRUE(back);
        EXPECT_EQ(pixel(*back, 1, 0), white);  // the tint's luminance is about 149
        EXPECT_EQ(pixel(*back, 0, 0), black);
    }
    // 13 pixels across is no multiple of 8.
    RunResult r = run({"-f", "planar", path("in.bmp"), path("p")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("multiple of 8"), std::string::npos) << r.err;

    PictureOwner wide = make_picture(8, 2, [](int x, int) { return Bgr{0x45, 0x88, uint8_t(x)}; });
    write("wide.bmp", encode_bmp(*wide, 24));
    r = run({"-f", "planar", path("wide.bmp"), path("p")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("16 pixels rounded to multiples of 17"), std::string::npos) << r.err;
    PictureOwner back = read_back("p");
    ASSERT_TRUE(back);
    EXPECT_EQ(pixel(*back, 7, 1), (Bgr{0x44, 0x88, 0x00}));
    EXPECT_EQ(pixel(*back, 0, 0), (Bgr{0x44, 0x88, 0x00}));
}

TEST_F(QlnpicTest, UsageErrorsExitTwoAndFailuresExitOne) {
    const RunResult help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: qlnpic", 0), 0u);
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"-f", "jpeg", "a", "b"},
                                               {"--place", "3,300", "a", "b"},
                                               {"--bogus", "a", "b"},
                                               {"a", "b.unknown"}})
        EXPECT_EQ(run(args).status, 2) << (args.empty() ? "" : args[0]);

    RunResult r = run({path("missing.bmp"), path("out.png")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing.bmp"), std::string::npos);
    write("text.txt", {'h', 'e', 'l', 'l', 'o'});
    r = run({path("text.txt"), path("out.png")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not a picture"), std::string::npos) << r.err;

    PictureOwner many = make_picture(32, 2, [](int x, int) {
        return Bgr{uint8_t(17 * (x % 16)), 0, uint8_t(17 * (x / 16))};
    });
    write("many.bmp", encode_bmp(*many, 24));
    r = run({"-f", "planar", path("many.bmp"), path("p")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("more than 16 colours"), std::string::npos) << r.err;
    write("small.bmp", encode_bmp(*make_picture(8, 2, [](int, int) { return white; }), 24));
    r = run({"-f", "planar", "--place", "66,77", path("small.bmp"), path("p")});
    EXPECT_NE(r.err.find("bitmap signature"), std::string::npos) << r.err;
    EXPECT_EQ(r.status, 1);
    // Nothing is written when the conversion fails.
    EXPECT_EQ(slurp(path("p")), "");
}

}  // namespace
}  // namespace qln::test
