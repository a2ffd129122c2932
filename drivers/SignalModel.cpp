#include "drivers/SignalModel.h"

#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

// The random stream of the 1/f noise, beside the white noise's.
constexpr std::uint64_t kFlickerStream = 1;

// Odd harmonics of the mains hum and their share of the fundamental's amplitude.
struct Harmonic {
  double order;
  double share;
};
constexpr std::array<Harmonic, 4> kHumHarmonics{{{1.0, 1.0}, {3.0, 0.3}, {5.0, 0.15}, {7.0, 0.05}}};

double Sine(double hertz, double seconds) { return std::sin(2.0 * std::numbers::pi * hertz * seconds); }

// Independent noises of one kind add in power.
double NoiseSum(const ChannelSignal& terms, SignalKind kind) {
  double power = 0.0;
  for (const SignalTerm& term : terms) {
    if (term.kind == kind) power += term.volts * term.volts;
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
  return largest + NoiseSum(terms, SignalKind::White) * GaussianSource::LargestDraw() +
         FlickerNoise::LargestMagnitude(NoiseSum(terms, SignalKind::Flicker));
}

SignalModel::SignalModel(ChannelSignal terms, std::uint64_t seed)
    : terms(std::move(terms)),
      whiteRms(NoiseSum(this->terms, SignalKind::White)),
      flickerNsd(NoiseSum(this->terms, SignalKind::Flicker)),
      noise(seed) {
  if (flickerNsd > 0.0) flicker.emplace(flickerNsd, DeriveSeed(seed, kFlickerStream));
}

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
      case SignalKind::Flicker:
        break;
    }
  }
  return volts;
}

double SignalModel::Next(double seconds, double samplesPerSecond) {
  double volts = Deterministic(seconds);
  if (whiteRms > 0.0) volts += whiteRms * noise.Next();
  if (flicker) volts += flicker->Next(samplesPerSecond);
  return volts;
}
