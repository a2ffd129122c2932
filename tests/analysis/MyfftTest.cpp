#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "SimdLevelParam.h"
#include "analysis/Myfft.h"

namespace {

class MyfftTest : public ::testing::Test {
 protected:
  FftSetting setting;
  TmyFFT fft{setting};
};

TEST_F(MyfftTest, DcCutRemovesTheMean) {
  const std::vector<float> src{1.0F, 2.0F, 3.0F, 6.0F};
  std::vector<float> dst(4);
  EXPECT_TRUE(fft.DCCut(4, src.data(), dst.data()));
  EXPECT_FLOAT_EQ(dst[0], -2.0F);
  EXPECT_FLOAT_EQ(dst[3], 3.0F);
}

TEST_F(MyfftTest, DcCutOfNothingReportsItAndChangesNothing) {
  const float src[1] = {5.0F};
  float dst[1] = {7.0F};
  EXPECT_FALSE(fft.DCCut(0, src, dst));
  EXPECT_EQ(dst[0], 7.0F);
}

TEST_F(MyfftTest, DcCutLeavesNoResidualOnALargeOffset) {
  // 1 V offset with a few µV of noise: a float sum would leave a residual of
  // several µV that leaks into the lowest lines.
  constexpr int n = 65536;
  std::mt19937 rng(3);
  std::normal_distribution<float> noise(0.0F, 2e-6F);
  std::vector<float> src(n);
  double exactSum = 0.0;
  for (auto& v : src) {
    v = 1.0F + noise(rng);
    exactSum += v;
  }
  std::vector<float> dst(n);
  ASSERT_TRUE(fft.DCCut(n, src.data(), dst.data()));
  double residual = 0.0;
  for (float v : dst) residual += v;
  residual /= n;
  EXPECT_LT(std::fabs(residual), 1e-7) << "true mean " << exactSum / n;
}

TEST_F(MyfftTest, WindowsOfOnesAndTheirCorrection) {
  constexpr int n = 1024;
  const std::vector<float> ones(n, 1.0F);
  std::vector<float> w(n);

  fft.FlatTop(n, ones.data(), 0, w.data());
  EXPECT_NEAR(w[511], 0.99999F, 1e-5F);
  EXPECT_NEAR(w[512], 0.99999F, 1e-5F);
  EXPECT_FLOAT_EQ(w[511], w[512]) << "symmetric about the middle";
  EXPECT_LT(*std::min_element(w.begin(), w.end()), -0.06F) << "dips below zero near the ends";
  EXPECT_GT(*std::min_element(w.begin(), w.end()), -0.07F);

  fft.Hanning(n, ones.data(), 0, w.data());
  EXPECT_GT(w[0], 0.0F) << "sampled at i + 0.5, never zero at the ends";
  EXPECT_NEAR(w[0], w[n - 1], 1e-3 * w[0]) << "symmetric up to the rounding of 2π";
  std::vector<float> corrected(n);
  fft.Hanning(n, ones.data(), 1, corrected.data());
  EXPECT_NEAR(corrected[300] / w[300], 1.632993162, 1e-6);

  fft.Hamming(n, ones.data(), 0, w.data());
  EXPECT_NEAR(w[0], 0.08F, 1e-4F);
  fft.Hamming(n, ones.data(), 1, corrected.data());
  EXPECT_NEAR(corrected[0] / w[0], 1.586302721, 1e-6);

  fft.FlatTop(n, ones.data(), 1, corrected.data());
  fft.FlatTop(n, ones.data(), 0, w.data());
  EXPECT_NEAR(corrected[512] / w[512], 2.228422982, 1e-6);
}

TEST_F(MyfftTest, OnlyACorrectionFlagOfOneCorrects) {
  constexpr int n = 64;
  const std::vector<float> ones(n, 1.0F);
  std::vector<float> plain(n);
  std::vector<float> flagTwo(n);
  fft.Hanning(n, ones.data(), 0, plain.data());
  fft.Hanning(n, ones.data(), 2, flagTwo.data());
  EXPECT_EQ(plain, flagTwo);
  fft.FlatTop(n, ones.data(), 0, plain.data());
  fft.FlatTop(n, ones.data(), 2, flagTwo.data());
  EXPECT_EQ(plain, flagTwo);
}

TEST_F(MyfftTest, MagnitudeOfPackedLines) {
  const std::vector<float> a{-3.0F, 99.0F, 3.0F, 4.0F, 0.0F, -2.0F};
  std::vector<float> lines(3);
  TmyFFT::Magnitude(6, a.data(), lines.data());
  EXPECT_EQ(lines[0], 3.0F) << "|DC|";
  EXPECT_EQ(lines[1], 5.0F);
  EXPECT_EQ(lines[2], 2.0F);
}

TEST_F(MyfftTest, RealFftIsForwardOnly) {
  std::vector<float> a(8, 1.0F);
  EXPECT_THROW(fft.RealFFT(8, -1, a.data()), std::invalid_argument);
  fft.RealFFT(8, 1, a.data());
  EXPECT_FLOAT_EQ(a[0], 8.0F);
}

}  // namespace

namespace {

// The windows written out as their formulas, one element at a time, as the reference
// for the engine's cached window values and vector loops.
constexpr float kTwoPi = 6.2831855F;
constexpr float kFourPi = 12.566371F;

std::vector<float> FormulaWindow(int which, const std::vector<float>& src, int correct) {
  const int n = static_cast<int>(src.size());
  std::vector<float> dst(src.size());
  double factor = 0.0;
  for (int i = 0; i < n; ++i) {
    const double x = src[static_cast<std::size_t>(i)];
    double value = x;
    if (which == TmyFFT::kHanning) {
      value = (1.0F - std::cos((i + 0.5) * static_cast<double>(kTwoPi) / n)) * x * 0.5F;
      factor = TmyFFT::kHanningCorrection;
    } else if (which == TmyFFT::kHamming) {
      value = (0.54 - 0.46 * std::cos((i + 0.5) * static_cast<double>(kTwoPi) / n)) * x;
      factor = TmyFFT::kHammingCorrection;
    } else {
      const auto t = static_cast<float>((i + 0.5 - n / 2) / n);
      const double arg = static_cast<double>(kFourPi) * t;
      value = std::sin(arg) / arg * ((0.54 + 0.46 * std::cos(static_cast<double>(kTwoPi) * t)) * x);
      factor = TmyFFT::kFlatTopCorrection;
    }
    dst[static_cast<std::size_t>(i)] = static_cast<float>(value);
  }
  if (correct == 1) {
    for (auto& v : dst) v = static_cast<float>(v * factor);
  }
  return dst;
}

std::vector<float> Noise(int n, unsigned seed, float offset) {
  std::mt19937 rng(seed);
  std::normal_distribution<float> noise(0.0F, 1e-3F);
  std::vector<float> x(static_cast<std::size_t>(n));
  for (auto& v : x) v = offset + noise(rng);
  return x;
}

class MyfftLevels : public ::testing::TestWithParam<SimdLevel> {
 protected:
  FftSetting setting;
  TmyFFT fft{setting, GetParam()};
};

TEST_P(MyfftLevels, WindowsEqualTheirFormulasElementForElement) {
  // Odd and short lengths run the loops' tails; 65536 the longest record.
  for (int n : {7, 1000, 1024, 65536}) {
    const auto src = Noise(n, static_cast<unsigned>(n), 0.25F);
    std::vector<float> dst(src.size());
    for (int which : {TmyFFT::kHanning, TmyFFT::kHamming, TmyFFT::kFlatTop}) {
      for (int correct : {0, 1, 2}) {
        fft.ApplyWindow(which, n, src.data(), 0.0F, correct, dst.data());
        ASSERT_EQ(dst, FormulaWindow(which, src, correct)) << "n " << n << " window " << which << " flag " << correct;
      }
    }
    fft.Hanning(n, src.data(), 1, dst.data());
    EXPECT_EQ(dst, FormulaWindow(TmyFFT::kHanning, src, 1));
    fft.Hamming(n, src.data(), 0, dst.data());
    EXPECT_EQ(dst, FormulaWindow(TmyFFT::kHamming, src, 0));
    fft.FlatTop(n, src.data(), 1, dst.data());
    EXPECT_EQ(dst, FormulaWindow(TmyFFT::kFlatTop, src, 1));
  }
}

TEST_P(MyfftLevels, FusedMeanRemovalEqualsDcCutThenWindow) {
  constexpr int n = 4096;
  const auto src = Noise(n, 5, -1.5F);
  std::vector<float> cut(n), stepwise(n), fused(n);
  ASSERT_TRUE(fft.DCCut(n, src.data(), cut.data()));
  const float mean = fft.Mean(n, src.data());
  for (int which : {TmyFFT::kRectangle, TmyFFT::kHanning, TmyFFT::kHamming, TmyFFT::kFlatTop, 7}) {
    for (int correct : {0, 1}) {
      if (which == TmyFFT::kHanning || which == TmyFFT::kHamming || which == TmyFFT::kFlatTop) {
        stepwise = FormulaWindow(which, cut, correct);
      } else {
        stepwise = cut;  // the rectangle (and any unknown index) copies and never corrects
      }
      fft.ApplyWindow(which, n, src.data(), mean, correct, fused.data());
      EXPECT_EQ(fused, stepwise) << "window " << which << " flag " << correct;
    }
  }
}

TEST_P(MyfftLevels, MeanIsTheSameOnEveryLevel) {
  // The partial sums run in the same order on every level, so the mean is bit-identical.
  const auto src = Noise(65536 + 5, 17, 0.75F);
  TmyFFT portable(setting, SimdLevel::Portable);
  for (int n : {1, 9, 65541}) EXPECT_EQ(fft.Mean(n, src.data()), portable.Mean(n, src.data())) << n;
  EXPECT_EQ(fft.Mean(0, src.data()), 0.0F);
}

TEST_P(MyfftLevels, ScaledMagnitudeEqualsScalingThenMagnitude) {
  constexpr int n = 2048;
  constexpr double kGain = 1.414213562;
  auto a = Noise(n, 9, 0.0F);
  a[0] = -37.0F;
  std::vector<float> fused(n / 2), stepwise(n / 2);
  fft.ScaledMagnitude(n, a.data(), kGain, fused.data());
  auto scaled = a;
  scaled[0] = scaled[0] / static_cast<float>(n);
  for (int k = 1; k < n; ++k) scaled[k] = static_cast<float>(scaled[k] * kGain / n);
  for (int k = 1; k < n / 2; ++k) {
    const double re = scaled[2 * k];
    const double im = scaled[2 * k + 1];
    stepwise[k] = static_cast<float>(std::sqrt(re * re + im * im));
  }
  stepwise[0] = std::fabs(scaled[0]);
  EXPECT_EQ(fused, stepwise);
  TmyFFT::Magnitude(n, scaled.data(), fused.data());
  EXPECT_EQ(fused, stepwise);
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, MyfftLevels, ::testing::ValuesIn(AvailableSimdLevels()), SimdLevelTestName);

}  // namespace
