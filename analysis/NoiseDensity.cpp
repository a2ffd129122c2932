#include "analysis/NoiseDensity.h"

#include <cmath>
#include <stdexcept>

#include "analysis/Analysis.h"

namespace {

constexpr double kOneSided = 2.0;  // lines above DC carry the power of ±f

}  // namespace

WelchDensity::WelchDensity(TmyFFT& fft, const DensityOptions& options) : fft_(fft), options_(options) {
  if (!IsAnalysableCount(options.segmentLength)) {
    throw std::invalid_argument("WelchDensity: the segment length must be a power of two from 4 to 65536");
  }
  if (!(options.sampleRate > 0.0) || !std::isfinite(options.sampleRate)) {
    throw std::invalid_argument("WelchDensity: the sample rate must be positive");
  }
  windowEnergy_ = fft.WindowEnergy(options.window, options.segmentLength, options.correct);
  segment_.resize(static_cast<std::size_t>(options.segmentLength));
  power_.assign(static_cast<std::size_t>(Lines()), 0.0);
}

int WelchDensity::SegmentsOf(int n) const {
  const int length = options_.segmentLength;
  return n < length ? 0 : 1 + (n - length) / (length / 2);
}

double WelchDensity::DeltaF() const { return options_.sampleRate / options_.segmentLength; }

void WelchDensity::AddRecord(std::span<const float> volts) {
  const int length = options_.segmentLength;
  if (volts.size() < static_cast<std::size_t>(length)) {
    throw std::invalid_argument("WelchDensity: a record must hold at least one segment");
  }
  const auto segment = static_cast<std::size_t>(length);
  float* y = segment_.data();
  for (std::size_t start = 0; start + segment <= volts.size(); start += segment / 2) {
    const float* source = volts.data() + start;
    const float offset = options_.dcCut ? fft_.Mean(length, source) : 0.0F;
    fft_.ApplyWindow(options_.window, length, source, offset, options_.correct, y);
    fft_.RealFFT(length, 1, y);
    power_[0] += static_cast<double>(y[0]) * y[0];
    for (int k = 1; k < length / 2; ++k) {
      const double re = y[2 * k];
      const double im = y[2 * k + 1];
      power_[static_cast<std::size_t>(k)] += re * re + im * im;
    }
    ++segments_;
  }
}

std::vector<double> WelchDensity::Density() const {
  std::vector<double> density(power_.size(), 0.0);
  if (segments_ == 0) return density;
  const double scale = 1.0 / (segments_ * options_.sampleRate * windowEnergy_);
  density[0] = std::sqrt(power_[0] * scale);
  for (std::size_t k = 1; k < density.size(); ++k) density[k] = std::sqrt(kOneSided * power_[k] * scale);
  return density;
}

DensityOptions DensityOptionsOf(const FftSetting& fft, int segmentLength, int samplesPerSecond) {
  return {.window = fft.whichWindowFunc,
          .correct = fft.fWinFuncAdjust,
          .dcCut = fft.fDCCut_FFT == 1,
          .segmentLength = segmentLength,
          .sampleRate = static_cast<double>(samplesPerSecond)};
}
