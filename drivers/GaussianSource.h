// The seeded random sources behind every noise of the simulation. Deterministic: the
// same seed and the same order of calls give the same values on every platform (the
// generator is the standard 64-bit Mersenne Twister, the Gaussian shaping is done
// here rather than by the library's distribution).
#pragma once

#include <cstdint>
#include <random>

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

// The seed of one of several independent streams drawn from one seed (the SplitMix64
// finaliser), so that adding a stream never changes the values of another.
std::uint64_t DeriveSeed(std::uint64_t seed, std::uint64_t stream);
