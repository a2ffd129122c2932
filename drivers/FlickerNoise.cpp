#include "drivers/FlickerNoise.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace {

constexpr double kCornersPerDecade = 3.0;
constexpr double kTopCornerShare = 1.0 / 3.0;   // highest corner / sample rate
constexpr double kLowestCornerShare = 0x1p-21;  // lowest corner / sample rate
constexpr double kCalibrationHertz = 1.0;       // where the density is exact
constexpr double kLowestRate = 2.0 * kCalibrationHertz;
// The 1 Hz calibration raises the processes' variance above the continuous design's by
// at most 4 % at any rate above 2 per second; the bound takes twice that.
constexpr double kCalibrationMargin = 2.0;

// Feedback a of each process, highest corner first: the corners are shares of the
// sample rate, so the feedbacks are the same at every rate.
std::vector<double> Feedbacks() {
  const double ratio = std::pow(10.0, 1.0 / kCornersPerDecade);
  const auto count =
      static_cast<int>(std::ceil(std::log10(kTopCornerShare / kLowestCornerShare) * kCornersPerDecade)) + 1;
  std::vector<double> feedbacks;
  for (int k = 0; k < count; ++k) {
    const double share = kTopCornerShare / std::pow(ratio, k);  // the corner / the sample rate
    feedbacks.push_back(std::exp(-2.0 * std::numbers::pi * share));
  }
  return feedbacks;
}

// The variance per process (V², for 1 V/√Hz) that gives a density of 1/f in the
// continuous limit: each contributes v / (f · ln ratio) on average over a decade.
double DesignVariance() { return std::log(10.0) / kCornersPerDecade; }

}  // namespace

FlickerNoise::FlickerNoise(double nsdAt1Hz, std::uint64_t seed)
    : nsdAt1Hz_(nsdAt1Hz), noise_(seed), feedback_(Feedbacks()) {}

void FlickerNoise::Tune(double samplesPerSecond) {
  if (!(samplesPerSecond > kLowestRate)) {
    throw std::invalid_argument("FlickerNoise: the sample rate must exceed 2 per second");
  }
  rate_ = samplesPerSecond;
  // One-sided density at 1 Hz of the processes at the design variance (for 1 V/√Hz):
  // for each, 2·v·(1 − a²) / (rate · |1 − a·e^(−iω)|²).
  const double omega = 2.0 * std::numbers::pi * kCalibrationHertz / samplesPerSecond;
  double densityAt1Hz = 0.0;
  for (const double a : feedback_) {
    densityAt1Hz +=
        2.0 * DesignVariance() * (1.0 - a * a) / (samplesPerSecond * (1.0 - 2.0 * a * std::cos(omega) + a * a));
  }
  const double variance = DesignVariance() * nsdAt1Hz_ * nsdAt1Hz_ / densityAt1Hz;
  drive_.clear();
  state_.clear();
  for (const double a : feedback_) {
    drive_.push_back(std::sqrt(variance * (1.0 - a * a)));
    state_.push_back(std::sqrt(variance) * noise_.Next());
  }
}

double FlickerNoise::Next(double samplesPerSecond) {
  if (samplesPerSecond != rate_) Tune(samplesPerSecond);
  double volts = 0.0;
  for (std::size_t k = 0; k < state_.size(); ++k) {
    state_[k] = feedback_[k] * state_[k] + drive_[k] * noise_.Next();
    volts += state_[k];
  }
  return volts;
}

double FlickerNoise::LargestMagnitude(double nsdAt1Hz) {
  // A process that starts within D·σ and is driven by draws within D stays within
  // D·σ·√((1 + a) / (1 − a)), σ its standard deviation and D the largest draw.
  const double sigma = std::sqrt(kCalibrationMargin * DesignVariance()) * std::fabs(nsdAt1Hz);
  double bound = 0.0;
  for (const double a : Feedbacks()) {
    bound += GaussianSource::LargestDraw() * sigma * std::sqrt((1.0 + a) / (1.0 - a));
  }
  return bound;
}
