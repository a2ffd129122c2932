#include "analysis/PowerAverage.h"

#include <cmath>
#include <stdexcept>

void PowerAverage::Add(std::span<const float> lines) {
  if (count_ == 0) {
    power_.assign(lines.size(), 0.0);
  } else if (lines.size() != power_.size()) {
    throw std::invalid_argument("PowerAverage: every spectrum must have the same number of lines");
  }
  for (std::size_t k = 0; k < lines.size(); ++k) power_[k] += static_cast<double>(lines[k]) * lines[k];
  ++count_;
}

void PowerAverage::Result(std::span<float> lines) const {
  if (count_ == 0) return;
  if (lines.size() != power_.size()) throw std::invalid_argument("PowerAverage: the line counts differ");
  for (std::size_t k = 0; k < lines.size(); ++k) lines[k] = static_cast<float>(std::sqrt(power_[k] / count_));
}
