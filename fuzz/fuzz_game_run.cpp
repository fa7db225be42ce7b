// A whole game run from arbitrary files: the input is a bundle of files
// (for each a name length byte, the name, a 32-bit little-endian size and the
// bytes) written into an empty game folder, which then starts as a headless
// batch run: start-up candidates and settings records, the cursor file, every
// command the scenarios reach, pictures, archives, sound and the settings
// file. The seed games come from game_seeds/make_game_seeds.py.
//
// A run fails the harness when it crashes or the sanitizers report, when it
// does not end within the harness's time-out (a hang), when a single
// allocation or the resident size passes the memory cap, or when the run
// holds more than the engine's cap or goes on past its command limit.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/limits.h"
#include "engine/engine.h"
#include "platform/headless/headless_platform.h"
#include "shell/app_main.h"
#include "tables/tables.h"

namespace {

constexpr size_t kMaxFiles = 24;
constexpr uint32_t kMaxCommands = 4000;
constexpr uint32_t kMaxErrors = 200;
constexpr uint32_t kMaxVirtualMs = 3000;
// A run past its command limit ends at its next poll step; a command that
// runs nested commands (callbacks, subroutines) may finish a few more.
constexpr uint64_t kCommandsPastLimit = 64;

// libFuzzer options every run of this harness needs, unless given.
const char* const kDefaultFlags[] = {
    "-rss_limit_mb=2560",    // resident size (ASan's shadow included)
    "-malloc_limit_mb=640",  // one allocation: above every cap of the engine
    "-timeout=60",           // a hang
    "-max_len=262144",
    "-close_fd_mask=2",  // the engine's messages; sanitizer reports still show
};

std::string game_dir;
std::string fuzzer_dir;  // where libFuzzer keeps its corpus and crash files

// Keeps the letters, digits and "._-" of a name; nothing that leaves the folder.
std::string safe_name(const uint8_t* bytes, size_t len) {
    std::string name;
    for (size_t i = 0; i < len; ++i) {
        const char c = char(bytes[i]);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
        name += plain ? c : '_';
    }
    if (name.empty() || name == "." || name == "..") name = "_" + name;
    return name;
}

void folder_empty() {
    std::error_code error;  // a file that cannot be removed is overwritten
    for (const auto& entry : std::filesystem::directory_iterator(game_dir, error)) {
        std::filesystem::remove_all(entry.path(), error);
    }
}

void file_write(const std::string& name, const uint8_t* bytes, size_t size) {
    FILE* f = std::fopen(name.c_str(), "wb");
    if (!f) return;
    if (size) (void)std::fwrite(bytes, 1, size, f);
    std::fclose(f);
}

// Writes the bundle's files into the current folder; a truncated last file
// keeps the bytes there are.
void bundle_unpack(const uint8_t* data, size_t size) {
    size_t at = 0;
    for (size_t files = 0; files < kMaxFiles && at < size; ++files) {
        const size_t name_len = data[at++];
        if (name_len == 0 || name_len > 64 || size - at < name_len) return;
        const std::string name = safe_name(data + at, name_len);
        at += name_len;
        uint32_t stated = 0;
        for (int i = 0; i < 4 && at < size; ++i) stated |= uint32_t(data[at++]) << (8 * i);
        const size_t len = stated < size - at ? stated : size - at;
        file_write(name, data + at, len);
        at += len;
    }
}

void fail(const char* what, uint64_t value) {
    std::fprintf(stderr, "fuzz_game_run: %s (%llu)\n", what,
                 static_cast<unsigned long long>(value));
    std::abort();
}

}  // namespace

// An undefined-behaviour report ends the run like a crash.
extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static std::vector<char*> args(*argv, *argv + *argc);
    for (const char* flag : kDefaultFlags) {
        const size_t name_len = std::strchr(flag, '=') - flag + 1;
        bool given = false;
        for (int i = 1; i < *argc; ++i) given |= std::strncmp((*argv)[i], flag, name_len) == 0;
        if (!given) args.push_back(const_cast<char*>(flag));
    }
    char folder[] = "/tmp/qln-fuzz-game-XXXXXX";
    char* cwd = getcwd(nullptr, 0);
    if (!mkdtemp(folder) || !cwd) {
        std::perror("fuzz_game_run: game folder");
        std::exit(1);
    }
    game_dir = folder;
    fuzzer_dir = cwd;
    std::free(cwd);
    // A crash or hang is caught while the run is in the game folder: its
    // input goes where libFuzzer was started.
    static std::string artifacts = "-artifact_prefix=" + fuzzer_dir + "/";
    bool prefix_given = false;
    for (int i = 1; i < *argc; ++i) {
        prefix_given |= std::strncmp((*argv)[i], "-artifact_prefix=", 17) == 0;
    }
    if (!prefix_given) args.push_back(artifacts.data());

    *argc = int(args.size());
    args.push_back(nullptr);
    *argv = args.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The game runs in its own folder; libFuzzer's relative paths need ours back.
    if (chdir(game_dir.c_str()) != 0) fail("cannot enter the game folder", 0);
    folder_empty();
    bundle_unpack(data, size);

    qln::HeadlessOptions options;
    options.stop_on_error = false;
    options.max_ms = kMaxVirtualMs;
    options.log = [](const std::string&) {};
    qln::HeadlessPlatform platform(std::move(options));
    qln::Engine engine;
    platform.attach(engine.shared);
    // No programs started, no files beside the game written for the player.
    engine.shell.host_effects_allowed = false;
    engine.shell.limits.max_commands = kMaxCommands;
    engine.shell.limits.max_errors = kMaxErrors;

    qln::AppConfig config;
    uint64_t held = 0;
    config.at_scenario_end = [&held](qln::Engine& e) { held = qln::held_bytes(e); };
    (void)qln::app_main(engine, platform, config);
    if (chdir(fuzzer_dir.c_str()) != 0) fail("cannot go back to the fuzzer's folder", 0);

    if (held > qln::kHeldBytesMax) fail("held bytes above the engine's cap", held);
    if (engine.shell.limits.commands > kMaxCommands + kCommandsPastLimit) {
        fail("commands past the limit", engine.shell.limits.commands);
    }
    return 0;
}
