#include "analysis/PowerAverage.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

void LineAverage::Add(std::span<const float> lines) {
  if (count_ == 0) {
    accumulated_.assign(lines.size(), 0.0);
  } else if (lines.size() != accumulated_.size()) {
    throw std::invalid_argument("LineAverage: every spectrum must have the same number of lines");
  }
  ++count_;
  for (std::size_t k = 0; k < lines.size(); ++k) Fold(accumulated_[k], lines[k], count_);
}

void LineAverage::Result(std::span<float> lines) const {
  if (count_ == 0) return;
  if (lines.size() != accumulated_.size()) throw std::invalid_argument("LineAverage: the line counts differ");
  for (std::size_t k = 0; k < lines.size(); ++k) lines[k] = static_cast<float>(Value(accumulated_[k], count_));
}

void PowerAverage::Fold(double& accumulated, double line, int /*count*/) const { accumulated += line * line; }

double PowerAverage::Value(double accumulated, int count) const { return std::sqrt(accumulated / count); }

void PeakHold::Fold(double& accumulated, double line, int count) const {
  accumulated = count == 1 ? line : std::max(accumulated, line);
}

double PeakHold::Value(double accumulated, int /*count*/) const { return accumulated; }

ExponentialAverage::ExponentialAverage(int depth) : depth_(depth) {
  if (depth < 1) throw std::invalid_argument("ExponentialAverage: the depth must be at least 1");
}

void ExponentialAverage::Fold(double& accumulated, double line, int count) const {
  // The running mean while fewer than depth spectra came, so the start is not biased
  // towards the first one; a fixed weight from then on.
  accumulated += (line * line - accumulated) / std::min(count, depth_);
}

double ExponentialAverage::Value(double accumulated, int /*count*/) const { return std::sqrt(accumulated); }

std::unique_ptr<LineAverage> MakeLineAverage(SpectrumAveraging kind, int depth) {
  switch (kind) {
    case SpectrumAveraging::Rms:
      return std::make_unique<PowerAverage>();
    case SpectrumAveraging::PeakHold:
      return std::make_unique<PeakHold>();
    case SpectrumAveraging::Exponential:
      return std::make_unique<ExponentialAverage>(depth);
    case SpectrumAveraging::None:
      break;
  }
  return nullptr;
}
