#include "analysis/AllanDeviation.h"

#include <cmath>

namespace {

constexpr int kLanes = 4;

// m·(ȳ_{j+m} − ȳ_j) from the running sums s, in codes.
double Difference(const double* s, std::int64_t j, std::int64_t m) { return s[j + 2 * m] - 2.0 * s[j + m] + s[j]; }

}  // namespace

std::vector<AllanPoint> AllanDeviationOf(std::span<const std::int32_t> codes, double meanCode, double voltsPerCode,
                                         double sampleRate) {
  const auto n = static_cast<std::int64_t>(codes.size());
  // Running sums of the codes about their mean give each m's differences of means in
  // one pass; about the mean they stay as small as the record's wander, so their
  // differences keep the precision of a double.
  std::vector<double> sums(static_cast<std::size_t>(n + 1), 0.0);
  for (std::int64_t j = 0; j < n; ++j) {
    sums[static_cast<std::size_t>(j + 1)] =
        sums[static_cast<std::size_t>(j)] + (codes[static_cast<std::size_t>(j)] - meanCode);
  }
  std::vector<AllanPoint> points;
  for (std::int64_t m = 1; n - 2 * m + 1 >= kMinAllanTerms; m *= 2) {
    const std::int64_t terms = n - 2 * m + 1;
    const double* s = sums.data();
    // Partial sums side by side, so the additions need not wait for one another.
    double partial[kLanes] = {};
    std::int64_t j = 0;
    for (; j + kLanes <= terms; j += kLanes) {
      for (int lane = 0; lane < kLanes; ++lane) {
        const double d = Difference(s, j + lane, m);
        partial[lane] += d * d;
      }
    }
    for (; j < terms; ++j) {
      const double d = Difference(s, j, m);
      partial[0] += d * d;
    }
    double squares = 0.0;
    for (const double p : partial) squares += p;
    const double md = static_cast<double>(m);
    const double variance = squares / (2.0 * md * md * static_cast<double>(terms));
    points.push_back({md / sampleRate, std::sqrt(variance) * voltsPerCode, terms});
  }
  return points;
}
