#include "platform/worker_thread.h"

#include <windows.h>

#include "platform/os_error.h"
#include "platform/scoped_handle_win.h"

namespace vt::platform {

struct WorkerThread::Native {
  ScopedHandle thread;
};

namespace {

DWORD WINAPI runBody(LPVOID parameter) {
  (*static_cast<std::function<void()>*>(parameter))();
  return 0;
}

int winPriority(ThreadPriority priority) {
  switch (priority) {
  case ThreadPriority::Highest: return THREAD_PRIORITY_HIGHEST;
  case ThreadPriority::TimeCritical: return THREAD_PRIORITY_TIME_CRITICAL;
  case ThreadPriority::Normal: break;
  }
  return THREAD_PRIORITY_NORMAL;
}

} // namespace

WorkerThread::WorkerThread(std::function<void()> body) : body_(std::move(body)) {}

WorkerThread::~WorkerThread() { waitFor(); }

void WorkerThread::start(ThreadPriority priority) {
  if (native_) return;
  auto native = std::make_unique<Native>();
  native->thread = ScopedHandle(CreateThread(nullptr, 0, runBody, &body_, CREATE_SUSPENDED, nullptr));
  if (!native->thread) throw OsError::last();
  SetThreadPriority(native->thread.get(), winPriority(priority));
  native_ = std::move(native);
  ResumeThread(native_->thread.get());
}

void WorkerThread::waitFor() {
  if (native_ && native_->thread) {
    WaitForSingleObject(native_->thread.get(), INFINITE);
    native_->thread.close();
  }
}

bool WorkerThread::started() const { return native_ != nullptr; }

} // namespace vt::platform
