// qlnpack: builds and takes apart the engine's archives and packed files.
// Exit status: 0 done, 1 a file could not be read, written or understood,
// 2 the command line was wrong.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "files/archive_read.h"
#include "files/archive_write.h"
#include "files/pack.h"
#include "platform/host_files.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char kHelp[] =
    "usage: qlnpack COMMAND ARGUMENTS...\n"
    "\n"
    "Builds and takes apart the archives and packed files the engine reads.\n"
    "\n"
    "commands:\n"
    "  gpc7 OUT FILE...       write a \"Gpc7\" archive to OUT: entry n is the n-th\n"
    "                         FILE, packed with method B when that makes it smaller,\n"
    "                         stored as it is otherwise\n"
    "  qscf OUT FILE...       write a \"QSCF\" archive to OUT: entry n is the n-th\n"
    "                         FILE, stored as it is\n"
    "  pack OUT FILE          write FILE to OUT in the packed layout (method A), as\n"
    "                         the engine reads compressed files; FILE may hold at\n"
    "                         most 65,535 bytes\n"
    "  unpack OUT FILE        write the unpacked bytes of the packed FILE to OUT\n"
    "  list ARCHIVE           print one line per entry of ARCHIVE (either kind):\n"
    "                         entry number, stored size, unpacked size\n"
    "  extract ARCHIVE N OUT  write entry N (counting from 1) of ARCHIVE to OUT,\n"
    "                         unpacked from method B if it was packed\n"
    "\n"
    "options:\n"
    "  -h, --help             show this text\n"
    "\n"
    "An archive holds at most 65,535 entries. Output files are written to a\n"
    "temporary file beside OUT and renamed over it, so a failure never leaves a\n"
    "half-written OUT. Exit status: 0 done, 1 failed, 2 wrong command line.\n";

int usage_error(const char* message) {
    std::fprintf(stderr, "qlnpack: %s\nTry 'qlnpack --help'.\n", message);
    return kExitUsage;
}

int fail(const std::string& file, const std::string& what) {
    std::fprintf(stderr, "qlnpack: %s: %s\n", file.c_str(), what.c_str());
    return kExitFailure;
}

std::string errno_text() {
    return errno != 0 ? std::strerror(errno) : "unknown error";
}

// Reads a whole input file; prints the reason and returns false on failure.
bool read_input(const std::string& path, std::vector<uint8_t>& out) {
    qln::HostFile file;
    errno = 0;
    if (!file.open(path)) {
        fail(path, errno != 0 ? "cannot open: " + errno_text() : "not a regular file");
        return false;
    }
    if (file.size() > qln::kFileReadMax) {
        fail(path, "larger than the engine reads (256 MiB)");
        return false;
    }
    out.resize(static_cast<size_t>(file.size()));
    if (!file.read_at(0, out.data(), out.size())) {
        fail(path, "read error: " + errno_text());
        return false;
    }
    return true;
}

int write_output(const std::string& path, const std::vector<uint8_t>& bytes) {
    errno = 0;
    if (!qln::host_file_write_replace(path, bytes.data(), bytes.size()))
        return fail(path, "cannot write: " + errno_text());
    return 0;
}

int cmd_archive(bool gpc7, int argc, char** argv) {
    if (argc < 4)
        return usage_error(gpc7 ? "gpc7 needs OUT and at least one FILE"
                                : "qscf needs OUT and at least one FILE");
    const std::string out_path = argv[2];
    if (argc - 3 > 0xFFFF) return usage_error("an archive holds at most 65,535 entries");
    std::vector<std::vector<uint8_t>> entries(static_cast<size_t>(argc - 3));
    for (int i = 3; i < argc; ++i) {
        if (!read_input(argv[i], entries[static_cast<size_t>(i - 3)])) return kExitFailure;
    }
    std::vector<uint8_t> archive;
    const bool ok = gpc7 ? qln::archive_write_gpc7(entries, archive)
                         : qln::archive_write_qscf(entries, archive);
    if (!ok) return fail(out_path, "the archive would exceed 4 GiB");
    return write_output(out_path, archive);
}

int cmd_pack(int argc, char** argv) {
    if (argc != 4) return usage_error("pack needs OUT and FILE");
    std::vector<uint8_t> in;
    if (!read_input(argv[3], in)) return kExitFailure;
    if (in.size() > 0xFFFF)
        return fail(argv[3], "holds " + std::to_string(in.size()) +
                                 " bytes; the packed layout holds at most 65,535");
    std::vector<uint8_t> out;
    if (!qln::pack_layout(in.data(), in.size(), out))
        return fail(argv[3], "packed data would exceed 65,535 bytes");
    return write_output(argv[2], out);
}

int cmd_unpack(int argc, char** argv) {
    if (argc != 4) return usage_error("unpack needs OUT and FILE");
    std::vector<uint8_t> in;
    if (!read_input(argv[3], in)) return kExitFailure;
    std::vector<uint8_t> out;
    if (in.size() < 4) return fail(argv[3], "too short for the packed layout (4-byte header)");
    const size_t stated = size_t(in[2]) | (size_t(in[3]) << 8);
    if (stated != in.size() - 4)
        return fail(argv[3], "packed length field says " + std::to_string(stated) + " bytes but " +
                                 std::to_string(in.size() - 4) + " follow");
    if (!qln::packed_layout_unpack(in.data(), in.size(), out))
        return fail(argv[3], "packed data is damaged (does not unpack to its stated length)");
    return write_output(argv[2], out);
}

// Opens an archive for list and extract; prints the reason on failure.
bool open_archive(const std::string& path, qln::HostFile& file) {
    errno = 0;
    if (!file.open(path)) {
        fail(path, errno != 0 ? "cannot open: " + errno_text() : "not a regular file");
        return false;
    }
    if (qln::archive_kind(qln::HostFileSource(file)) == qln::ArchiveKind::None) {
        fail(path, "not an archive (does not start with \"Gpc7\" or \"QSCF\")");
        return false;
    }
    return true;
}

int cmd_list(int argc, char** argv) {
    if (argc != 3) return usage_error("list needs ARCHIVE");
    qln::HostFile file;
    if (!open_archive(argv[2], file)) return kExitFailure;
    const qln::HostFileSource source(file);
    uint32_t count = 0;
    if (!qln::archive_count(source, count)) return fail(argv[2], "header is cut short");
    for (uint32_t n = 1; n <= count; ++n) {
        qln::ArchiveEntryInfo info;
        if (!qln::archive_entry_info(source, n, info))
            return fail(argv[2], "entry " + std::to_string(n) + " is damaged");
        std::printf("%u %llu %llu\n", n, static_cast<unsigned long long>(info.stored),
                    static_cast<unsigned long long>(info.unpacked));
    }
    return 0;
}

int cmd_extract(int argc, char** argv) {
    if (argc != 5) return usage_error("extract needs ARCHIVE, N and OUT");
    char* end = nullptr;
    errno = 0;
    const unsigned long n = std::strtoul(argv[3], &end, 10);
    if (argv[3][0] < '0' || argv[3][0] > '9' || *end != '\0' || errno != 0 || n < 1 || n > 0xFFFF)
        return usage_error("N must be an entry number from 1 to 65535");
    qln::HostFile file;
    if (!open_archive(argv[2], file)) return kExitFailure;
    const qln::HostFileSource source(file);
    qln::ArchiveEntryInfo info;
    uint32_t count = 0;
    if (qln::archive_count(source, count) && n > count)
        return fail(argv[2],
                    "has " + std::to_string(count) + " entries, no entry " + std::to_string(n));
    if (!qln::archive_entry_info(source, static_cast<uint32_t>(n), info))
        return fail(argv[2], "entry " + std::to_string(n) + " is damaged");
    std::vector<uint8_t> out;
    if (!qln::source_read(source, static_cast<uint16_t>(n), false, out))
        return fail(argv[2], "entry " + std::to_string(n) + " does not unpack");
    return write_output(argv[4], out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage_error("no command given");
    const std::string command = argv[1];
    if (command == "-h" || command == "--help") {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (command == "gpc7") return cmd_archive(true, argc, argv);
    if (command == "qscf") return cmd_archive(false, argc, argv);
    if (command == "pack") return cmd_pack(argc, argv);
    if (command == "unpack") return cmd_unpack(argc, argv);
    if (command == "list") return cmd_list(argc, argv);
    if (command == "extract") return cmd_extract(argc, argv);
    return usage_error(("unknown command '" + command + "'").c_str());
}
