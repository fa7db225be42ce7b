#pragma once
// The locks the main thread and the scenario thread share. The engine names
// only these, so every thread facility stays behind the platform seam.

#include <mutex>

namespace qln {

class Lock {
  public:
    void lock() { mutex_.lock(); }
    void unlock() { mutex_.unlock(); }

  private:
    std::mutex mutex_;
};

// Holds a lock for the rest of the scope.
class LockHold {
  public:
    explicit LockHold(Lock& lock) : lock_(lock) { lock_.lock(); }
    ~LockHold() { lock_.unlock(); }
    LockHold(const LockHold&) = delete;
    LockHold& operator=(const LockHold&) = delete;

  private:
    Lock& lock_;
};

}  // namespace qln
