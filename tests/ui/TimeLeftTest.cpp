#include <gtest/gtest.h>

#include "ui/TimeLeft.h"

namespace {

using std::chrono::milliseconds;

TEST(TimeLeftTest, ClockTexts) {
  const struct {
    double seconds;
    const char* clock;
    const char* shortClock;
  } rows[] = {
      {0.0, "0:00:00", "0:00"},       {-3.0, "0:00:00", "0:00"},  // an estimate never goes below zero
      {8.2, "0:00:09", "0:09"},                                   // rounded up: never "0:00" while samples are due
      {59.5, "0:01:00", "1:00"},                                  // rounding carries into the minutes
      {3599.0, "0:59:59", "59:59"},                               // the longest m:ss
      {3599.5, "1:00:00", "1:00:00"},                             // an hour once rounded: h:mm:ss
      {3723.2, "1:02:04", "1:02:04"}, {13107.2, "3:38:28", "3:38:28"},  // 65536 samples at 5 per second
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ClockText(r.seconds), r.clock) << r.seconds;
    EXPECT_EQ(ShortClockText(r.seconds), r.shortClock) << r.seconds;
  }
}

TEST(TimeLeftTest, NominalRateFirstThenTheRateThatArrived) {
  std::chrono::steady_clock::time_point now{};
  const TimeLeftEstimate estimate(1000, 100.0, [&] { return now; });
  EXPECT_DOUBLE_EQ(estimate.SecondsLeft(0), 10.0) << "nothing watched yet: the nominal rate";
  now += milliseconds(500);
  EXPECT_DOUBLE_EQ(estimate.SecondsLeft(10), 9.9) << "watched too briefly to trust 20 per second";
  now += milliseconds(1500);
  EXPECT_DOUBLE_EQ(estimate.SecondsLeft(100), 18.0) << "a trickling unit: 50 per second over 2 s";
  EXPECT_DOUBLE_EQ(estimate.SecondsLeft(1000), 0.0);
  EXPECT_DOUBLE_EQ(TimeLeftEstimate(1000, 0.0, [&] { return now; }).SecondsLeft(0), 0.0) << "no rate known";
}

TEST(TimeLeftTest, PercentDone) {
  const TimeLeftEstimate estimate(65536, 4800.0);
  EXPECT_EQ(estimate.PercentDone(0), 0);
  EXPECT_EQ(estimate.PercentDone(655), 0) << "whole percent, rounded down: 100 % only when all are in";
  EXPECT_EQ(estimate.PercentDone(65535), 99);
  EXPECT_EQ(estimate.PercentDone(65536), 100);
  EXPECT_EQ(estimate.PercentDone(70000), 100);
  EXPECT_EQ(TimeLeftEstimate(0, 5.0).PercentDone(0), 0) << "no total";
}

}  // namespace
