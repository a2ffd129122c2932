#include <gtest/gtest.h>

#include "ui/StatusTexts.h"

namespace {

TEST(FormatMicrovolts, UnitByWholeMicrovolts) {
  const struct {
    double microvolts;
    const char* expected;
  } rows[] = {
      {1234.0, "1.234 mV"}, {-0.25, "-250.000 nV"}, {999.9, "999.900 uV"},  // whole microvolts 999
      {1000.0, "1.000 mV"}, {0.9, "900.000 nV"},    {2500000.0, "2.500 V"}, {0.0, "0.000 nV"}, {-1500.0, "-1.500 mV"},
  };
  for (const auto& r : rows) EXPECT_EQ(FormatMicrovolts(r.microvolts), r.expected) << r.microvolts;
}

TEST(StatusTexts, StatisticsInDigits) {
  EXPECT_EQ(StatsDigitsText(8390000, 8387000, 512.0F),
            "最大値：8390000 / 最小値：8387000 / pp値：3000 digit / 標準偏差：512 digit");
  EXPECT_EQ(StatsDigitsText(2, 1, 99.96F), "最大値：2 / 最小値：1 / pp値：1 digit / 標準偏差：100.0 digit")
      << "below 100 keeps one decimal, even when it rounds up to 100";
  EXPECT_EQ(StatsDigitsText(2, 1, 100.4F), "最大値：2 / 最小値：1 / pp値：1 digit / 標準偏差：100 digit");
}

TEST(StatusTexts, StatisticsInVoltsUseFullWidthSpacesInTheMiddle) {
  EXPECT_EQ(StatsVoltsText(0.5F, -1200.0F, 1300.0F),
            "最大値：1.300 mV　/最小値：-1.200 mV　/p-p値：2.500 mV / 標準偏差：500.000 nV");
}

TEST(StatusTexts, PanelWidthForItsText) {
  const struct {
    int textWidth;
    int panelWidth;
  } rows[] = {{0, 110}, {100, 110}, {101, 111}, {150, 160}, {250, 260}};
  for (const auto& r : rows) EXPECT_EQ(PanelWidthFor(r.textWidth), r.panelWidth) << r.textWidth;
}

TEST(StatusTexts, FixedNotices) {
  EXPECT_EQ(UnitInfoText("QT4418PX", "1.00", "4.8ksps x128, "), "QT4418PX/ 1.00/ 4.8ksps x128, ");
  EXPECT_EQ(NotFoundText("QT4418PX"), "QT4418PXが見つかりませんでした");
  EXPECT_EQ(NoResponseText("QT4418PX"), "QT4418PX応答しませんでした");
  EXPECT_EQ(ProgressText(32, 8388608), "データ番号：32 / AD変換値：8388608");
}

}  // namespace
