#include "analysis/CodeHistogram.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kHalfCode = 0.5;

// Bins narrower than this (in σ) are integrated around their middle.
constexpr double kNarrowBin = 1e-3;
constexpr double kSeriesW2 = 24.0;    // the denominators of the series below
constexpr double kSeriesW4 = 1920.0;
constexpr double kSeriesM2 = 6.0;
constexpr double kSeriesM0 = 3.0;

// The standard normal distribution function.
double Phi(double x) { return 0.5 * std::erfc(-x / std::numbers::sqrt2); }

// The share of the standard normal distribution between a and b. A bin of a few codes
// against a σ of thousands would lose most digits to the cancellation in
// Phi(b) - Phi(a), and with them the agreement between math libraries; the density at
// the bin's middle times its width, with the series' next two terms, is exact to the
// last bit for such bins (the first term left out is w⁶·m⁶ / 322560 of it).
double Share(double a, double b) {
  const double w = b - a;
  if (w > kNarrowBin) return Phi(b) - Phi(a);
  const double m = 0.5 * (a + b);
  const double m2 = m * m;
  const double w2 = w * w;
  const double density = std::exp(-0.5 * m2) * std::numbers::inv_sqrtpi / std::numbers::sqrt2;
  return density * w * (1.0 + (m2 - 1.0) * w2 / kSeriesW2 + (m2 * m2 - kSeriesM2 * m2 + kSeriesM0) * w2 * w2 / kSeriesW4);
}

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
  const auto edge = [&](std::size_t bin) {
    return (static_cast<double>(histogram.CodeOf(bin)) - kHalfCode - noise.meanCode) / noise.sigmaCodes;
  };
  for (std::size_t i = 0; i < bins; ++i) histogram.gauss[i] = n * Share(edge(i), edge(i + 1));
  return histogram;
}
