#include "platform/process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

extern char** environ;

namespace qln {
namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

int exit_code_of(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

// True when pid has ended (exit_code set), false while it runs.
bool collect(int pid, int& exit_code, bool& gone) {
    int status = 0;
    const int r = waitpid(pid, &status, WNOHANG);
    if (r == pid) {
        exit_code = exit_code_of(status);
        return true;
    }
    if (r < 0 && errno != EINTR) {
        gone = true;  // not our child any more: nothing to wait for
        return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> command_line_split(std::string_view line) {
    std::vector<std::string> args;
    size_t i = 0;
    const size_t n = line.size();
    while (i < n && is_blank(line[i])) ++i;
    if (i >= n) return args;

    // The program name: no escapes at all.
    std::string program;
    if (line[i] == '"') {
        ++i;
        while (i < n && line[i] != '"') program += line[i++];
        if (i < n) ++i;
    } else {
        while (i < n && !is_blank(line[i])) program += line[i++];
    }
    args.push_back(std::move(program));

    while (i < n && is_blank(line[i])) ++i;
    if (i >= n) return args;

    std::string arg;
    int quotes = 0;  // odd while inside quotes
    size_t backslashes = 0;
    while (i < n) {
        const char c = line[i];
        if (is_blank(c) && quotes == 0) {
            args.push_back(std::move(arg));
            arg.clear();
            backslashes = 0;
            while (i < n && is_blank(line[i])) ++i;
            if (i >= n) return args;
            continue;
        }
        if (c == '\\') {
            arg += c;
            ++backslashes;
            ++i;
            continue;
        }
        if (c == '"') {
            if (backslashes % 2 == 0) {
                arg.resize(arg.size() - backslashes / 2);
                ++quotes;
            } else {
                arg.resize(arg.size() - backslashes / 2 - 1);
                arg += '"';
            }
            backslashes = 0;
            ++i;
            // A run of quotes: every third one is a literal quote.
            while (i < n && line[i] == '"') {
                if (++quotes == 3) {
                    arg += '"';
                    quotes = 0;
                }
                ++i;
            }
            if (quotes == 2) quotes = 0;
            continue;
        }
        arg += c;
        backslashes = 0;
        ++i;
    }
    args.push_back(std::move(arg));
    return args;
}

bool process_start(const std::vector<std::string>& argv, int& pid) {
    if (argv.empty() || argv[0].empty()) return false;
    std::vector<char*> raw;
    raw.reserve(argv.size() + 1);
    for (const std::string& a : argv) raw.push_back(const_cast<char*>(a.c_str()));
    raw.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return false;
    // No handles inherited: only standard input, output and error stay open.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    // The child starts with default signal handling whatever the engine set.
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigdefault(&attr, &all);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    pid_t child = -1;
    const bool search = argv[0].find('/') == std::string::npos;
    const int r = search ? posix_spawnp(&child, raw[0], &actions, &attr, raw.data(), environ)
                         : posix_spawn(&child, raw[0], &actions, &attr, raw.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    if (r != 0) return false;
    pid = child;
    return true;
}

bool process_wait(int pid, uint32_t interval_ms, bool (*keep_waiting)(void*), void* context,
                  int& exit_code) {
    // A pidfd wakes the wait as soon as the program ends; without one the
    // wait sleeps its intervals.
    const int fd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    bool gone = false;
    for (;;) {
        if (collect(pid, exit_code, gone)) {
            if (fd >= 0) close(fd);
            if (gone) exit_code = -1;
            return true;
        }
        if (keep_waiting && !keep_waiting(context)) {
            if (fd >= 0) close(fd);
            return false;
        }
        if (fd >= 0) {
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, static_cast<int>(interval_ms));
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(interval_ms));
        }
    }
}

void process_reap(std::vector<int32_t>& pids) {
    size_t kept = 0;
    for (size_t i = 0; i < pids.size(); ++i) {
        int status = 0;
        const int r = waitpid(pids[i], &status, WNOHANG);
        if (r == 0) pids[kept++] = pids[i];
    }
    pids.resize(kept);
}

}  // namespace qln
