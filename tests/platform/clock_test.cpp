#include <gtest/gtest.h>

#include <thread>

#include "platform/clock.h"

namespace vt::platform {
namespace {

TEST(ManualClock, PausesAreRecordedAndAdvanceTheTimeAcrossMonthAndYearEnds) {
  ManualClock clock({2024, 12, 31, 23, 59, 59, 500, 3});
  clock.pause(std::chrono::milliseconds(600));
  LocalTime t = clock.now();
  EXPECT_EQ(t.year, 2025);
  EXPECT_EQ(t.month, 1);
  EXPECT_EQ(t.day, 1);
  EXPECT_EQ(t.hour, 0);
  EXPECT_EQ(t.second, 0);
  EXPECT_EQ(t.millisecond, 100);
  EXPECT_EQ(t.dayOfWeek, 4);  // Wednesday
  ASSERT_EQ(clock.pauses().size(), 1u);
  EXPECT_EQ(clock.totalPaused().count(), 600);
}

TEST(ManualClock, LeapDayFollowsTheGregorianRules) {
  struct Case { int year; int expectedDay; int expectedMonth; } cases[] = {
      {2024, 29, 2}, {2023, 1, 3}, {1900, 1, 3}, {2000, 29, 2}};
  for (const auto& c : cases) {
    LocalTime t = addMilliseconds({c.year, 2, 28, 12, 0, 0, 0, 1}, 86400000LL);
    EXPECT_EQ(t.day, c.expectedDay) << c.year;
    EXPECT_EQ(t.month, c.expectedMonth) << c.year;
  }
}

TEST(Deadline, PassesWhenTheClockHasMovedByTheBound) {
  using namespace std::chrono_literals;
  ManualClock clock;
  clock.pause(5000ms); // time before the wait does not count
  Deadline deadline(clock, 3000ms);
  clock.pause(2999ms);
  EXPECT_FALSE(deadline.passed());
  clock.pause(1ms);
  EXPECT_TRUE(deadline.passed());
}

TEST(Deadline, PassesInRealTimeWhenThePausesDoNotWait) {
  using namespace std::chrono_literals;
  // A build without pauses: the pauses take no time, the bound still comes.
  SystemClock clock(false);
  Deadline deadline(clock, 50ms);
  EXPECT_FALSE(deadline.passed());
  auto start = std::chrono::steady_clock::now();
  while (!deadline.passed()) {
    clock.pause(1000ms);
    clock.yieldBriefly();
  }
  EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
  // The same holds for a test clock that nobody moves.
  ManualClock still;
  Deadline other(still, 20ms);
  std::this_thread::sleep_for(25ms);
  EXPECT_TRUE(other.passed());
}

TEST(SystemClock, YieldsRealTimeBetweenTestsEvenWithThePausesOff) {
  using namespace std::chrono_literals;
  SystemClock clock(false);
  auto start = std::chrono::steady_clock::now();
  clock.pause(1000ms);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
  clock.yieldBriefly();
  EXPECT_GE(std::chrono::steady_clock::now() - start, 100ms);
}

} // namespace
} // namespace vt::platform
