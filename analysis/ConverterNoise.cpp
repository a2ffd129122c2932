#include "analysis/ConverterNoise.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>

#include "analysis/Analysis.h"
#include "analysis/NoiseFigures.h"

namespace {

constexpr double kDecibelsPerAmplitudeDecade = 20.0;

// FSR / (factor·σ), all in codes, or +∞ for σ = 0.
double Ratio(double fsrCodes, double sigmaCodes, double factor) {
  if (sigmaCodes == 0.0) return std::numeric_limits<double>::infinity();
  return fsrCodes / (factor * sigmaCodes);
}

}  // namespace

ConverterNoise ConverterNoiseOf(std::span<const std::int32_t> codes, double voltsPerCode) {
  if (codes.empty()) throw std::invalid_argument("ConverterNoiseOf: no codes");
  ConverterNoise noise;
  noise.fsrVolts = kCodeCount * voltsPerCode;
  const auto [lowest, highest] = std::minmax_element(codes.begin(), codes.end());
  noise.minCode = *lowest;
  noise.maxCode = *highest;
  std::int64_t sum = 0;
  for (const std::int32_t c : codes) sum += c;
  const auto n = static_cast<double>(codes.size());
  noise.meanCode = static_cast<double>(sum) / n;
  double squares = 0.0;
  for (const std::int32_t c : codes) {
    const double d = c - noise.meanCode;
    squares += d * d;
  }
  noise.sigmaCodes = std::sqrt(squares / n);
  noise.sigmaVolts = noise.sigmaCodes * voltsPerCode;
  noise.ppCodes = static_cast<double>(static_cast<std::int64_t>(noise.maxCode) - noise.minCode);
  noise.ppVolts = noise.ppCodes * voltsPerCode;
  noise.ppGaussVolts = kPeakToPeakPerRms * noise.sigmaVolts;
  noise.effectiveBits = std::log2(Ratio(kCodeCount, noise.sigmaCodes, 1.0));
  noise.noiseFreeCounts = Ratio(kCodeCount, noise.sigmaCodes, kPeakToPeakPerRms);
  noise.noiseFreeBits = std::log2(noise.noiseFreeCounts);
  const double fullScaleSineRms = 2.0 * std::numbers::sqrt2;  // FSR / (2√2)
  noise.dynamicRangeDb =
      kDecibelsPerAmplitudeDecade * std::log10(Ratio(kCodeCount, noise.sigmaCodes, fullScaleSineRms));
  return noise;
}
