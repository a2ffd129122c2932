#include "analysis/Myfft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "ScriptedPrompter.h"

namespace {

class MyfftTest : public ::testing::Test {
protected:
  FftSetting setting;
  ScriptedPrompter prompter;
  TmyFFT fft{setting, prompter};
};

TEST_F(MyfftTest, DcCutRemovesTheMean) {
  const std::vector<float> src{1.0F, 2.0F, 3.0F, 6.0F};
  std::vector<float> dst(4);
  fft.DCCut(4, src.data(), dst.data());
  EXPECT_FLOAT_EQ(dst[0], -2.0F);
  EXPECT_FLOAT_EQ(dst[3], 3.0F);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MyfftTest, DcCutOfNothingWarnsOnceAndChangesNothing) {
  const float src[1] = {5.0F};
  float dst[1] = {7.0F};
  fft.DCCut(0, src, dst);
  EXPECT_EQ(dst[0], 7.0F);
  ASSERT_EQ(prompter.messages.size(), 1U);
  EXPECT_EQ(prompter.messages[0].text, "ゼロ除算：TmyFFT::DCCut");
  EXPECT_EQ(prompter.messages[0].caption, "myFFT");
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
  fft.DCCut(n, src.data(), dst.data());
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
  std::vector<float> spec(3);
  TmyFFT::Magnitude(6, a.data(), spec.data());
  EXPECT_EQ(spec[0], 3.0F) << "|DC|";
  EXPECT_EQ(spec[1], 5.0F);
  EXPECT_EQ(spec[2], 2.0F);
}

TEST_F(MyfftTest, RealFftIsForwardOnly) {
  std::vector<float> a(8, 1.0F);
  EXPECT_THROW(fft.RealFFT(8, -1, a.data()), std::invalid_argument);
  fft.RealFFT(8, 1, a.data());
  EXPECT_FLOAT_EQ(a[0], 8.0F);
}

}  // namespace
