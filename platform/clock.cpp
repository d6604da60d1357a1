#include "platform/clock.h"

#include <ctime>
#include <thread>

namespace vt::platform {

// Howard Hinnant's algorithms.
long long daysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long yy = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}

LocalTime SystemClock::now() const {
  auto tp = std::chrono::system_clock::now();
  std::time_t secs = std::chrono::system_clock::to_time_t(tp);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &secs);
#else
  localtime_r(&secs, &tm);
#endif
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(tp.time_since_epoch()).count() % 1000;
  return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                   static_cast<int>(ms), tm.tm_wday + 1};
}

std::chrono::milliseconds Clock::steadyTime() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

void SystemClock::pause(std::chrono::milliseconds duration) {
  if (pausesEnabled_ && duration.count() > 0) std::this_thread::sleep_for(duration);
}

void SystemClock::yieldBriefly() {
  using namespace std::chrono_literals;
  std::this_thread::sleep_for(pausesEnabled_ ? 10ms : 100ms);
}

LocalTime ManualClock::now() const {
  std::lock_guard lock(mutex_);
  return time_;
}

void ManualClock::set(LocalTime t) {
  std::lock_guard lock(mutex_);
  time_ = t;
}

void ManualClock::pause(std::chrono::milliseconds duration) {
  int index = 0;
  {
    std::lock_guard lock(mutex_);
    pauses_.push_back(duration);
    paused_ += duration;
    time_ = addMilliseconds(time_, duration.count());
    index = static_cast<int>(pauses_.size()) - 1;
  }
  if (onPause) onPause(index);
}

void ManualClock::yieldBriefly() {
  {
    std::lock_guard lock(mutex_);
    ++yields_;
  }
  if (onYield) onYield();
}

std::vector<std::chrono::milliseconds> ManualClock::pauses() const {
  std::lock_guard lock(mutex_);
  return pauses_;
}

std::chrono::milliseconds ManualClock::totalPaused() const {
  std::lock_guard lock(mutex_);
  return paused_;
}

int ManualClock::yields() const {
  std::lock_guard lock(mutex_);
  return yields_;
}

Deadline::Deadline(const Clock& clock, std::chrono::milliseconds bound)
    : clock_(clock), bound_(bound), clockStart_(clock.steadyTime()), realStart_(std::chrono::steady_clock::now()) {}

bool Deadline::passed() const {
  if (clock_.steadyTime() - clockStart_ >= bound_) return true;
  return std::chrono::steady_clock::now() - realStart_ >= bound_;
}

LocalTime addMilliseconds(LocalTime t, long long ms) {
  long long days = daysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day));
  long long msOfDay = ((t.hour * 60LL + t.minute) * 60 + t.second) * 1000 + t.millisecond + ms;
  const long long msPerDay = 86400000LL;
  long long carry = msOfDay >= 0 ? msOfDay / msPerDay : -((-msOfDay + msPerDay - 1) / msPerDay);
  msOfDay -= carry * msPerDay;
  days += carry;
  LocalTime r;
  civilFromDays(days, r.year, r.month, r.day);
  r.millisecond = static_cast<int>(msOfDay % 1000);
  r.second = static_cast<int>((msOfDay / 1000) % 60);
  r.minute = static_cast<int>((msOfDay / 60000) % 60);
  r.hour = static_cast<int>(msOfDay / 3600000);
  // 1970-01-01 was a Thursday (5 with Sunday = 1).
  r.dayOfWeek = static_cast<int>(((days % 7) + 7 + 4) % 7) + 1;
  return r;
}

} // namespace vt::platform
