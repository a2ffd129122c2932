#include "analysis/CodeHistogram.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kHalfCode = 0.5;

// The standard normal distribution function.
double Phi(double x) { return 0.5 * std::erfc(-x / std::numbers::sqrt2); }

}  // namespace

CodeHistogram CodeHistogramOf(std::span<const std::int32_t> codes, const ConverterNoise& noise) {
  CodeHistogram histogram;
  histogram.firstCode = noise.minCode;
  const std::int64_t range = static_cast<std::int64_t>(noise.maxCode) - noise.minCode + 1;
  int shift = 0;  // binCodes = 2^shift: a shift, not a division, per sample
  while ((range + histogram.binCodes - 1) / histogram.binCodes > kMaxHistogramBins) {
    histogram.binCodes *= 2;
    ++shift;
  }
  const auto bins = static_cast<std::size_t>((range + histogram.binCodes - 1) / histogram.binCodes);
  histogram.counts.assign(bins, 0);
  for (const std::int32_t c : codes) {
    ++histogram.counts[static_cast<std::size_t>((static_cast<std::int64_t>(c) - noise.minCode) >> shift)];
  }
  const auto n = static_cast<double>(codes.size());
  histogram.gauss.assign(bins, 0.0);
  if (noise.sigmaCodes == 0.0) {
    histogram.gauss[0] = n;  // every code is the mean, the one bin
    return histogram;
  }
  double lower = Phi((static_cast<double>(histogram.CodeOf(0)) - kHalfCode - noise.meanCode) / noise.sigmaCodes);
  for (std::size_t i = 0; i < bins; ++i) {
    const double upper =
        Phi((static_cast<double>(histogram.CodeOf(i + 1)) - kHalfCode - noise.meanCode) / noise.sigmaCodes);
    histogram.gauss[i] = n * (upper - lower);
    lower = upper;
  }
  return histogram;
}
