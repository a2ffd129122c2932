// The signal in front of one input channel of the simulated unit, and the seeded
// Gaussian source behind every random term of the simulation. Both are deterministic:
// the same seed and the same order of calls give the same values on every platform
// (the generator is the standard 64-bit Mersenne Twister, the Gaussian shaping is
// done here rather than by the library's distribution).
#pragma once

#include <cstdint>
#include <random>

#include "drivers/SimulatedConfig.h"

// Standard normal values (mean 0, RMS 1) from a seed, by the Box–Muller method.
class GaussianSource {
 public:
  explicit GaussianSource(std::uint64_t seed);
  double Next();
  // The largest magnitude Next can return.
  static double LargestDraw();

 private:
  std::mt19937_64 engine;
  double spare = 0.0;
  bool hasSpare = false;
};

// The largest magnitude in volts the sum of a channel's terms can reach (the white
// noise at its largest draw); infinity when the sum could leave the range of doubles.
double LargestMagnitude(const ChannelSignal& terms);

// The sum of the terms of one channel, in volts.
class SignalModel {
 public:
  static constexpr double kMainsHertz = 50.0;

  SignalModel(ChannelSignal terms, std::uint64_t seed);

  // The noise-free part at a time in seconds: DC, sines and hum.
  double Deterministic(double seconds) const;
  // The next sample at a time in seconds: the noise-free part plus one draw of the
  // white noise (draws are taken in call order).
  double Next(double seconds);
  // RMS volts of all white-noise terms together.
  double WhiteRms() const { return whiteRms; }

 private:
  ChannelSignal terms;
  double whiteRms = 0.0;
  GaussianSource noise;
};
