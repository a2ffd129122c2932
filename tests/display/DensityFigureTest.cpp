// The analysis window's density plot without widgets: axes that hold a measurement and
// its reference, the band's columns, the frequency under the mouse and what it reads,
// and the band a drag selects.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "display/DensityFigure.h"

namespace {

constexpr int kWidth = 700;
constexpr int kHeight = 400;

TEST(DensityFigure, TheAxesHoldEveryCurveShown) {
  const std::vector<double> fast(1024, 20e-9);  // 1 … 1023 Hz
  const std::vector<double> slow(64, 3e-6);     // 0.01 … 0.63 Hz
  const std::vector<double> none;
  struct Row {
    const char* why;
    std::vector<DensityCurve> curves;
    bool shown;
    DecadeAxis freq, level;
  } rows[] = {
      {"the measurement alone", {{fast, 1.0}, {none, 0.0}}, true, {0, 4}, {-8, -7}},
      {"the reference alone", {{none, 0.0}, {slow, 0.01}}, true, {-2, 0}, {-6, -5}},
      {"both: the lower lines of the one, the higher of the other",
       {{fast, 1.0}, {slow, 0.01}},
       true,
       {-2, 4},
       {-8, -5}},
      {"a curve of one line (DC alone) adds nothing",
       {{fast, 1.0}, {std::vector<double>(1, 1.0), 1.0}},
       true,
       {0, 4},
       {-8, -7}},
      {"nothing to draw", {{none, 0.0}, {none, 0.0}}, false, {}, {}},
  };
  for (const Row& r : rows) {
    const auto plot = DensityPlot::OfCurves(r.curves, kWidth, kHeight);
    ASSERT_EQ(plot.has_value(), r.shown) << r.why;
    if (!plot) continue;
    EXPECT_EQ(plot->Freq().low, r.freq.low) << r.why;
    EXPECT_EQ(plot->Freq().high, r.freq.high) << r.why;
    EXPECT_EQ(plot->Density().low, r.level.low) << r.why;
    EXPECT_EQ(plot->Density().high, r.level.high) << r.why;
  }
  EXPECT_FALSE(DensityFigurePlot({}).has_value());
}

TEST(DensityFigure, TheFrequencyUnderTheMouseAndTheBandsColumns) {
  const std::vector<double> density(10000, 1e-8);  // 0.1 … 999.9 Hz: four decades, 175 pixels each
  const auto plot = DensityPlot::Of(density, 0.1, kWidth, kHeight);
  ASSERT_TRUE(plot);
  for (const int x : {0, 1, 174, 175, 350, 699}) {
    EXPECT_EQ(plot->X(plot->FreqAt(x) * (1 + 1e-12)), x) << "FreqAt undoes X at column " << x;
  }
  EXPECT_DOUBLE_EQ(plot->FreqAt(175), 1.0);
  EXPECT_DOUBLE_EQ(plot->FreqAt(kWidth), 1000.0);

  struct Row {
    const char* why;
    double f1, f2;
    std::optional<PixelSpan> span;
  } rows[] = {
      {"0.1 to 10 Hz on decade lines", 1.0, 10.0, PixelSpan{175, 350}},
      {"cut at the low end", 0.01, 1.0, PixelSpan{0, 175}},
      {"cut at the high end", 100.0, 1e6, PixelSpan{525, kWidth}},
      {"wholly below", 0.001, 0.1, std::nullopt},
      {"wholly above", 1000.0, 2000.0, std::nullopt},
      {"reversed", 10.0, 1.0, std::nullopt},
      {"not positive", 0.0, 1.0, std::nullopt},
  };
  for (const Row& r : rows) {
    const auto span = plot->Band(r.f1, r.f2);
    ASSERT_EQ(span.has_value(), r.span.has_value()) << r.why;
    if (!span) continue;
    EXPECT_EQ(span->from, r.span->from) << r.why;
    EXPECT_EQ(span->to, r.span->to) << r.why;
  }
}

TEST(DensityFigure, TheLineNearestOnTheLogAxisAndItsReading) {
  const std::vector<double> density{9.0, 1e-6, 2e-6, 3e-6, 4e-6};  // lines at 1, 2, 3, 4 Hz
  const DensityCurve curve{density, 1.0};
  struct Row {
    double f;
    std::optional<std::size_t> line;
  } rows[] = {
      {0.2, 1},   // below the first line: the first
      {1.41, 1},  // the geometric mean √2 divides lines 1 and 2
      {1.42, 2},
      {3.46, 3},  // √12 ≈ 3.464 divides 3 and 4, not their arithmetic mean
      {3.48, 4},
      {50.0, 4},  // above the last: the last
      {0.0, std::nullopt},
  };
  for (const Row& r : rows) EXPECT_EQ(LineNearest(curve, r.f), r.line) << r.f;
  EXPECT_EQ(LineNearest({{}, 1.0}, 1.0), std::nullopt);

  const std::vector<double> reference{0.0, 5e-9, 6e-9};
  const DensityFigure figure{curve, {reference, 2.0}, std::nullopt, "cur", "ref"};
  EXPECT_EQ(DensityReadout(figure, 2.1), "2.100 Hz  cur 2.000 µV/√Hz  ref 5.000 nV/√Hz");
  EXPECT_EQ(DensityReadout({curve, {}, std::nullopt, "cur", "ref"}, 12.345), "12.35 Hz  cur 4.000 µV/√Hz")
      << "no reference, no reading of it";
}

TEST(DensityFigure, ADragSelectsTheBandItCrossesInsideTheRange) {
  const std::vector<double> density(10000, 1e-8);
  const auto plot = DensityPlot::Of(density, 0.1, kWidth, kHeight);
  ASSERT_TRUE(plot);
  const FrequencyRange range{0.1, 999.9};
  struct Row {
    const char* why;
    int x0, x1;
    std::optional<FrequencyBand> band;
  } rows[] = {
      {"left to right, on decade lines", 175, 350, FrequencyBand{1.0, 10.0}},
      {"right to left gives the same band", 350, 175, FrequencyBand{1.0, 10.0}},
      {"three significant digits", 200, 300, FrequencyBand{1.39, 5.18}},
      {"cut to the range at the top", 600, kWidth + 50, FrequencyBand{268.0, 999.9}},
      {"a click selects nothing", 300, 302, std::nullopt},
  };
  for (const Row& r : rows) {
    const auto band = BandOfDrag(*plot, r.x0, r.x1, range);
    ASSERT_EQ(band.has_value(), r.band.has_value()) << r.why;
    if (!band) continue;
    EXPECT_NEAR(band->f1, r.band->f1, 1e-9) << r.why;
    EXPECT_NEAR(band->f2, r.band->f2, 1e-9) << r.why;
  }
  EXPECT_FALSE(BandOfDrag(*plot, 0, 100, {5.0, 999.9})) << "wholly below the range";
}

}  // namespace
