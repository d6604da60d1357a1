#pragma once
// A worker thread made suspended, given a priority and then started, as the
// service modules start theirs. Its owner waits for its end: the thread never
// outlives the object that runs it.
#include <functional>
#include <memory>

namespace vt::platform {

enum class ThreadPriority { Normal, Highest, TimeCritical };

class WorkerThread {
public:
  // Made, not running yet.
  explicit WorkerThread(std::function<void()> body);
  ~WorkerThread(); // waits for the thread when it was started
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts the body with that priority. Windows: SetThreadPriority on the
  // suspended thread, then ResumeThread. POSIX: the ordinary scheduler has
  // no priorities of threads an unprivileged process may raise, so every
  // thread runs at the normal one. Throws OsError when no thread is made.
  void start(ThreadPriority priority);
  // Waits for the body to return (at once when never started).
  void waitFor();
  bool started() const;

  struct Native;

private:
  std::function<void()> body_;
  std::unique_ptr<Native> native_;
};

} // namespace vt::platform
