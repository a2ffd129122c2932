#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "analysis/Analysis.h"

namespace {

constexpr int kRate4800 = 12;
constexpr float kInvSqrt2 = 0.70710678F;

class AnalysisTest : public ::testing::Test {
 protected:
  void SetUp() override {
    buffers = std::make_unique<MeasureBuffers>();
    buffers->Bind(data);
    work = std::make_unique<AnalysisWork>();
  }

  // Fills volts directly (as after CodeToVolt) with n samples of f(j).
  template <typename F>
  void FillVolts(int n, F f) {
    data.ad_dnum = n;
    for (int j = 0; j < n; ++j) data.volt[j] = static_cast<float>(f(j));
  }

  void Analyse(int window, int correct, int dcCut) {
    setting.whichWindowFunc = window;
    setting.fWinFuncAdjust = static_cast<std::uint8_t>(correct);
    setting.fDCCut_FFT = static_cast<std::uint8_t>(dcCut);
    AnalyseSpectrum(fft, setting, data, *work);
  }

  FftSetting setting;
  TmyFFT fft{setting};
  MeasureData data;
  std::unique_ptr<MeasureBuffers> buffers;
  std::unique_ptr<AnalysisWork> work;
};

double Sine(int j, int n, double line, double amplitude = 1.0) {
  return amplitude * std::sin(2.0 * std::numbers::pi * line * j / n);
}

TEST_F(AnalysisTest, ConstantSignal) {
  FillVolts(1024, [](int) { return -0.75; });
  Analyse(0, 0, 1);
  for (int k = 0; k < 512; ++k) ASSERT_NEAR(data.spectrum[k], 0.0F, 1e-7F) << "DC cut leaves nothing, line " << k;
  Analyse(0, 0, 0);
  EXPECT_NEAR(data.spectrum[0], 0.75F, 1e-6F) << "line 0 is the absolute value of the constant";
  for (int k = 1; k < 512; ++k) ASSERT_NEAR(data.spectrum[k], 0.0F, 1e-6F) << k;
}

TEST_F(AnalysisTest, SineOnALineWithTheRectangle) {
  constexpr int n = 4096;
  FillVolts(n, [](int j) { return Sine(j, n, 100); });
  Analyse(0, 1, 0);  // the rectangle applies no correction whatever the flag
  EXPECT_NEAR(data.spectrum[100], kInvSqrt2, 1e-5F);
  EXPECT_NEAR(data.spectrum[99], 0.0F, 1e-5F);
  EXPECT_NEAR(data.spectrum[101], 0.0F, 1e-5F);
  EXPECT_NEAR(SignalRms(data), kInvSqrt2, 1e-5F);
}

TEST_F(AnalysisTest, SineOnALineWithHanning) {
  constexpr int n = 4096;
  FillVolts(n, [](int j) { return Sine(j, n, 100); });
  Analyse(1, 0, 1);
  EXPECT_NEAR(data.spectrum[100], 0.35355F, 1e-5F);
  EXPECT_NEAR(data.spectrum[99], 0.17678F, 1e-5F);
  EXPECT_NEAR(data.spectrum[101], 0.17678F, 1e-5F);
  Analyse(1, 1, 1);
  EXPECT_NEAR(data.spectrum[100], 0.35355F * 1.632993162F, 1e-5F);
  EXPECT_NEAR(SignalRms(data), kInvSqrt2, 1e-4F) << "the corrected RMS does not depend on the window";
}

TEST_F(AnalysisTest, CoherentGainOfEveryWindow) {
  constexpr int n = 8192;
  FillVolts(n, [](int j) { return Sine(j, n, 512); });
  const struct {
    int window;
    int correct;
    float gain;
  } rows[] = {{0, 0, 1.0F},    {1, 0, 0.5F},    {1, 1, 0.8165F}, {2, 0, 0.54F},
              {2, 1, 0.8566F}, {3, 0, 0.2510F}, {3, 1, 0.5593F}};
  for (const auto& r : rows) {
    Analyse(r.window, r.correct, 1);
    EXPECT_NEAR(data.spectrum[512] / kInvSqrt2, r.gain, 2e-4F) << "window " << r.window << " correct " << r.correct;
  }
}

TEST_F(AnalysisTest, WhiteNoiseRmsFactors) {
  constexpr int n = 65536;
  constexpr double sigma = 1e-3;
  std::mt19937 rng(42);
  std::normal_distribution<double> noise(0.0, sigma);
  FillVolts(n, [&](int) { return noise(rng); });
  const struct {
    int window;
    double uncorrected;
  } rows[] = {{1, 0.612}, {2, 0.630}, {3, 0.449}};
  for (const auto& r : rows) {
    Analyse(r.window, 0, 1);
    EXPECT_NEAR(SignalRms(data) / sigma, r.uncorrected, 0.01) << "window " << r.window;
    Analyse(r.window, 1, 1);
    EXPECT_NEAR(SignalRms(data) / sigma, 1.0, 0.015) << "window " << r.window << " corrected";
  }
}

TEST_F(AnalysisTest, FusedChainEqualsTheStepsOneAfterTheOther) {
  // The chain as separate steps through the engine's operations; the fused chain must
  // give the same spectrum bit for bit, for every window, flag and mean removal.
  constexpr int n = 16384;
  std::mt19937 rng(8);
  std::normal_distribution<double> noise(0.0, 1e-3);
  FillVolts(n, [&](int j) { return 0.3 + Sine(j, n, 1234.5, 0.01) + noise(rng); });
  std::vector<float> x(n), y(n), spectrum(n / 2);
  for (int window = 0; window <= 3; ++window) {
    for (int correct : {0, 1}) {
      for (int dcCut : {0, 1}) {
        if (dcCut == 1) {
          ASSERT_TRUE(fft.DCCut(n, data.volt, x.data()));
        } else {
          std::copy_n(data.volt, n, x.data());
        }
        switch (window) {
          case 1:
            fft.Hanning(n, x.data(), correct, y.data());
            break;
          case 2:
            fft.Hamming(n, x.data(), correct, y.data());
            break;
          case 3:
            fft.FlatTop(n, x.data(), correct, y.data());
            break;
          default:
            y = x;
            break;
        }
        fft.RealFFT(n, 1, y.data());
        y[0] = y[0] / static_cast<float>(n);
        for (int k = 1; k < n; ++k) y[k] = static_cast<float>(y[k] * 1.414213562 / n);
        TmyFFT::Magnitude(n, y.data(), spectrum.data());

        Analyse(window, correct, dcCut);
        ASSERT_TRUE(std::equal(spectrum.begin(), spectrum.end(), data.spectrum))
            << "window " << window << " flag " << correct << " DC cut " << dcCut;
      }
    }
  }
}

TEST_F(AnalysisTest, CodeToVoltScaleAndExtremes) {
  AdUnitSetting unit;  // 2.5 V, gain 128
  data.ad_dnum = 3;
  data.spsSel = kRate4800;
  data.adCode[0] = 0x800000;
  data.adCode[1] = 0x7FFFFF;
  data.adCode[2] = 0x000001;
  CodeToVolt(data, unit);
  const float scale = 2.5F * 1.1920928955078125e-7F / 128.0F;
  EXPECT_NEAR(scale, 2.328e-9F, 1e-12F);
  EXPECT_EQ(data.volt[0], 0.0F);
  EXPECT_EQ(data.volt[1], -scale);
  EXPECT_EQ(data.volt[2], -8388607.0F * scale);
  EXPECT_EQ(data.voltMax, 0.0F);
  EXPECT_EQ(data.voltMin, -8388607.0F * scale);

  // A data file may hold any 32-bit code; the difference to mid-scale must not wrap.
  data.ad_dnum = 2;
  data.adCode[0] = std::numeric_limits<std::int32_t>::min();
  data.adCode[1] = std::numeric_limits<std::int32_t>::max();
  CodeToVolt(data, unit);
  EXPECT_EQ(data.volt[0], static_cast<float>(-2147483648.0 - 8388608.0) * scale);
  EXPECT_EQ(data.volt[1], static_cast<float>(2147483647.0 - 8388608.0) * scale);
}

TEST_F(AnalysisTest, FrequencyStep) {
  AdUnitSetting unit;
  data.ad_dnum = 1024;
  std::fill_n(data.adCode, 1024, 0x800000);
  data.spsSel = kRate4800;
  CodeToVolt(data, unit);
  EXPECT_FLOAT_EQ(data.deltaF, 4.6875F);
  data.spsSel = 0;  // 5 samples per second
  CodeToVolt(data, unit);
  EXPECT_NEAR(data.deltaF, 0.00488F, 1e-5F);
  data.ad_dnum = 65536;
  std::fill_n(data.adCode, 65536, 0x800000);
  data.spsSel = kRate4800;
  CodeToVolt(data, unit);
  EXPECT_NEAR(data.deltaF, 0.0732F, 1e-4F);
}

TEST_F(AnalysisTest, SignalLevelRejectsEitherEndOfTheRange) {
  AdUnitSetting unit;
  data.ad_dnum = 4;
  data.spsSel = kRate4800;
  for (std::int32_t overload : {0, 0xFFFFFF}) {
    std::fill_n(data.adCode, 4, 0x812345);
    data.adCode[3] = overload;
    data.volt[0] = 42.0F;
    EXPECT_FALSE(CheckSignalLevel(data, unit)) << overload;
    EXPECT_EQ(data.volt[0], 42.0F) << "nothing converted on failure";
  }
  data.adCode[3] = 1;
  EXPECT_TRUE(CheckSignalLevel(data, unit));
  EXPECT_NE(data.volt[0], 42.0F) << "converted on success";
}

TEST_F(AnalysisTest, QuietLongRecordKeepsItsTrueMeanAndDeviation) {
  // 65536 codes near 8.4 million with a deviation of 2 digits: a float sum would
  // be about 1100 digits low and the deviation as large.
  constexpr int n = 65536;
  std::mt19937 rng(11);
  std::normal_distribution<double> noise(0.0, 2.0);
  data.ad_dnum = n;
  std::int64_t sum = 0;
  for (int i = 0; i < n; ++i) {
    data.adCode[i] = 8400000 + static_cast<std::int32_t>(std::lround(noise(rng)));
    sum += data.adCode[i];
  }
  const std::int32_t mean = CodeMean(data);
  EXPECT_EQ(mean, static_cast<std::int32_t>(sum / n));
  long double squares = 0.0L;
  for (int i = 0; i < n; ++i) squares += std::pow(static_cast<long double>(data.adCode[i] - mean), 2);
  const auto expected = static_cast<float>(std::sqrt(squares / n));
  EXPECT_NEAR(CodeDeviation(data), expected, 1e-4F);
  EXPECT_LT(CodeDeviation(data), 2.5F) << "a few digits, not a thousand";
}

TEST(IsAnalysableCount, PowersOfTwoTheArraysHold) {
  for (const int n : {1024, 4096, 65536}) EXPECT_TRUE(IsAnalysableCount(n)) << n;
  for (const int n : {0, -1024, 1000, 1500, 2000, 65535, 131072}) EXPECT_FALSE(IsAnalysableCount(n)) << n;
}

TEST_F(AnalysisTest, EmptyRecordStatistics) {
  data.ad_dnum = 0;
  EXPECT_EQ(CodeMean(data), 0);
  EXPECT_EQ(CodeDeviation(data), 0.0F);
  EXPECT_EQ(SignalRms(data), 0.0F);
}

TEST_F(AnalysisTest, CodeMeanTruncatesTowardZero) {
  data.ad_dnum = 3;
  data.adCode[0] = 1;
  data.adCode[1] = 1;
  data.adCode[2] = 2;  // mean 1.33
  EXPECT_EQ(CodeMean(data), 1);
  EXPECT_NEAR(CodeDeviation(data), std::sqrt(1.0F / 3.0F), 1e-6F);
}

}  // namespace
