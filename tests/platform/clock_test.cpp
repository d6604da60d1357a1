#include <gtest/gtest.h>

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

} // namespace
} // namespace vt::platform
