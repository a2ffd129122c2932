// The signal in front of one input channel of the simulated unit: the sum of its terms.
// Deterministic: the same seed and the same order of calls give the same values on
// every platform.
#pragma once

#include <cstdint>
#include <optional>

#include "drivers/FlickerNoise.h"
#include "drivers/GaussianSource.h"
#include "drivers/SimulatedConfig.h"

// The largest magnitude in volts the sum of a channel's terms can reach (the noises
// at their largest draws); infinity when the sum could leave the range of doubles.
double LargestMagnitude(const ChannelSignal& terms);

// The sum of the terms of one channel, in volts.
class SignalModel {
 public:
  static constexpr double kMainsHertz = 50.0;

  SignalModel(ChannelSignal terms, std::uint64_t seed);

  // The noise-free part at a time in seconds: DC, sines and hum.
  double Deterministic(double seconds) const;
  // The next sample of a stream at samplesPerSecond, taken at a time in seconds: the
  // noise-free part plus one draw of the white noise and the next value of the 1/f
  // noise (draws are taken in call order).
  double Next(double seconds, double samplesPerSecond);
  // RMS volts of all white-noise terms together.
  double WhiteRms() const { return whiteRms; }
  // Density at 1 Hz in V/√Hz of all 1/f terms together.
  double FlickerNsd() const { return flickerNsd; }

 private:
  ChannelSignal terms;
  double whiteRms = 0.0;
  double flickerNsd = 0.0;
  GaussianSource noise;
  std::optional<FlickerNoise> flicker;  // only with a 1/f term: others keep their draws
};
