// One copy of a game at a time, by a lock file that dies with its holder.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/instance_lock.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

TEST(InstanceLock, ASecondCopyOfTheSameGameIsRefusedOthersAreNot) {
    test::TempDir locks;
    InstanceLock first, second, other;
    ASSERT_EQ(first.acquire("/games/a", locks.str()), InstanceLockResult::Acquired);
    EXPECT_EQ(second.acquire("/games/a", locks.str()), InstanceLockResult::AnotherCopyRuns);
    EXPECT_FALSE(second.held());
    EXPECT_EQ(other.acquire("/games/b", locks.str()), InstanceLockResult::Acquired);
    first.release();
    EXPECT_EQ(second.acquire("/games/a", locks.str()), InstanceLockResult::Acquired);
    EXPECT_EQ(first.acquire("/games/c", "/no/such/dir"), InstanceLockResult::Failed);
    // The lock file is named after the start directory.
    EXPECT_NE(instance_lock_name("/games/a"), instance_lock_name("/games/A"));
    EXPECT_EQ(instance_lock_name("").size(), std::string("quillon-0123456789abcdef.lock").size());
}

TEST(InstanceLock, ACopyThatDiedLeavesNoStaleLock) {
    test::TempDir locks;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceLock held;
        const bool ok = held.acquire("/games/a", locks.str()) == InstanceLockResult::Acquired;
        _exit(ok ? 0 : 1);  // dies holding the lock, no release
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    InstanceLock again;
    EXPECT_EQ(again.acquire("/games/a", locks.str()), InstanceLockResult::Acquired);
}

}  // namespace
}  // namespace qln
