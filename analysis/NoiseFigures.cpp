#include "analysis/NoiseFigures.h"

#include <algorithm>
#include <cmath>

namespace {

const double kThirdOctaveHalfWidth = std::exp2(1.0 / 6.0);  // band edges at f / c and f·c

constexpr double kHalfLine = 0.5;

bool Inside(const FrequencyRange& range, double f) { return f >= range.low && f <= range.high; }

}  // namespace

FrequencyRange DensityRange(double deltaF, int lines) { return {deltaF, (lines - 1) * deltaF}; }

std::optional<double> SpotDensity(std::span<const double> density, double deltaF, double f) {
  const int lines = static_cast<int>(density.size());
  if (lines < 2 || !Inside(DensityRange(deltaF, lines), f)) return std::nullopt;
  const int first = std::max(1, static_cast<int>(std::ceil(f / kThirdOctaveHalfWidth / deltaF)));
  const int last = std::min(lines - 1, static_cast<int>(std::floor(f * kThirdOctaveHalfWidth / deltaF)));
  if (first > last) {
    const int nearest = std::clamp(static_cast<int>(std::lround(f / deltaF)), 1, lines - 1);
    return density[static_cast<std::size_t>(nearest)];
  }
  double power = 0.0;
  for (int k = first; k <= last; ++k)
    power += density[static_cast<std::size_t>(k)] * density[static_cast<std::size_t>(k)];
  return std::sqrt(power / (last - first + 1));
}

std::optional<BandNoise> BandNoiseOf(std::span<const double> density, double deltaF, double f1, double f2) {
  const int lines = static_cast<int>(density.size());
  const FrequencyRange range = DensityRange(deltaF, lines);
  if (lines < 2 || !(f1 < f2) || !Inside(range, f1) || !Inside(range, f2)) return std::nullopt;
  BandNoise band{.f1 = f1, .f2 = f2};
  double power = 0.0;
  const int first = std::max(1, static_cast<int>(std::floor(f1 / deltaF + kHalfLine)));
  const int last = std::min(lines - 1, static_cast<int>(std::ceil(f2 / deltaF - kHalfLine)));
  for (int k = first; k <= last; ++k) {
    const double low = std::max(f1, (k - kHalfLine) * deltaF);
    const double high = std::min(f2, (k + kHalfLine) * deltaF);
    if (high <= low) continue;
    const double d = density[static_cast<std::size_t>(k)];
    power += d * d * (high - low);
    ++band.lines;
  }
  band.rmsVolts = std::sqrt(power);
  band.ppVolts = kPeakToPeakPerRms * band.rmsVolts;
  return band;
}
