#include "platform/sdl2/host_tools.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/byte_order.h"

extern char** environ;

namespace qln {
namespace {

void put_u32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = char(uint8_t(v >> (8 * i)));
}

// Starts argv with the given ends of pipes as standard input and output
// (-1: /dev/null); the child gets the default signal mask and SIGPIPE.
bool spawn(const std::vector<std::string>& argv, int in_fd, int out_fd, pid_t& pid) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    if (in_fd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, in_fd, 0);
    } else {
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    }
    if (out_fd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, out_fd, 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    sigset_t none, pipe_only;
    sigemptyset(&none);
    sigemptyset(&pipe_only);
    sigaddset(&pipe_only, SIGPIPE);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &pipe_only);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    const int rc = posix_spawn(&pid, argv[0].c_str(), &actions, &attr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    return rc == 0;
}

int wait_exit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs argv and collects what it prints; true when it exited with 0.
bool run_capture(const std::vector<std::string>& argv, std::string& out) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    pid_t pid = 0;
    const bool started = spawn(argv, -1, fds[1], pid);
    close(fds[1]);
    if (!started) {
        close(fds[0]);
        return false;
    }
    char buf[4096];
    for (;;) {
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n > 0) {
            // A path is short; a chooser that prints without end is cut off.
            if (out.size() < 65536) out.append(buf, size_t(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        break;
    }
    close(fds[0]);
    return wait_exit(pid) == 0;
}

// Runs argv with data on its standard input; true when it exited with 0. A
// reader that ends early gives EPIPE here, never a signal.
bool run_feed(const std::vector<std::string>& argv, const std::string& data) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    pid_t pid = 0;
    const bool started = spawn(argv, fds[0], -1, pid);
    close(fds[0]);
    if (!started) {
        close(fds[1]);
        return false;
    }
    sigset_t pipe_only, old;
    sigemptyset(&pipe_only);
    sigaddset(&pipe_only, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_only, &old);
    size_t done = 0;
    bool broken = false;
    while (done < data.size()) {
        const ssize_t n = write(fds[1], data.data() + done, data.size() - done);
        if (n > 0) {
            done += size_t(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            broken = errno == EPIPE;
            break;
        }
    }
    close(fds[1]);
    if (broken) {
        const timespec zero{0, 0};
        sigtimedwait(&pipe_only, nullptr, &zero);  // take the pending signal
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return wait_exit(pid) == 0 && done == data.size();
}

}  // namespace

bool host_program_find(const char* name, std::string& path) {
    const char* env = std::getenv("PATH");
    const std::string dirs = env ? env : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string dir = end > start ? dirs.substr(start, end - start) : ".";
        const std::string candidate = dir + "/" + name;
        struct stat st {};
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            access(candidate.c_str(), X_OK) == 0) {
            path = candidate;
            return true;
        }
        start = end + 1;
    }
    return false;
}

bool host_file_chooser(std::string& chosen) {
    std::string program;
    std::vector<std::string> argv;
    if (host_program_find("zenity", program)) {
        argv = {program, "--file-selection"};
    } else if (host_program_find("kdialog", program)) {
        argv = {program, "--getopenfilename", "."};
    } else {
        return false;
    }
    std::string out;
    if (!run_capture(argv, out)) return false;
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    if (out.empty() || out.find('\n') != std::string::npos) return false;
    chosen = out;
    return true;
}

std::string bitmap_file_from_dib(const uint8_t* dib, size_t size) {
    if (!dib || size < 40) return {};
    const uint32_t header = read_u32(dib);
    if (header < 40 || header > size) return {};
    const uint16_t bits = uint16_t(dib[14] | dib[15] << 8);
    uint32_t colours = read_u32(dib + 32);
    if (colours == 0 && bits <= 8) colours = 1u << bits;
    const uint64_t offset = 14 + uint64_t(header) + uint64_t(colours) * 4;
    if (offset > 14 + uint64_t(size) || 14 + uint64_t(size) > UINT32_MAX) return {};
    std::string file(14, '\0');
    file[0] = 'B';
    file[1] = 'M';
    put_u32(file, 2, uint32_t(14 + size));
    put_u32(file, 10, uint32_t(offset));
    file.append(reinterpret_cast<const char*>(dib), size);
    return file;
}

bool host_clipboard_bitmap(const uint8_t* dib, size_t size) {
    const char* display = std::getenv("DISPLAY");
    std::string xclip;
    if (!display || !*display || !host_program_find("xclip", xclip)) return false;
    const std::string file = bitmap_file_from_dib(dib, size);
    if (file.empty()) return false;
    return run_feed({xclip, "-selection", "clipboard", "-t", "image/bmp"}, file);
}

}  // namespace qln
