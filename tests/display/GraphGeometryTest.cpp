#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "display/DisplaySettings.h"
#include "display/GraphGeometry.h"

namespace {

constexpr int kW = 622;
constexpr int kH = 181;

TEST(GraphLayoutTest, SmallestWindowWithAndWithoutWaveform) {
  const GraphLayout both = ArrangeBoxes(820, 512, true);
  EXPECT_EQ(both.wave, (BoxRect{56, 16, 624, 183}));
  EXPECT_EQ(both.spectrum, (BoxRect{56, 183 + 41, 624, 183}));
  const GraphLayout one = ArrangeBoxes(820, 512, false);
  EXPECT_FALSE(one.waveShown);
  EXPECT_EQ(one.spectrum, (BoxRect{56, 16, 624, 392}));
}

TEST(GraphScaleTest, InvalidSettingsGiveNoScale) {
  struct Row {
    FftSetting setting;
    const char* reason;
  };
  const Row rows[] = {
      {Settings(true, 5, 5), "start index equals end index"},
      {Settings(false, 9, 3), "start above end, also on the linear scale"},
      {Settings(true, -1, 14), "start index below the table"},
      {Settings(true, 0, 15), "end index beyond the table"},
      {Settings(true, 0, 14, 10, 10), "no dB division"},
      {Settings(true, 0, 14, 10, 4), "negative dB divisions"},
      {Settings(true, 0, 14, 2, 21), "bottom index beyond the 21 levels"},
      {Settings(true, 0, 14, -3, 10), "top index below the levels"},
  };
  for (const Row& row : rows) EXPECT_FALSE(SpectrumScale::Of(row.setting, kW, kH)) << row.reason;
  EXPECT_FALSE(SpectrumScale::Of(Settings(true, 0, 14), 0, kH)) << "empty bitmap";
  EXPECT_TRUE(SpectrumScale::Of(Settings(true, 0, 14), kW, kH));
}

TEST(GraphScaleTest, DbScaleEndsAndRelativeTop) {
  FftSetting s = Settings(true, 0, 14, 0, 20);
  const auto absolute = SpectrumScale::Of(s, kW, kH);
  ASSERT_TRUE(absolute);
  EXPECT_EQ(absolute->Db().top, 20.0F);
  EXPECT_EQ(absolute->Y(20.0F), 0);
  EXPECT_EQ(absolute->Y(-180.0F), kH);
  s.fAbsoGraph = 0;
  for (const int fileTop : {0, 2, 5}) {
    s.index_dB_max = fileTop;  // a data file may hold any; relative display starts at 0 dB
    const auto relative = SpectrumScale::Of(s, kW, kH);
    ASSERT_TRUE(relative) << fileTop;
    EXPECT_EQ(relative->Db().top, 0.0F) << fileTop;
    EXPECT_EQ(relative->Db().divisions, 18) << "0 … -180 dB: " << fileTop;
    EXPECT_EQ(relative->Y(-180.0F), kH) << "the bottom label's level on the bottom edge: " << fileTop;
  }
}

TEST(GraphScaleTest, FrequencyMappingTruncates) {
  const auto linear = SpectrumScale::Of(Settings(false, 0, 14), kW, kH);
  ASSERT_TRUE(linear);
  EXPECT_EQ(linear->X(0.0F), 0);
  EXPECT_EQ(linear->X(2400.0F), kW);
  EXPECT_EQ(linear->X(1000.0F), 259);  // 259.17
  const auto log = SpectrumScale::Of(Settings(true, 0, 14), kW, kH);
  ASSERT_TRUE(log);
  EXPECT_EQ(log->X(0.1F), 0);
  EXPECT_EQ(log->X(1.0F), 142);  // 622 / log10(24000) = 142.006
}

TEST(GraphGridTest, LinearVerticalLines) {
  const auto at2400 = SpectrumScale::Of(Settings(false, 0, 14), kW, kH);
  const auto lines2400 = SpectrumGridOf(*at2400).vLines;
  EXPECT_EQ(lines2400.size(), 11u) << "every 200 Hz below 2400 Hz";
  EXPECT_EQ(lines2400.front().pos, 51);  // 622 * 200 / 2400 = 51.8
  const auto at10 = SpectrumScale::Of(Settings(false, 0, 6), kW, kH);
  const auto lines10 = SpectrumGridOf(*at10).vLines;
  ASSERT_EQ(lines10.size(), 9u) << "every 1 Hz below 10 Hz";
  for (int i = 0; i < 9; ++i) EXPECT_EQ(lines10[static_cast<std::size_t>(i)].pos, kW * (i + 1) / 10);
  EXPECT_TRUE(std::none_of(lines10.begin(), lines10.end(), [](GridLine l) { return l.main; }));
}

TEST(GraphGridTest, LinearStepByRangeEnd) {
  const std::vector<std::pair<float, float>> rows{{2400, 200}, {1500, 100}, {1000, 100}, {500, 50}, {200, 20},
                                                  {100, 10},   {50, 5},     {20, 2},     {10, 1}};
  for (auto [fmax, step] : rows) EXPECT_EQ(LinearGridStep(fmax), step) << fmax;
}

TEST(GraphGridTest, LogWalkVisitsMantissasOfEachDecade) {
  std::vector<float> seen;
  for (float f = 0.1F; f < 30.0F; f = NextLogGridFreq(f)) seen.push_back(f);
  const std::vector<float> expected{0.1F, 0.15F, 0.2F, 0.3F, 0.4F, 0.5F, 0.6F, 0.7F, 0.8F,  0.9F,  1.0F, 1.5F,
                                    2.0F, 3.0F,  4.0F, 5.0F, 6.0F, 7.0F, 8.0F, 9.0F, 10.0F, 15.0F, 20.0F};
  ASSERT_EQ(seen.size(), expected.size());
  for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_NEAR(seen[i], expected[i], expected[i] * 1e-5F) << i;
}

TEST(GraphGridTest, LogLinesFromTenthToTwentyFourHundred) {
  const auto scale = SpectrumScale::Of(Settings(true, 0, 14), kW, kH);
  const auto lines = SpectrumGridOf(*scale).vLines;
  // 0.15 … 0.9 (9), 1 … 9, 10 … 90, 100 … 900 (10 each), 1000, 1500, 2000 (3).
  ASSERT_EQ(lines.size(), 42u);
  std::vector<int> mains;
  for (const GridLine& line : lines)
    if (line.main) mains.push_back(line.pos);
  EXPECT_EQ(mains, (std::vector<int>{scale->X(1.0F), scale->X(10.0F), scale->X(100.0F), scale->X(1000.0F)}));
  EXPECT_GT(lines.front().pos, 0) << "no line at the start";
  EXPECT_EQ(lines.front().pos, scale->X(0.15F));
  EXPECT_LT(lines.back().pos, kW) << "no line at the end";
  EXPECT_EQ(lines.back().pos, scale->X(2000.0F));
}

TEST(GraphGridTest, HorizontalLineCountsPerDivisions) {
  struct Row {
    int divisions;
    std::size_t log;
    std::size_t linear;
  };
  const Row rows[] = {{1, 9, 0}, {2, 7, 1}, {3, 5, 2}, {4, 3, 3}, {8, 7, 7}};
  for (const Row& row : rows) {
    const auto log = SpectrumScale::Of(Settings(true, 0, 14, 2, 2 + row.divisions), kW, kH);
    const auto linear = SpectrumScale::Of(Settings(false, 0, 14, 2, 2 + row.divisions), kW, kH);
    EXPECT_EQ(SpectrumGridOf(*log).hLines.size(), row.log) << row.divisions;
    EXPECT_EQ(SpectrumGridOf(*linear).hLines.size(), row.linear) << row.divisions;
  }
  EXPECT_EQ(DbLineYs(181, 4), (std::vector<int>{45, 90, 135}));
}

TEST(GraphGridTest, WaveformGrid) {
  const auto lines = WaveAmplitudeLines(kH);
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines.front(), (GridLine{90, true}));
  std::vector<int> mains;
  for (std::size_t i = 1; i < lines.size(); ++i)
    if (lines[i].main) mains.push_back(lines[i].pos);
  EXPECT_EQ(mains, (std::vector<int>{30, 150})) << "one and five sixths of 181: 90.5 -/+ 5 * 12.067";
  const auto xs = WaveTimeLineXs(kW, 213.33F);
  ASSERT_EQ(xs.size(), 19u);
  EXPECT_EQ(xs.front(), 31);
  EXPECT_EQ(xs[9], 311);
  EXPECT_TRUE(WaveTimeLineXs(kW, 0.0F).empty()) << "unknown rate: no time lines, no division by zero";
}

TEST(GraphGridTest, TimeLinesAtTheirShareOfTheSpan) {
  // 1024 samples at 1.2 ksps in a bitmap 624 wide: the time i * span / 20 is formed
  // before it is divided by the span, so the quarter lines land on whole pixels.
  const float span = (1000.0F / 1200.0F) * 1024.0F;
  const auto xs = WaveTimeLineXs(624, span);
  ASSERT_EQ(xs.size(), 19u);
  EXPECT_EQ(xs[4], 156) << "a quarter of the width";
  EXPECT_EQ(xs[9], 312) << "half the width";
  EXPECT_EQ(xs[14], 468) << "three quarters of the width";
}

TEST(SpectrumBinsTest, LinearRange) {
  EXPECT_EQ(LinearBinRange(10.0F, 0.5F, 32768), (BinRange{1, 20}));
  EXPECT_EQ(LinearBinRange(2400.0F, 4.6875F, 512), (BinRange{1, 511})) << "limited to the last bin";
  EXPECT_FALSE(LinearBinRange(10.0F, 0.0F, 512)) << "a zero step draws nothing";
  EXPECT_FALSE(LinearBinRange(10.0F, std::numeric_limits<float>::quiet_NaN(), 512));
  EXPECT_FALSE(LinearBinRange(10.0F, 0.5F, 0));
}

TEST(SpectrumBinsTest, LogRangeStartsOneBinBelowTheEdge) {
  EXPECT_EQ(LogBinRange({1.0F, 10.0F}, 0.3F, 1000), (BinRange{3, 34})) << "0.9 Hz, then 34 * 0.3 = 10.2";
  EXPECT_EQ(LogBinRange({0.1F, 2400.0F}, 4.6875F, 512), (BinRange{1, 511})) << "no bin below bin 1";
  EXPECT_EQ(LogBinRange({0.1F, 2400.0F}, 0.5F, 1024).value().last, 1023) << "search stops at the last bin";
}

TEST(SpectrumDbTest, RelativeAndAbsoluteLevels) {
  const float bottom = -80.0F;
  const float t = DbThreshold(bottom);
  EXPECT_EQ(DisplayDb(0.25F, bottom, t, false, 0.25F), 0.0F) << "highest bin at 0 dB";
  EXPECT_EQ(DisplayDb(t, bottom, t, false, 1.0F), bottom) << "exactly the threshold sits on the bottom";
  const float absBottom = -120.0F;
  const float absT = DbThreshold(absBottom);
  EXPECT_EQ(DisplayDb(1e-6F, absBottom, absT, true, 0.0F), absBottom);
  EXPECT_NEAR(DisplayDb(2e-6F, absBottom, absT, true, 0.0F), -113.98F, 0.01F);
  EXPECT_EQ(DisplayDb(0.0F, absBottom, absT, true, 0.0F), absBottom);
  EXPECT_EQ(DisplayDb(std::numeric_limits<float>::quiet_NaN(), absBottom, absT, true, 0.0F), absBottom);

  const float amplitude[] = {5.0F, 0.5F, 0.0F, 0.05F};
  float out[4] = {};
  ConvertToDisplayDb(amplitude, 4, bottom, false, LargestAmplitude(amplitude, 4), out);
  EXPECT_EQ(out[0], bottom) << "DC entry";
  EXPECT_EQ(out[1], 0.0F);
  EXPECT_EQ(out[2], bottom);
  EXPECT_NEAR(out[3], -20.0F, 1e-4F);
  EXPECT_EQ(LargestAmplitude(amplitude, 4), 0.5F) << "the DC line does not count";
}

struct Record {
  std::vector<std::int32_t> codes;
  std::vector<float> volts;
  MeasureData data;
  Record(std::vector<std::int32_t> c, std::vector<float> v) : codes(std::move(c)), volts(std::move(v)) {
    data.ad_dnum = static_cast<std::int32_t>(codes.size());
    data.adCode = codes.data();
    data.volt = volts.data();
    data.voltMax = *std::max_element(volts.begin(), volts.end());
    data.voltMin = *std::min_element(volts.begin(), volts.end());
    double sum = 0;
    for (float v : volts) sum += v;
    data.voltMean = static_cast<float>(sum / static_cast<double>(volts.size()));
  }
};

TEST(WaveScaleTest, RangeFillsMiddleTwoThirds) {
  const WaveScale scale = WaveScaleOf(VoltRange{0.4F, -0.2F});
  EXPECT_NEAR(scale.span, 0.9F, 1e-6F);
  EXPECT_NEAR(scale.bottom, -0.35F, 1e-6F);
  EXPECT_EQ(scale.Y(0.4F, 0.0F, 600), 100) << "one sixth";
  EXPECT_EQ(scale.Y(-0.2F, 0.0F, 600), 500) << "five sixths";
  const WaveScale flat = WaveScaleOf(VoltRange{0.3F, 0.3F});
  EXPECT_EQ(flat.span, 0.0F);
  EXPECT_EQ(flat.Y(0.3F, 0.0F, 181), 90) << "zero span: half height";
}

TEST(WaveScaleTest, DcCutAndCodeRanges) {
  Record r({8388600, 8388700, 8388650}, {0.99F, 1.01F, 1.0F});
  const VoltRange cut = VoltRangeOf(r.data, true);
  EXPECT_NEAR(cut.max, 0.01F, 1e-5F);
  EXPECT_NEAR(cut.min, -0.01F, 1e-5F);
  const CodeRange codes = CodeRangeOf(r.data);
  EXPECT_EQ(codes.max, 8388700);
  EXPECT_EQ(codes.min, 8388600);
  const MeasureData empty;
  EXPECT_EQ(CodeRangeOf(empty).max, kNoDataCodeMax);
  EXPECT_EQ(VoltRangeOf(empty, false).min, kNoDataVoltMin);
  Record other({100, 200}, {-2.0F, 0.5F});
  EXPECT_EQ(JointCodeRange(r.data, other.data).min, 100);
  EXPECT_EQ(JointCodeRange(r.data, empty).min, 8388600) << "an empty record takes no part";
  EXPECT_EQ(JointVoltRange(r.data, other.data, false).min, -2.0F);
  const CodeRange wild{std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()};
  EXPECT_GT(WaveScaleOf(wild).span, 0.0F) << "no integer overflow with codes from a damaged file";
}

TEST(WaveScaleTest, CodesInMicrovolts) {
  EXPECT_EQ(CodeToMicrovolt(8388608, 1), 0.0);
  EXPECT_NEAR(CodeToMicrovolt(8388609, 1), 0.298, 0.001);
  EXPECT_NEAR(CodeSpanToMicrovolt(1, 128), 0.00233, 0.00001);
  EXPECT_EQ(CodeSpanToMicrovolt(100, 0), 0.0) << "gain outside the table";
}

TEST(GraphScaleTest, PixelTruncationIsSafe) {
  EXPECT_EQ(TruncToPixel(12.9), 12);
  EXPECT_EQ(TruncToPixel(-0.9), 0);
  EXPECT_EQ(TruncToPixel(std::numeric_limits<double>::infinity()), 1 << 20);
  EXPECT_EQ(TruncToPixel(std::nan("")), -(1 << 20));
}

}  // namespace
