#include <gtest/gtest.h>

#include <vector>

#include "display/PeakReadout.h"

namespace {

TEST(PeakReadoutTest, AmplitudeUnits) {
  struct Row {
    float volts;
    AmplitudeText expected;
  };
  const Row rows[] = {
      {1.0F, {"1.000", "Vrms"}},         {2.5F, {"2.500", "Vrms"}},
      {0.000999F, {"999.000", "uVrms"}}, {0.0015F, {"1.500", "mVrms"}},
      {2e-6F, {"2.000", "uVrms"}},       {1e-6F, {"1000.000", "nVrms"}} /* float just below 1e-6 */,
      {5e-10F, {"0.500", "nVrms"}},      {0.0F, {"0.000", "nVrms"}},
  };
  for (const Row& row : rows) EXPECT_EQ(FormatAmplitude(row.volts), row.expected) << row.volts;
}

struct Spectrum {
  std::vector<float> lines;
  MeasureData data;
  explicit Spectrum(std::vector<float> l, float step = 0.5F) : lines(std::move(l)) {
    data.ad_dnum = static_cast<std::int32_t>(2 * lines.size());
    data.spectrum = lines.data();
    data.deltaF = step;
  }
};

TEST(PeakReadoutTest, PeakSearch) {
  EXPECT_EQ(FindPeakBin(Spectrum({9, 1, 3, 3, 2}).data), 2) << "DC excluded; tie keeps the lower bin";
  EXPECT_EQ(FindPeakBin(Spectrum({0, 0, 0, 0}).data), 1) << "all zero";
  EXPECT_EQ(FindPeakBin(MeasureData{}), 1) << "no data";
}

TEST(PeakReadoutTest, BinTexts) {
  Spectrum s({1, 0.05F, 0.5F, 0.001F});
  EXPECT_EQ(PeakTextsOf(s.data, 2, -6.02F), (PeakTexts{"500.000", "-6.02", "1.000", "mVrms"}));
  for (int bin : {-1, 0, 4, 100000}) {
    EXPECT_EQ(PeakTextsOf(s.data, bin, 0.0F), (PeakTexts{"---", "---", "---", ""})) << bin;
  }
  FftSetting relative;
  relative.fAbsoGraph = 0;
  EXPECT_EQ(PeakTextsOf(s.data, 2, relative).dB, "0.00") << "the highest bin is 0 dB";
  EXPECT_EQ(PeakTextsOf(s.data, 1, relative).dB, "-20.00");
  FftSetting absolute;
  EXPECT_EQ(PeakTextsOf(s.data, 3, absolute).dB, "-60.00");
  absolute.index_dB_min = 7;  // bottom -50 dBV
  EXPECT_EQ(PeakTextsOf(s.data, 3, absolute).dB, "-50.00") << "limited at the bottom";
}

TEST(PeakReadoutTest, BinUnderTheMouse) {
  FftSetting s;  // 0.1 Hz … 2.4 kHz, logarithmic
  EXPECT_EQ(BinAtX(600, 0, s, 0.05F), 2) << "0.1 Hz / 0.05 Hz";
  EXPECT_EQ(BinAtX(600, 137, s, 0.5F), 2) << "just above 1 Hz";
  EXPECT_NEAR(BinAtX(600, 600, s, 0.5F), 4800, 1);
  EXPECT_EQ(BinAtX(600, -300, s, 0.5F), 0) << "left of the box: below bin 1";
  EXPECT_EQ(BinAtX(600, 10, s, 0.0F), -1) << "no frequency step";
  EXPECT_EQ(BinAtX(0, 10, s, 0.5F), -1) << "empty box";
  s.index_FreqS = s.index_FreqE = 5;
  EXPECT_EQ(BinAtX(600, 10, s, 0.5F), -1) << "the two ends coincide";

  FftSetting linear;  // 0 … 2.4 kHz
  linear.fLogGraph = 0;
  EXPECT_EQ(BinAtX(600, 300, linear, 4.6875F), 256) << "1200 Hz, the middle of the box";
  EXPECT_EQ(BinAtX(600, 1, linear, 4.6875F), 1) << "4 Hz: the nearest line, not the one below";
  EXPECT_EQ(BinAtX(600, 0, linear, 4.6875F), 0);
}

}  // namespace
