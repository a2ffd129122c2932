#include "drivers/SignalModel.h"

#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

constexpr int kMantissaBits = 53;
constexpr int kDroppedBits = 64 - kMantissaBits;

// Odd harmonics of the mains hum and their share of the fundamental's amplitude.
struct Harmonic {
  double order;
  double share;
};
constexpr std::array<Harmonic, 4> kHumHarmonics{{{1.0, 1.0}, {3.0, 0.3}, {5.0, 0.15}, {7.0, 0.05}}};

double Sine(double hertz, double seconds) { return std::sin(2.0 * std::numbers::pi * hertz * seconds); }

// Independent noises add in power.
double WhiteRmsOf(const ChannelSignal& terms) {
  double power = 0.0;
  for (const SignalTerm& term : terms) {
    if (term.kind == SignalKind::White) power += term.volts * term.volts;
  }
  return std::sqrt(power);
}

}  // namespace

double LargestMagnitude(const ChannelSignal& terms) {
  double humShares = 0.0;
  for (const Harmonic& harmonic : kHumHarmonics) humShares += harmonic.share;
  double largest = 0.0;
  for (const SignalTerm& term : terms) {
    if (term.kind == SignalKind::Dc || term.kind == SignalKind::Sine) largest += std::fabs(term.volts);
    if (term.kind == SignalKind::Hum) largest += std::fabs(term.volts) * humShares;
  }
  return largest + WhiteRmsOf(terms) * GaussianSource::LargestDraw();
}

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

SignalModel::SignalModel(ChannelSignal terms, std::uint64_t seed)
    : terms(std::move(terms)), whiteRms(WhiteRmsOf(this->terms)), noise(seed) {}

double SignalModel::Deterministic(double seconds) const {
  double volts = 0.0;
  for (const SignalTerm& term : terms) {
    switch (term.kind) {
      case SignalKind::Dc:
        volts += term.volts;
        break;
      case SignalKind::Sine:
        volts += term.volts * Sine(term.hertz, seconds);
        break;
      case SignalKind::Hum:
        for (const Harmonic& harmonic : kHumHarmonics) {
          volts += term.volts * harmonic.share * Sine(kMainsHertz * harmonic.order, seconds);
        }
        break;
      case SignalKind::White:
        break;
    }
  }
  return volts;
}

double SignalModel::Next(double seconds) {
  const double volts = Deterministic(seconds);
  return whiteRms > 0.0 ? volts + whiteRms * noise.Next() : volts;
}
