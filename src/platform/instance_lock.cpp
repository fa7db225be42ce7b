#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace qln {

std::string instance_lock_name(const std::string& start_dir) {
    // FNV-1a: the same directory always names the same lock file.
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : start_dir) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char name[40];
    std::snprintf(name, sizeof name, "quillon-%016llx.lock", static_cast<unsigned long long>(hash));
    return name;
}

InstanceLockResult InstanceLock::acquire(const std::string& start_dir,
                                         const std::string& lock_dir) {
    release();
    std::string dir = lock_dir;
    if (dir.empty()) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        dir = (runtime && *runtime) ? runtime : "/tmp";
    }
    path_ = dir + "/" + instance_lock_name(start_dir);
    const int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return InstanceLockResult::Failed;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        close(fd);
        return err == EWOULDBLOCK ? InstanceLockResult::AnotherCopyRuns
                                  : InstanceLockResult::Failed;
    }
    fd_ = fd;
    return InstanceLockResult::Acquired;
}

void InstanceLock::release() {
    // The file stays: removing it could let two copies lock different files.
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

}  // namespace qln
