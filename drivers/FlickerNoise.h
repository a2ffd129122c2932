// 1/f ("flicker") noise for the simulated unit, seeded and deterministic.
//
// The noise is the sum of first-order relaxation processes (x ← a·x + b·w, w standard
// normal), all of the same variance, whose corner frequencies are spaced three per
// decade from a third of the sample rate down to the rate / 2^21. Equal variances on
// logarithmically spaced corners add up to a one-sided power spectral density
// proportional to 1/f between the lowest and the highest corner.
//
// Units and normalisation: nsdAt1Hz in V/√Hz; samples in volts. The processes are
// scaled at each sample rate so that the sum's one-sided density at 1 Hz is exactly
// nsdAt1Hz, hence nsdAt1Hz·√(1 Hz / f) at f. From rate / 2^20 to a quarter of the rate
// the density stays within 2 % of that line; towards half the rate the discrete
// processes rise above it by up to 14 %. The rate must exceed 2 per second, so that
// 1 Hz lies below half of it.
#pragma once

#include <cstdint>
#include <vector>

#include "drivers/GaussianSource.h"

class FlickerNoise {
 public:
  FlickerNoise(double nsdAt1Hz, std::uint64_t seed);

  // The next sample of a stream at samplesPerSecond (> 2, else std::invalid_argument).
  // A new rate re-tunes the processes and starts them afresh from their stationary
  // spread, so a stream shows no settling at any rate.
  double Next(double samplesPerSecond);

  // An upper bound of |Next| at any rate, in volts (finite for a finite density).
  static double LargestMagnitude(double nsdAt1Hz);

 private:
  void Tune(double samplesPerSecond);

  double nsdAt1Hz_;
  GaussianSource noise_;
  double rate_ = 0.0;
  std::vector<double> feedback_;  // a of each process
  std::vector<double> drive_;     // b of each process, volts
  std::vector<double> state_;     // x of each process, volts
};
