// The noise-density picture's geometry: axes in whole decades, the readable unit, the
// mapping, the grid and the labels kept inside the picture.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "display/DensityPlot.h"

namespace {

constexpr int kWidth = 700;
constexpr int kHeight = 400;

TEST(DensityPlot, AxesSpanWholeDecadesInAReadableUnit) {
  struct Row {
    const char* why;
    std::vector<double> density;  // line 0 first, never looked at
    double deltaF;
    DecadeAxis freq, level;
    const char* unit;
  };
  const std::vector<Row> rows = {
      {"white noise at 20 nV/√Hz, 65536 samples at 4800 per second",
       std::vector<double>(32768, 20.4e-9),
       4800.0 / 65536,
       {-2, 4},
       {-8, -7},
       "nV/√Hz"},
      {"values on decades stay on them", {5.0, 1e-6, 1e-7, 1e-8}, 1.0, {0, 1}, {-8, -6}, "nV/√Hz"},
      {"at most six decades below the largest; a huge DC line is not drawn",
       {1.0, 1e-3, 1e-12, 1e-5},
       10.0,
       {1, 2},
       {-9, -3},
       "nV/√Hz"},
      {"a microvolt floor", {0.0, 3e-6, 5e-5}, 0.5, {-1, 0}, {-6, -4}, "µV/√Hz"},
      {"below a picovolt the smallest unit", {0.0, 2e-14, 3e-13}, 1.0, {0, 1}, {-14, -12}, "pV/√Hz"},
  };
  for (const Row& row : rows) {
    const auto plot = DensityPlot::Of(row.density, row.deltaF, kWidth, kHeight);
    ASSERT_TRUE(plot) << row.why;
    EXPECT_EQ(plot->Freq().low, row.freq.low) << row.why;
    EXPECT_EQ(plot->Freq().high, row.freq.high) << row.why;
    EXPECT_EQ(plot->Density().low, row.level.low) << row.why;
    EXPECT_EQ(plot->Density().high, row.level.high) << row.why;
    EXPECT_STREQ(plot->Unit().text, row.unit) << row.why;
  }
  EXPECT_FALSE(DensityPlot::Of(std::vector<double>{1.0, 0.0, 0.0}, 1.0, kWidth, kHeight)) << "nothing above DC";
  EXPECT_FALSE(DensityPlot::Of(std::vector<double>{0.0, 1e-9}, 0.0, kWidth, kHeight)) << "no frequency step";
}

TEST(DensityPlot, MapsGridsAndLabelsTheDecades) {
  std::vector<double> density(32768, 20e-9);
  density[1] = 2e-6;  // the axis runs from 10 nV to 10 µV
  const auto plot = DensityPlot::Of(density, 4800.0 / 65536, kWidth, kHeight);
  ASSERT_TRUE(plot);
  EXPECT_EQ(plot->X(0.01), 0);
  EXPECT_EQ(plot->X(1.0), kWidth / 3);
  EXPECT_EQ(plot->Y(1e-5), 0);
  EXPECT_EQ(plot->Y(1e-7), kHeight * 2 / 3);
  EXPECT_EQ(plot->Y(0.0), kHeight) << "nothing to show sits on the bottom";

  const auto freqLines = plot->FreqLines();
  EXPECT_EQ(freqLines.size(), 6U * 9U - 1U) << "2 … 9 × 0.01 Hz, then 1 … 9 × each decade up to 1 kHz";
  EXPECT_TRUE(freqLines[8].main);
  EXPECT_EQ(freqLines[8].pos, plot->X(0.1));
  EXPECT_FALSE(freqLines[9].main);

  std::vector<std::string> texts;
  for (const auto& label : plot->FreqLabels()) texts.push_back(label.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"0.01Hz", "0.1Hz", "1Hz", "10Hz", "100Hz", "1kHz", "10kHz"}));
  texts.clear();
  for (const auto& label : plot->DensityLabels()) texts.push_back(label.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"10", "100", "1000", "10000"}));
  EXPECT_EQ(plot->DensityLabels().front().pos, kHeight);

  const auto curve = plot->Curve(density, 4800.0 / 65536);
  ASSERT_EQ(curve.size(), density.size() - 1);
  EXPECT_EQ(curve[1].y, plot->Y(20e-9));
}

TEST(DensityPlot, LabelsStayInsideThePicture) {
  const BoxRect box = DensityPlotBox();
  const LabelSize wide{60, 12};
  const LabelPlace last = PlaceDensityFreqLabel(box, box.width - 2, wide);
  EXPECT_EQ(last.left, kDensityPictureWidth - wide.width) << "the last frequency label moves in from the right edge";
  EXPECT_EQ(last.top, box.top + box.height + 5);
  const LabelPlace top = PlaceDensityLevelLabel(box, 0, {200, 12});
  EXPECT_EQ(top.left, 0) << "a label wider than the margin starts at the left edge";
  const LabelPlace unit = PlaceDensityUnitLabel(box, {50, 12});
  EXPECT_GE(unit.top, 0);
  EXPECT_LE(unit.top + 12, box.top) << "the unit stands above the box";
}

}  // namespace
