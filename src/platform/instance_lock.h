#pragma once
// Keeps a second copy of the engine from running the same game: an advisory
// lock (flock) on a lock file named after the start directory, in
// $XDG_RUNTIME_DIR or else /tmp. The kernel drops the lock when its holder
// ends in any way, so a crashed copy never leaves it stale. Only windowed runs
// take it; headless runs and the tests never do.

#include <string>

namespace qln {

enum class InstanceLockResult { Acquired, AnotherCopyRuns, Failed };

class InstanceLock {
  public:
    InstanceLock() = default;
    ~InstanceLock() { release(); }
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock for start_dir; lock_dir empty picks $XDG_RUNTIME_DIR or /tmp.
    InstanceLockResult acquire(const std::string& start_dir, const std::string& lock_dir = "");
    void release();
    bool held() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

  private:
    int fd_ = -1;
    std::string path_;
};

// The lock file's name for a start directory: "quillon-" and 16 hex digits.
std::string instance_lock_name(const std::string& start_dir);

}  // namespace qln
