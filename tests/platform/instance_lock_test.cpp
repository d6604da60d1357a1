// The one-launcher-at-a-time lock: held by one holder at a time on a drive,
// let go by release or by the end of its holder, and (on Linux) private to
// the mapped drive and not passed on to the programs the holder starts.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "platform/instance_lock.h"
#include "tests/support/temp_drive.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/process.h"
#endif

namespace vt::platform {
namespace {

using State = InstanceLock::State;

// Another holder's attempt: a thread of its own, since a Windows mutex is
// owned by a thread (and its owner may take it again).
State attemptElsewhere() {
  return std::async(std::launch::async, [] { return InstanceLock::acquire().state(); }).get();
}

TEST(InstanceLock, OneHolderAtATimeUntilItLetsGo) {
  test::TempDrive drive;
  InstanceLock first = InstanceLock::acquire();
  ASSERT_EQ(first.state(), State::Held);
  EXPECT_EQ(attemptElsewhere(), State::HeldElsewhere);
  EXPECT_EQ(attemptElsewhere(), State::HeldElsewhere) << "a refused attempt leaves the holder's lock alone";

  first.release();
  EXPECT_EQ(first.state(), State::Released);
  first.release();  // harmless a second time
  EXPECT_EQ(attemptElsewhere(), State::Held);

  {
    InstanceLock second = InstanceLock::acquire();
    ASSERT_TRUE(second.held());
    InstanceLock moved = std::move(second);
    EXPECT_TRUE(moved.held());
    EXPECT_FALSE(second.held());
    EXPECT_EQ(attemptElsewhere(), State::HeldElsewhere) << "the lock moves with its holder";
  }
  EXPECT_EQ(attemptElsewhere(), State::Held) << "a holder that goes lets the lock go";
}

#ifndef _WIN32
namespace fs = std::filesystem;

TEST(InstanceLock, BelongsToTheMappedDriveAndLivesInItsVantorimFolder) {
  test::TempDrive one;
  InstanceLock held = InstanceLock::acquire();
  ASSERT_TRUE(held.held());
  EXPECT_TRUE(fs::exists(one.host("C:\\.vantorim\\Vantorim.lock")));
  {
    test::TempDrive other;  // maps C: elsewhere while it lives
    InstanceLock there = InstanceLock::acquire();
    EXPECT_EQ(there.state(), State::Held) << "a launcher on another drive is not refused";
  }
  EXPECT_EQ(attemptElsewhere(), State::HeldElsewhere);
}

TEST(InstanceLock, ADriveWhoseFolderCannotBeMadeLeavesTheLockUnavailable) {
  test::TempDrive drive;
  // A file where the .vantorim folder would be.
  std::ofstream(drive.host("C:\\.vantorim")) << "not a folder";
  EXPECT_EQ(InstanceLock::acquire().state(), State::Unavailable);
}

TEST(InstanceLock, AProgramTheHolderStartedDoesNotKeepItWhenTheHolderEnds) {
  test::TempDrive drive;
  drive.write("C:\\demora.sh", "#!/bin/sh\nsleep 5\n");
  fs::permissions(drive.host("C:\\demora.sh"), fs::perms::owner_all);
  // A holder that starts a program and ends without letting the lock go, as
  // a launcher that crashes after starting the suite.
  pid_t holder = fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    InstanceLock lock = InstanceLock::acquire();
    if (!lock.held()) _exit(2);
    if (shellOpen("C:\\demora.sh", "", kShowHidden) <= 32) _exit(3);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(holder, &status, 0), holder);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(InstanceLock::acquire().state(), State::Held) << "the started program inherited the lock";
}
#endif

} // namespace
} // namespace vt::platform
