#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

#include "SimdLevelParam.h"
#include "analysis/ChainKernels.h"
#include "analysis/RealFft.h"

namespace {

// Reference in double precision: the packed layout computed from a double FFT
// (direct DFT would be O(n²) at 65536).
std::vector<double> ReferencePacked(const std::vector<float>& x) {
  const std::size_t n = x.size();
  std::vector<std::complex<double>> z(x.begin(), x.end());
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(z[i], z[j]);
  }
  for (std::size_t len = 2; len <= n; len <<= 1) {
    for (std::size_t start = 0; start < n; start += len) {
      for (std::size_t k = 0; k < len / 2; ++k) {
        const double angle = -2.0 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(len);
        const auto w = std::polar(1.0, angle);
        const auto u = z[start + k];
        const auto v = z[start + k + len / 2] * w;
        z[start + k] = u + v;
        z[start + k + len / 2] = u - v;
      }
    }
  }
  std::vector<double> packed(n);
  packed[0] = z[0].real();
  packed[1] = z[n / 2].real();
  for (std::size_t k = 1; k < n / 2; ++k) {
    packed[2 * k] = z[k].real();
    packed[2 * k + 1] = -z[k].imag();  // plus sign of the sine
  }
  return packed;
}

// Direct sums for small n, to pin the layout and sign independently of any FFT.
std::vector<double> DirectPacked(const std::vector<float>& x) {
  const std::size_t n = x.size();
  std::vector<double> packed(n, 0.0);
  for (std::size_t j = 0; j < n; ++j) {
    packed[0] += x[j];
    packed[1] += (j % 2 == 0) ? x[j] : -x[j];
    for (std::size_t k = 1; k < n / 2; ++k) {
      const double angle = 2.0 * std::numbers::pi * static_cast<double>(j * k) / static_cast<double>(n);
      packed[2 * k] += x[j] * std::cos(angle);
      packed[2 * k + 1] += x[j] * std::sin(angle);
    }
  }
  return packed;
}

// Relative error in the L2 norm, ||a - ref|| / ||ref||, the usual accuracy
// measure of an FFT (about epsilon times a small multiple of log2 n).
double RelativeError(const std::vector<float>& x, const std::vector<double>& reference, SimdLevel level) {
  std::vector<float> a = x;
  RealFftPlan(static_cast<int>(x.size()), level).Forward(a.data());
  double error = 0.0;
  double norm = 0.0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    error += (a[i] - reference[i]) * (a[i] - reference[i]);
    norm += reference[i] * reference[i];
  }
  return std::sqrt(error / norm);
}

double Tolerance(std::size_t n) {
  constexpr double kFloatEpsilon = 5.96e-8;
  return kFloatEpsilon * std::log2(static_cast<double>(n));
}

std::vector<float> Signal(std::size_t n, int kind, std::mt19937& rng) {
  std::normal_distribution<float> noise(0.0F, 1.0F);
  std::vector<float> x(n);
  for (std::size_t j = 0; j < n; ++j) {
    const double t = static_cast<double>(j) / static_cast<double>(n);
    switch (kind) {
      case 0:
        x[j] = noise(rng);
        break;  // random
      case 1:
        x[j] = static_cast<float>(std::sin(2.0 * std::numbers::pi * 3.0 * t));
        break;  // on a line
      case 2:
        x[j] = static_cast<float>(std::cos(2.0 * std::numbers::pi * 2.37 * t));
        break;  // between lines
      default:
        x[j] = 1.25F;
        break;  // constant
    }
  }
  return x;
}

// Every kernel level the CPU runs: the scalar loops (n < 64) and the vector passes of
// every shape (first pass, stride 4, wide passes, radix-2 last pass) on each level.
class RealFftLevels : public ::testing::TestWithParam<SimdLevel> {};

TEST_P(RealFftLevels, MatchesDoublePrecisionForEveryPowerOfTwo) {
  std::mt19937 rng(12345);
  for (std::size_t n = 4; n <= 65536; n *= 2) {
    for (int kind = 0; kind < 4; ++kind) {
      const auto x = Signal(n, kind, rng);
      EXPECT_LT(RelativeError(x, ReferencePacked(x), GetParam()), Tolerance(n)) << "n=" << n << " kind=" << kind;
    }
  }
}

TEST_P(RealFftLevels, LayoutAndSineSignAgainstDirectSums) {
  std::mt19937 rng(7);
  for (std::size_t n = 4; n <= 256; n *= 2) {
    const auto x = Signal(n, 0, rng);
    EXPECT_LT(RelativeError(x, DirectPacked(x), GetParam()), Tolerance(n)) << "n=" << n;
  }
  // A sine on line 1 of 8 samples: the sine part of line 1 holds +n/2.
  std::vector<float> x(8);
  for (int j = 0; j < 8; ++j) x[j] = static_cast<float>(std::sin(2.0 * std::numbers::pi * j / 8.0));
  RealFftPlan(8, GetParam()).Forward(x.data());
  EXPECT_NEAR(x[3], 4.0F, 1e-5F);
  EXPECT_NEAR(x[2], 0.0F, 1e-5F);
}

TEST_P(RealFftLevels, PlanIsReusableAndLeavesNoState) {
  // The scratch of one transform must not leak into the next.
  constexpr int n = 4096;
  std::mt19937 rng(99);
  RealFftPlan plan(n, GetParam());
  const auto first = Signal(n, 0, rng);
  const auto second = Signal(n, 2, rng);
  std::vector<float> a = second;
  plan.Forward(a.data());
  std::vector<float> b = first;
  plan.Forward(b.data());
  b = second;
  plan.Forward(b.data());
  EXPECT_EQ(a, b);
}

TEST_P(RealFftLevels, LineAtAQuarterOfTheRateIsExact) {
  // Line n/4 is its own mirror in the real-spectrum step; both of its writes must agree.
  constexpr int n = 1024;
  std::vector<float> x(n);
  for (int j = 0; j < n; ++j) x[j] = (j % 4 == 0) ? 1.0F : (j % 4 == 2 ? -1.0F : 0.0F);  // cos(πj/2)
  RealFftPlan(n, GetParam()).Forward(x.data());
  EXPECT_EQ(x[n / 2], n / 2.0F);
  EXPECT_EQ(x[n / 2 + 1], 0.0F);
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, RealFftLevels, ::testing::ValuesIn(AvailableSimdLevels()), SimdLevelTestName);

TEST(RealFftPlan, RejectsLengthsThatAreNotPowersOfTwo) {
  EXPECT_THROW(RealFftPlan(2), std::invalid_argument);
  EXPECT_THROW(RealFftPlan(1000), std::invalid_argument);
  EXPECT_THROW(RealFftPlan(0), std::invalid_argument);
}

TEST(RealFftPlan, RejectsALevelTheCpuDoesNotRun) {
  const auto unknown = static_cast<SimdLevel>(99);
  EXPECT_THROW(RealFftPlan(64, unknown), std::invalid_argument);
  EXPECT_THROW(ChainKernelsFor(unknown), std::invalid_argument);
  EXPECT_NO_THROW(RealFftPlan(64, SimdLevel::Portable)) << "the portable level runs everywhere";
}

}  // namespace
