#include "platform/worker_thread.h"

#include <windows.h>

#include "platform/os_error.h"

namespace vt::platform {

struct WorkerThread::Native {
  HANDLE thread = nullptr;
  ~Native() {
    if (thread) CloseHandle(thread);
  }
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
  native->thread = CreateThread(nullptr, 0, runBody, &body_, CREATE_SUSPENDED, nullptr);
  if (!native->thread) throw OsError::last();
  SetThreadPriority(native->thread, winPriority(priority));
  native_ = std::move(native);
  ResumeThread(native_->thread);
}

void WorkerThread::waitFor() {
  if (native_ && native_->thread) {
    WaitForSingleObject(native_->thread, INFINITE);
    CloseHandle(native_->thread);
    native_->thread = nullptr;
  }
}

bool WorkerThread::started() const { return native_ != nullptr; }

} // namespace vt::platform
