// qlnogg: encodes a sound file (WAV, or anything libsndfile reads) as Ogg
// Vorbis, the form CD tracks of a game folder take. libsndfile is already the
// engine's sound decoder, so the build needs nothing more to make a track.
// Exit status: 0 done, 1 a file could not be read or written, 2 the command
// line was wrong.
#include <sndfile.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char kHelp[] =
    "usage: qlnogg [--quality Q] INPUT OUTPUT\n"
    "\n"
    "Encodes INPUT (WAV, FLAC, AIFF or any other file libsndfile reads) as Ogg\n"
    "Vorbis at its own rate and channel count. OUTPUT is written to a temporary\n"
    "file and renamed over the target.\n"
    "\n"
    "options:\n"
    "  -q, --quality Q  Vorbis quality from 0 (smallest) to 1 (best); default 0.4\n"
    "  -h, --help       show this text\n"
    "Exit status: 0 done, 1 failed, 2 wrong command line.\n";

int usage_error(const std::string& message) {
    std::fprintf(stderr, "qlnogg: %s\nTry 'qlnogg --help'.\n", message.c_str());
    return kExitUsage;
}

int failure(const std::string& what, SNDFILE* file) {
    std::fprintf(stderr, "qlnogg: %s: %s\n", what.c_str(), sf_strerror(file));
    return kExitFailure;
}

// Copies every frame of in to out; false at the first short write.
bool copy_frames(SNDFILE* in, SNDFILE* out, int channels) {
    std::vector<float> chunk(size_t(4096) * size_t(channels));
    for (;;) {
        const sf_count_t got = sf_readf_float(in, chunk.data(), 4096);
        if (got <= 0) return true;
        if (sf_writef_float(out, chunk.data(), got) != got) return false;
    }
}

int convert(const std::string& input, const std::string& output, double quality) {
    SF_INFO info{};
    SNDFILE* in = sf_open(input.c_str(), SFM_READ, &info);
    if (!in) return failure("cannot read " + input, nullptr);
    SF_INFO out_info{};
    out_info.samplerate = info.samplerate;
    out_info.channels = info.channels;
    out_info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    const std::string temp = output + ".tmp";
    SNDFILE* out = sf_open(temp.c_str(), SFM_WRITE, &out_info);
    if (!out) {
        sf_close(in);
        return failure("cannot write " + output, nullptr);
    }
    sf_command(out, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
    const bool copied = copy_frames(in, out, info.channels);
    const std::string error = copied ? "" : sf_strerror(out);
    sf_close(in);
    const bool closed = sf_close(out) == 0;
    if (!copied || !closed || std::rename(temp.c_str(), output.c_str()) != 0) {
        std::remove(temp.c_str());
        std::fprintf(stderr, "qlnogg: cannot write %s%s%s\n", output.c_str(),
                     error.empty() ? "" : ": ", error.c_str());
        return kExitFailure;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    double quality = 0.4;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (arg == "-q" || arg == "--quality") {
            if (i + 1 >= argc) return usage_error("--quality needs a value");
            char* end = nullptr;
            quality = std::strtod(argv[++i], &end);
            if (end == argv[i] || *end != '\0' || !(quality >= 0.0 && quality <= 1.0))
                return usage_error("--quality must be a number from 0 to 1");
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage_error("unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) return usage_error("expected INPUT and OUTPUT");
    return convert(files[0], files[1], quality);
}
