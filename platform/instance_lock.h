#pragma once
// One launcher at a time. The running launcher holds this lock for the whole
// of its run, so that a second one started meanwhile (a double click, a
// scheduled task) can tell and end without touching the installation.
//
// Windows: a named mutex of the whole machine ("Global\Quorvelin.Vantorim"):
// every launcher of a terminal shares its C:. The mutex is owned, not merely
// created, so a launcher that is ending and has let it go no longer counts.
// POSIX: an flock'ed file on the mapped drive, C:\.vantorim\Vantorim.lock
// (beside the registry simulation), so launchers on different mapped drives
// (the test suites, the benchmarks) never meet. The file is opened
// close-on-exec: the programs the run starts (the suite, net.exe, an
// uninstaller, a new launcher) do not inherit the lock.
namespace vt::platform {

class InstanceLock {
public:
  enum class State {
    Held,          // this process holds the lock
    HeldElsewhere, // another launcher holds it
    Unavailable,   // the lock could not be made (see acquire)
    Released,      // this process held it and let it go
  };

  // Takes the lock without waiting. A lock that cannot be made at all (the
  // drive's .vantorim folder cannot be created, an unexpected system error)
  // is Unavailable: the caller then runs without it rather than leave the
  // terminal without its launcher over a folder it could not create.
  static InstanceLock acquire();

  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(InstanceLock&& other) noexcept;
  InstanceLock& operator=(InstanceLock&& other) noexcept;
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  State state() const { return state_; }
  bool held() const { return state_ == State::Held; }
  // Lets the lock go now (before the process ends); harmless when not held.
  void release();

private:
  State state_ = State::Unavailable;
  // The mutex handle on Windows, the file descriptor on POSIX.
  long long handle_ = -1;
};

} // namespace vt::platform
