// qlnpic: converts pictures between PNG, BMP and the four formats the engine
// reads, and reads every file it writes back through the engine's decoder.
// Exit status: 0 done, 1 a file could not be read, converted or written,
// 2 the command line was wrong.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/limits.h"
#include "graphics/decode_formats.h"
#include "graphics/encode_formats.h"
#include "platform/host_files.h"
#include "png_io.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr uint64_t kInputMax = qln::kFileReadMax;

const char kHelp[] =
    "usage: qlnpic [OPTIONS] INPUT OUTPUT\n"
    "       qlnpic --info FILE\n"
    "\n"
    "Converts INPUT (a PNG, or any picture the engine reads: Windows BMP, the\n"
    "compressed format, 32-bit targa, the planar 16-colour format) to OUTPUT in\n"
    "one format, then reads OUTPUT back and checks it pixel for pixel.\n"
    "\n"
    "options:\n"
    "  -f, --format FORMAT  the output format (default from OUTPUT's extension:\n"
    "                       .png png, .bmp bmp24, .tga targa):\n"
    "                         gcmp24  compressed format, 24-bit colour runs\n"
    "                         gcmp1   compressed format, black and white, byte runs\n"
    "                         bmp24   Windows bitmap, 24 bits per pixel\n"
    "                         bmp8    Windows bitmap, 8 bits (at most 256 colours)\n"
    "                         bmp1    Windows bitmap, black and white\n"
    "                         targa   32-bit targa with alpha\n"
    "                         planar  planar 16-colour format\n"
    "                         png     PNG, with alpha when the input has alpha\n"
    "  --place X,Y          the planar format's two placement bytes (0-255;\n"
    "                       default 0,0)\n"
    "  --info FILE          print FILE's format, width and height\n"
    "  -h, --help           show this text\n"
    "\n"
    "Black-and-white formats make a pixel white when its luminance is at least\n"
    "128. The planar format rounds each colour component to a multiple of 17\n"
    "and holds at most 16 colours; its width must be a multiple of 8 (at most\n"
    "2040) and its height a multiple of 2 (at most 510). Only targa and PNG keep\n"
    "alpha. A note on standard error says when pixels were changed to fit.\n"
    "OUTPUT is written to a temporary file and renamed over the target.\n"
    "Exit status: 0 done, 1 failed, 2 wrong command line.\n";

int usage_error(const std::string& message) {
    std::fprintf(stderr, "qlnpic: %s\nTry 'qlnpic --help'.\n", message.c_str());
    return kExitUsage;
}

int fail(const std::string& file, const std::string& what) {
    std::fprintf(stderr, "qlnpic: %s: %s\n", file.c_str(), what.c_str());
    return kExitFailure;
}

void note(const std::string& file, const std::string& what) {
    std::fprintf(stderr, "qlnpic: %s: note: %s\n", file.c_str(), what.c_str());
}

const char* const kFormats[] = {"gcmp24", "gcmp1", "bmp24",  "bmp8",
                                "bmp1",   "targa", "planar", "png"};

bool known_format(const std::string& f) {
    for (const char* k : kFormats)
        if (f == k) return true;
    return false;
}

std::string format_from_extension(const std::string& path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return "";
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "png") return "png";
    if (ext == "bmp") return "bmp24";
    if (ext == "tga") return "targa";
    return "";
}

// Which reader picture_decode hands the bytes to, for --info (a picture the
// engine read, so a compressed one has depth 1 or 24).
std::string engine_format(const std::vector<uint8_t>& b) {
    if (qln::is_gcmp(b.data(), b.size())) {
        return std::abs(int(int8_t(b[12]))) == 1 ? "gcmp1" : "gcmp24";
    }
    if (qln::is_bmp(b.data(), b.size())) return "bmp";
    qln::PictureOwner targa(qln::decode_targa(b.data(), b.size()));
    return targa ? "targa" : "planar";
}

uint32_t u16_at(const std::vector<uint8_t>& b, size_t at) {
    return at + 2 <= b.size() ? uint32_t(b[at] | (b[at + 1] << 8)) : 0;
}

std::string size_refused(uint32_t width, uint32_t height) {
    return std::to_string(width) + " x " + std::to_string(height) +
           " is beyond the picture limits (" + std::to_string(qln::kPictureSideMax) +
           " pixels a side, " + std::to_string(qln::kPictureBytesMax / qln::kMiB) + " MiB)";
}

// Why the engine's decoder refused the bytes, as far as the header tells.
std::string refusal(const std::vector<uint8_t>& b) {
    if (qln::is_gcmp(b.data(), b.size())) {
        if (b.size() < qln::gcmp_header_bytes) return "compressed format, header cut short";
        const int depth = std::abs(int(int8_t(b[12])));
        if (depth != 1 && depth != 24) {
            return "compressed format of depth " + std::to_string(depth) +
                   ": only depths 1 and 24 are read";
        }
        if (!qln::picture_file_size_allowed(u16_at(b, 8), u16_at(b, 10)))
            return size_refused(u16_at(b, 8), u16_at(b, 10));
        return "compressed format, pixel data damaged or cut short";
    }
    if (qln::is_bmp(b.data(), b.size()) && b.size() >= 26 &&
        !qln::picture_file_size_allowed(u16_at(b, 18), u16_at(b, 22)))
        return size_refused(u16_at(b, 18), u16_at(b, 22));
    if (b.size() >= 18 && b[1] == 0 && b[2] == 2 && b[16] == 32 &&
        !qln::picture_file_size_allowed(u16_at(b, 12), u16_at(b, 14)))
        return size_refused(u16_at(b, 12), u16_at(b, 14));
    return "not a picture (neither PNG nor a format the engine reads)";
}

bool load(const std::string& path, qln::PictureOwner& out, std::string& kind) {
    std::vector<uint8_t> bytes;
    errno = 0;
    if (!qln::host_file_read_all(path, bytes, kInputMax)) {
        fail(path, errno ? std::string("cannot read: ") + std::strerror(errno)
                         : "cannot read (missing, not a file, or over 256 MiB)");
        return false;
    }
    if (qlnpic::is_png(bytes)) {
        std::string error;
        if (!qlnpic::png_read(bytes, out, error)) {
            fail(path, "bad PNG: " + error);
            return false;
        }
        kind = "png";
        return true;
    }
    out.reset(qln::picture_decode(bytes.data(), bytes.size()));
    if (!out) {
        fail(path, refusal(bytes));
        return false;
    }
    kind = engine_format(bytes);
    return true;
}

// Makes the picture what the format can hold; counts the pixels changed.
size_t fit_black_white(qln::Picture& p) {
    size_t changed = 0;
    for (size_t i = 0; i < size_t(p.width) * p.height; ++i) {
        uint8_t* px = p.pixels.get() + 3 * i;
        const uint8_t v = qln::is_light(px) ? 255 : 0;
        if (px[0] != v || px[1] != v || px[2] != v) ++changed;
        px[0] = px[1] = px[2] = v;
    }
    return changed;
}

size_t fit_sixteen_levels(qln::Picture& p) {
    size_t changed = 0;
    for (size_t i = 0; i < size_t(p.width) * p.height; ++i) {
        uint8_t* px = p.pixels.get() + 3 * i;
        bool differs = false;
        for (int k = 0; k < 3; ++k) {
            const uint8_t v = static_cast<uint8_t>((px[k] + 8) / 17 * 17);
            differs = differs || v != px[k];
            px[k] = v;
        }
        changed += differs;
    }
    return changed;
}

size_t count_colours(const qln::Picture& p, size_t stop_at) {
    std::vector<uint32_t> seen;
    for (size_t i = 0; i < size_t(p.width) * p.height && seen.size() < stop_at; ++i) {
        const uint8_t* px = p.pixels.get() + 3 * i;
        const uint32_t c = px[0] | (px[1] << 8) | (uint32_t(px[2]) << 16);
        bool found = false;
        for (uint32_t s : seen) found = found || s == c;
        if (!found) seen.push_back(c);
    }
    return seen.size();
}

struct Options {
    std::string format;
    uint8_t place_x = 0, place_y = 0;
    std::string input, output;
};

bool parse_place(const std::string& text, Options& o) {
    unsigned x = 0, y = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%u,%u%c", &x, &y, &tail) != 2 || x > 255 || y > 255)
        return false;
    o.place_x = static_cast<uint8_t>(x);
    o.place_y = static_cast<uint8_t>(y);
    return true;
}

int info(const std::string& path) {
    qln::PictureOwner p;
    std::string kind;
    if (!load(path, p, kind)) return kExitFailure;
    std::printf("%s %u x %u%s\n", kind.c_str(), unsigned(p->width), unsigned(p->height),
                p->alpha ? " with alpha" : "");
    return 0;
}

// Exact comparison of what was encoded and what the decoder returns.
bool same(const qln::Picture& want, const qln::Picture& got, bool with_alpha, std::string& where) {
    if (want.width != got.width || want.height != got.height) {
        where = "size " + std::to_string(got.width) + " x " + std::to_string(got.height);
        return false;
    }
    const size_t n = size_t(want.width) * want.height;
    for (size_t i = 0; i < n; ++i) {
        const bool colour_ok =
            std::memcmp(want.pixels.get() + 3 * i, got.pixels.get() + 3 * i, 3) == 0;
        const uint8_t want_a = want.alpha ? want.alpha[i] : 255;
        const uint8_t got_a = got.alpha ? got.alpha[i] : 255;
        const bool alpha_ok = !with_alpha || got_a == want_a;
        if (!colour_ok || !alpha_ok) {
            where =
                "pixel " + std::to_string(i % want.width) + "," + std::to_string(i / want.width);
            return false;
        }
    }
    return true;
}

int convert(const Options& o) {
    qln::PictureOwner pic;
    std::string kind;
    if (!load(o.input, pic, kind)) return kExitFailure;
    const std::string& f = o.format;
    const bool keeps_alpha = f == "targa" || f == "png";
    if (pic->alpha && !keeps_alpha) {
        note(o.input, "alpha dropped (" + f + " has none)");
        pic->alpha.reset();
    }

    std::vector<uint8_t> out;
    if (f == "gcmp1" || f == "bmp1") {
        if (size_t n = fit_black_white(*pic))
            note(o.input, std::to_string(n) + " pixels made black or white");
        out = f == "gcmp1" ? qln::encode_gcmp1(*pic) : qln::encode_bmp(*pic, 1);
    } else if (f == "gcmp24") {
        out = qln::encode_gcmp24(*pic);
    } else if (f == "bmp24" || f == "bmp8") {
        if (f == "bmp8" && count_colours(*pic, 257) > 256)
            return fail(o.input, "more than 256 colours; use bmp24");
        out = qln::encode_bmp(*pic, f == "bmp8" ? 8 : 24);
    } else if (f == "targa") {
        out = qln::encode_targa(*pic);
    } else if (f == "planar") {
        if (pic->width % 8 || pic->width > 2040 || pic->height % 2 || pic->height > 510)
            return fail(o.input,
                        "the planar format needs a width that is a multiple of 8 up "
                        "to 2040 and a height that is a multiple of 2 up to 510");
        if (o.place_x == 'B' && o.place_y == 'M')
            return fail(o.output, "placement 66,77 reads as a bitmap signature");
        if (size_t n = fit_sixteen_levels(*pic))
            note(o.input, std::to_string(n) + " pixels rounded to multiples of 17");
        const size_t colours = count_colours(*pic, 17);
        if (colours > 16)
            return fail(o.input,
                        "more than 16 colours after rounding; the planar format "
                        "holds 16");
        out = qln::encode_planar(*pic, o.place_x, o.place_y);
    } else {
        std::string error;
        if (!qlnpic::png_write(*pic, out, error)) return fail(o.output, "PNG: " + error);
    }
    if (out.empty()) return fail(o.output, "cannot be stored as " + f);

    // Read back what will be written before writing it.
    qln::PictureOwner back;
    if (f == "png") {
        std::string error;
        if (!qlnpic::png_read(out, back, error)) return fail(o.output, "PNG read-back: " + error);
    } else {
        back.reset(qln::picture_decode(out.data(), out.size()));
    }
    std::string where;
    if (!back) return fail(o.output, "internal error: the engine does not read the result");
    if (!same(*pic, *back, keeps_alpha, where))
        return fail(o.output, "internal error: read-back differs at " + where);

    errno = 0;
    if (!qln::host_file_write_replace(o.output, out.data(), out.size()))
        return fail(o.output, std::string("cannot write: ") + std::strerror(errno ? errno : EIO));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= argc) return false;
            v = argv[++i];
            return true;
        };
        if (a == "-h" || a == "--help") {
            std::fputs(kHelp, stdout);
            return 0;
        } else if (a == "-f" || a == "--format") {
            if (!value(o.format)) return usage_error(a + " needs a FORMAT");
            if (!known_format(o.format)) return usage_error("unknown format '" + o.format + "'");
        } else if (a == "--place") {
            std::string v;
            if (!value(v) || !parse_place(v, o))
                return usage_error("--place needs X,Y with both from 0 to 255");
        } else if (a == "--info") {
            std::string v;
            if (!value(v)) return usage_error("--info needs a FILE");
            if (argc != 3) return usage_error("--info takes no other arguments");
            return info(v);
        } else if (a.size() > 1 && a[0] == '-') {
            return usage_error("unknown option '" + a + "'");
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) return usage_error("expected INPUT and OUTPUT");
    o.input = positional[0];
    o.output = positional[1];
    if (o.format.empty()) o.format = format_from_extension(o.output);
    if (o.format.empty())
        return usage_error("cannot tell the format from '" + o.output + "'; give --format");
    return convert(o);
}
