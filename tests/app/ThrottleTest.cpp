#include <gtest/gtest.h>

#include "app/Throttle.h"

namespace {

using std::chrono::milliseconds;

TEST(ThrottleTest, OncePerPeriodOnTheClockGiven) {
  std::chrono::steady_clock::time_point now{};
  Throttle throttle(milliseconds(250), [&] { return now; });
  EXPECT_TRUE(throttle.Due()) << "the first call goes through";
  EXPECT_FALSE(throttle.Due()) << "at once again";
  now += milliseconds(249);
  EXPECT_FALSE(throttle.Due()) << "a millisecond early";
  now += milliseconds(1);
  EXPECT_TRUE(throttle.Due()) << "a whole period after the last one let through";
  now += milliseconds(200);
  EXPECT_FALSE(throttle.Due()) << "the period counts from the last call let through, not the last call";
  now += milliseconds(50);
  EXPECT_TRUE(throttle.Due());
  now += milliseconds(10);
  throttle.Reset();
  EXPECT_TRUE(throttle.Due()) << "a new run starts at once";
  EXPECT_FALSE(throttle.Due());
}

}  // namespace
