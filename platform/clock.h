#pragma once
// Wall-clock time and fixed pauses. Every pause of the system goes through a
// Clock so tests run without waiting and can check the pauses asked for.
#include <chrono>
#include <functional>
#include <vector>

namespace vt::platform {

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
  int dayOfWeek = 0; // 1 = Sunday ... 7 = Saturday
};

class Clock {
public:
  virtual ~Clock() = default;
  virtual LocalTime now() const = 0;
  virtual void pause(std::chrono::milliseconds duration) = 0;
};

// The real clock: local time of the machine, pauses that block the thread.
// With pauses disabled (a test build of the executable) pause returns at once.
class SystemClock final : public Clock {
public:
  explicit SystemClock(bool pausesEnabled = true) : pausesEnabled_(pausesEnabled) {}
  LocalTime now() const override;
  void pause(std::chrono::milliseconds duration) override;

private:
  bool pausesEnabled_;
};

// A clock for tests: time stands still unless advanced, and pauses are
// recorded (and advance the time) instead of blocking. An optional hook runs
// at each pause so a test can change the world "while" the program waits.
class ManualClock final : public Clock {
public:
  explicit ManualClock(LocalTime start = {2026, 12, 10, 9, 30, 0, 0, 5}) : time_(start) {}
  LocalTime now() const override { return time_; }
  void pause(std::chrono::milliseconds duration) override;
  void set(LocalTime t) { time_ = t; }
  const std::vector<std::chrono::milliseconds>& pauses() const { return pauses_; }
  std::chrono::milliseconds totalPaused() const;
  std::function<void(int pauseIndex)> onPause;

private:
  LocalTime time_;
  std::vector<std::chrono::milliseconds> pauses_;
};

// Adds whole milliseconds to a local time, carrying into days (proleptic
// Gregorian calendar); used by ManualClock and handy in tests.
LocalTime addMilliseconds(LocalTime t, long long ms);

// Days from 1 January 1970 for a civil date, and back (proleptic Gregorian
// calendar, any year; month 1-12, day 1-31).
long long daysFromCivil(long long y, unsigned m, unsigned d);
void civilFromDays(long long z, int& y, int& m, int& d);

} // namespace vt::platform
