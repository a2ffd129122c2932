// The pictures of the figures' geometry: the histogram's linear axes with their steps,
// bars and Gaussian, and the Allan deviation on the density picture's log–log axes
// with its own names.
#include <gtest/gtest.h>

#include <vector>

#include "display/HistogramPlot.h"

namespace {

constexpr int kWidth = 700;
constexpr int kHeight = 400;

TEST(HistogramPlot, StepsAxesBarsAndGauss) {
  struct Row {
    double span;
    int divisions;
    double step;
  };
  for (const Row& row :
       {Row{7, 8, 1}, Row{9, 8, 2}, Row{33, 8, 5}, Row{17, 10, 2}, Row{999, 10, 100}, Row{0.5, 8, 1}}) {
    EXPECT_EQ(NiceStep(row.span, row.divisions), row.step) << row.span;
  }

  CodeHistogram histogram{.firstCode = 100, .binCodes = 1, .counts = {1, 7, 12, 3}, .gauss = {2.0, 8.0, 9.5, 4.0}};
  const auto plot = HistogramPlot::Of(histogram, kWidth, kHeight);
  ASSERT_TRUE(plot);
  EXPECT_EQ(plot->CountTop(), 12.0) << "the largest count, on a grid line of 2";
  EXPECT_EQ(plot->X(99.5), 0);
  EXPECT_EQ(plot->X(103.5), kWidth);
  EXPECT_EQ(plot->Y(0.0), kHeight);
  EXPECT_EQ(plot->Y(12.0), 0);
  ASSERT_EQ(plot->CountLabels().size(), 7U) << "0, 2, … 12";
  EXPECT_EQ(plot->CountLabels().back().text, "12");
  EXPECT_EQ(plot->CountLines().size(), 5U) << "inside the frame only";
  const auto codes = plot->CodeLabels();
  ASSERT_EQ(codes.size(), 4U);
  EXPECT_EQ(codes.front().text, "100");
  EXPECT_EQ(codes.front().pos, kWidth / 8);
  const auto bars = plot->Bars(histogram);
  ASSERT_EQ(bars.size(), 2 * 4U + 2U);
  EXPECT_EQ(bars[3].y, plot->Y(7.0)) << "the second bar's top";
  EXPECT_EQ(bars[3].x, plot->X(100.5));
  EXPECT_EQ(plot->Gauss(histogram)[2].x, plot->X(102.0)) << "through the bin's centre";
  EXPECT_EQ(plot->Unit(), "samples per code");

  histogram.binCodes = 4;
  EXPECT_EQ(HistogramPlot::Of(histogram, kWidth, kHeight)->Unit(), "samples per 4 codes");
  EXPECT_FALSE(HistogramPlot::Of(CodeHistogram{}, kWidth, kHeight)) << "no bins";
}

TEST(AllanPlot, LogLogAxesInSecondsAndVolts) {
  const std::vector<LogLogValue> curve = {{1.0 / 4800, 3e-6}, {2.0 / 4800, 2.1e-6}, {0.5, 4e-8}, {1.7, 0.0}};
  const auto plot = DensityPlot::OfPoints(curve, kWidth, kHeight, {"s", false, kVoltUnits});
  ASSERT_TRUE(plot);
  EXPECT_EQ(plot->Freq().low, -4);
  EXPECT_EQ(plot->Freq().high, 0) << "a point without a level is not drawn, nor spans the axis";
  EXPECT_EQ(plot->Density().low, -8);
  EXPECT_EQ(plot->Density().high, -5);
  EXPECT_STREQ(plot->Unit().text, "nV");
  const auto labels = plot->FreqLabels();
  EXPECT_EQ(labels.front().text, "0.0001s");
  EXPECT_EQ(labels.back().text, "1s");
  EXPECT_EQ(plot->DensityLabels().back().text, "10000");
  EXPECT_FALSE(DensityPlot::OfPoints(std::vector<LogLogValue>{{1.0, 0.0}}, kWidth, kHeight, {"s", false, kVoltUnits}));
}

}  // namespace
