#include "platform/worker_thread.h"

#include <system_error>
#include <thread>

#include "platform/os_error.h"

namespace vt::platform {

struct WorkerThread::Native {
  std::thread thread;
};

WorkerThread::WorkerThread(std::function<void()> body) : body_(std::move(body)) {}

WorkerThread::~WorkerThread() { waitFor(); }

void WorkerThread::start(ThreadPriority) {
  if (native_) return;
  try {
    auto native = std::make_unique<Native>();
    native->thread = std::thread(body_);
    native_ = std::move(native);
  } catch (const std::system_error& e) {
    throw OsError(e.code().value(), e.what());
  }
}

void WorkerThread::waitFor() {
  if (native_ && native_->thread.joinable()) native_->thread.join();
}

bool WorkerThread::started() const { return native_ != nullptr; }

} // namespace vt::platform
