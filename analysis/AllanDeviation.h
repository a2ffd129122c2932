// The overlapping Allan deviation of a record, the measure of drift against averaging
// time.
//
// For samples y[0 … N−1] in volts at rate samples per second and an averaging factor
// m, with ȳ_j the mean of y[j … j+m−1]:
//   σ²(τ) = Σ_{j=0}^{N−2m} (ȳ_{j+m} − ȳ_j)² / (2·(N − 2m + 1)),   τ = m / rate,
// every start j used (overlapping). terms = N − 2m + 1. White noise of RMS σ gives
// σ/√m; 1/f noise of density A/√f (A in V/√Hz at 1 Hz) gives the flat A·√(2·ln 2).
//
//   tauSeconds  τ, s
//   adevVolts   σ(τ), V
//   terms       the differences averaged
// m runs 1, 2, 4, … while at least kMinAllanTerms terms remain.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

inline constexpr std::int64_t kMinAllanTerms = 8;

struct AllanPoint {
  double tauSeconds = 0.0;
  double adevVolts = 0.0;
  std::int64_t terms = 0;
};

// The deviation of codes (one code being voltsPerCode volts, meanCode their mean)
// taken at sampleRate samples per second (> 0); empty for fewer than kMinAllanTerms + 1
// codes.
std::vector<AllanPoint> AllanDeviationOf(std::span<const std::int32_t> codes, double meanCode, double voltsPerCode,
                                         double sampleRate);
