#include "analysis/RealFft.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <stdexcept>

namespace {

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// e^{-2πij/n} for n a multiple of 4, folded into the first octant so that quarter turns
// are exact (the real-spectrum step relies on w = −i at k = n/4) and the values are as
// accurate as double allows.
std::complex<double> RootOfUnity(long j, long n) {
  const long quarter = n / 4;
  j %= n;
  const long turn = j / quarter;
  const long r = j % quarter;
  const double unit = 2.0 * std::numbers::pi / static_cast<double>(n);
  double c = 0.0;
  double s = 0.0;
  if (2 * r <= quarter) {
    c = std::cos(unit * static_cast<double>(r));
    s = std::sin(unit * static_cast<double>(r));
  } else {
    c = std::sin(unit * static_cast<double>(quarter - r));
    s = std::cos(unit * static_cast<double>(quarter - r));
  }
  for (long t = 0; t < turn; ++t) {  // e^{iθ} · i per quarter turn
    const double previous = c;
    c = -s;
    s = previous;
  }
  return {c, -s};
}

// The passes of a transform of `points` complex values: radix 4 while the span allows,
// then one radix-2 pass if log2(points) is odd.
std::vector<FftPass> PlanPasses(int points, int lanes) {
  std::vector<FftPass> passes;
  int span = points;
  int stride = 1;
  for (; span >= 4; span /= 4, stride *= 4) {
    FftPass pass;
    pass.radix = 4;
    pass.span = span;
    pass.stride = stride;
    pass.perLane = stride < lanes;
    if (span > 4) pass.twiddleCount = pass.perLane ? points / 4 : span / 4;
    passes.push_back(pass);
  }
  if (span == 2) passes.push_back(FftPass{.radix = 2, .span = 2, .stride = stride});
  return passes;
}

}  // namespace

RealFftPlan::RealFftPlan(int n, SimdLevel level) : kernel_(RealFftKernelFor(level)) {
  if (n < 4 || !IsPowerOfTwo(n)) throw std::invalid_argument("RealFftPlan: length must be a power of two >= 4");
  const int points = n / 2;
  passes_ = PlanPasses(points, kernel_.lanes);

  std::size_t rows = 0;
  for (const auto& pass : passes_) rows += 6 * static_cast<std::size_t>(pass.twiddleCount);
  passTwiddles_.resize(rows);
  float* row = passTwiddles_.data();
  for (auto& pass : passes_) {
    pass.twiddles = row;
    for (int e = 0; e < pass.twiddleCount; ++e) {
      const long p = pass.perLane ? e / pass.stride : e;
      for (int k = 1; k <= 3; ++k) {
        const auto w = RootOfUnity(p * k, pass.span);
        row[(2 * k - 2) * pass.twiddleCount + e] = static_cast<float>(w.real());
        row[(2 * k - 1) * pass.twiddleCount + e] = static_cast<float>(w.imag());
      }
    }
    row += 6 * static_cast<std::size_t>(pass.twiddleCount);
  }

  splitRe_.resize(static_cast<std::size_t>(n / 4 + 1));
  splitIm_.resize(splitRe_.size());
  for (std::size_t k = 0; k < splitRe_.size(); ++k) {
    const auto w = RootOfUnity(static_cast<long>(k), n);
    splitRe_[k] = static_cast<float>(w.real());
    splitIm_[k] = static_cast<float>(w.imag());
  }
  scratch_.resize(2 * static_cast<std::size_t>(n));
  view_ = {
      .n = n, .passes = passes_, .splitRe = splitRe_.data(), .splitIm = splitIm_.data(), .scratch = scratch_.data()};
}
