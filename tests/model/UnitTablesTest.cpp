#include <gtest/gtest.h>

#include "model/UnitTables.h"

namespace {

TEST(UnitTables, DataRates) {
  EXPECT_EQ(RateText(0), "5sps");
  EXPECT_EQ(RateText(10), "1.2ksps");
  EXPECT_EQ(RateText(12), "4.8ksps");
  EXPECT_EQ(RateText(13), "") << "outside the table";
  EXPECT_EQ(RateText(-1), "");
  EXPECT_EQ(SamplePeriodMs(4), 16.666666F);
  EXPECT_EQ(SamplePeriodMs(12), 0.20833333F);
  EXPECT_EQ(SamplePeriodMs(13), 0.0F);
  const int perRead[] = {1, 1, 1, 1, 1, 1, 2, 4, 8, 8, 8, 16, 32};
  for (int i = 0; i < kRateCount; ++i) EXPECT_EQ(SamplesPerRead(i), perRead[i]) << i;
  EXPECT_EQ(RateIndexOf(4800), 12);
  EXPECT_EQ(RateIndexOf(61), -1);
}

TEST(UnitTables, Gains) {
  const std::int32_t gains[] = {1, 8, 16, 32, 64, 128};
  for (std::uint32_t i = 0; i < kGainCount; ++i) {
    EXPECT_EQ(GainOf(i), gains[i]);
    EXPECT_EQ(GainIndexOf(gains[i]), static_cast<int>(i));
  }
  EXPECT_EQ(GainText(5), "128");
  EXPECT_EQ(GainText(6), "");
  EXPECT_EQ(GainOf(6), 0);
  EXPECT_EQ(GainIndexOf(2), -1);
}

}  // namespace
