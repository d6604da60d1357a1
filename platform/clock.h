#pragma once
// Wall-clock time and fixed pauses. Every pause of the system goes through a
// Clock so tests run without waiting and can check the pauses asked for.
#include <chrono>
#include <functional>
#include <mutex>
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
  // Time that only moves forward, for the bounds of waits (Deadline).
  virtual std::chrono::milliseconds steadyTime() const;
  // Between two tests of a polling loop: lets the programs being waited for
  // act. Real time passes here even when the pauses are off.
  virtual void yieldBriefly() {}
};

// The real clock: local time of the machine, pauses that block the thread.
// With pauses disabled (a test build of the executable) pause returns at once.
class SystemClock final : public Clock {
public:
  explicit SystemClock(bool pausesEnabled = true) : pausesEnabled_(pausesEnabled) {}
  LocalTime now() const override;
  void pause(std::chrono::milliseconds duration) override;
  // 100 ms with the pauses off, 10 ms with them on (the pause itself has waited).
  void yieldBriefly() override;

private:
  bool pausesEnabled_;
};

// A clock for tests: time stands still unless advanced, and pauses are
// recorded (and advance the time) instead of blocking. An optional hook runs
// at each pause so a test can change the world "while" the program waits.
// Its steady time is the time paused so far. A worker thread of the service
// modules may use it beside the test's thread: the time and the pauses are
// guarded (the hooks run outside the guard).
class ManualClock final : public Clock {
public:
  explicit ManualClock(LocalTime start = {2026, 12, 10, 9, 30, 0, 0, 5}) : time_(start) {}
  LocalTime now() const override;
  void pause(std::chrono::milliseconds duration) override;
  std::chrono::milliseconds steadyTime() const override { return totalPaused(); }
  void yieldBriefly() override;
  void set(LocalTime t);
  // A copy: the list may grow on another thread.
  std::vector<std::chrono::milliseconds> pauses() const;
  std::chrono::milliseconds totalPaused() const;
  int yields() const;
  std::function<void(int pauseIndex)> onPause;
  std::function<void()> onYield;

private:
  mutable std::mutex mutex_;
  LocalTime time_;
  std::vector<std::chrono::milliseconds> pauses_;
  std::chrono::milliseconds paused_{0};
  int yields_ = 0;
};

// The end of a bounded wait. It has passed once `bound` has gone by on the
// clock or in real time, whichever comes first: a wait ends in time whatever
// its pauses do (a build without pauses, a test clock that never moves).
class Deadline {
public:
  Deadline(const Clock& clock, std::chrono::milliseconds bound);
  bool passed() const;

private:
  const Clock& clock_;
  std::chrono::milliseconds bound_;
  std::chrono::milliseconds clockStart_;
  std::chrono::steady_clock::time_point realStart_;
};

// Adds whole milliseconds to a local time, carrying into days (proleptic
// Gregorian calendar); used by ManualClock and handy in tests.
LocalTime addMilliseconds(LocalTime t, long long ms);

// Days from 1 January 1970 for a civil date, and back (proleptic Gregorian
// calendar, any year; month 1-12, day 1-31).
long long daysFromCivil(long long y, unsigned m, unsigned d);
void civilFromDays(long long z, int& y, int& m, int& d);

} // namespace vt::platform
