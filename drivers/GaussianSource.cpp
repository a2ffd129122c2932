#include "drivers/GaussianSource.h"

#include <cmath>
#include <numbers>

namespace {

constexpr int kMantissaBits = 53;
constexpr int kDroppedBits = 64 - kMantissaBits;

}  // namespace

GaussianSource::GaussianSource(std::uint64_t seed) : engine(seed) {}

// The radius of Box–Muller at the smallest uniform value, 2^-53.
double GaussianSource::LargestDraw() { return std::sqrt(2.0 * kMantissaBits * std::numbers::ln2); }

double GaussianSource::Next() {
  if (hasSpare) {
    hasSpare = false;
    return spare;
  }
  // Uniform values in (0, 1]: never 0, so the logarithm stays finite.
  const auto uniform = [this] {
    return static_cast<double>((engine() >> kDroppedBits) + 1) * std::ldexp(1.0, -kMantissaBits);
  };
  const double radius = std::sqrt(-2.0 * std::log(uniform()));
  const double angle = 2.0 * std::numbers::pi * uniform();
  spare = radius * std::sin(angle);
  hasSpare = true;
  return radius * std::cos(angle);
}

std::uint64_t DeriveSeed(std::uint64_t seed, std::uint64_t stream) {
  std::uint64_t z = seed + stream * 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}
