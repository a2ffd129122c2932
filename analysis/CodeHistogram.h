// The histogram of a record's codes beside the counts a Gaussian predicts.
//
// Bins of binCodes codes (1 while the record's range spans at most kMaxHistogramBins
// codes, else the least power of two that keeps within that many bins) cover
// minCode … maxCode; bin i holds the codes firstCode + i·binCodes … + binCodes − 1.
// counts[i] is the number of samples in bin i; gauss[i] is the number a normal
// distribution of the record's mean and σ (ConverterNoise) predicts there:
// N·(Φ((hi − mean)/σ) − Φ((lo − mean)/σ)) with the bin's edges lo, hi half a code
// outside its first and last code; for σ = 0, N in the mean's bin.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "analysis/ConverterNoise.h"

inline constexpr std::int64_t kMaxHistogramBins = 65536;

struct CodeHistogram {
  std::int32_t firstCode = 0;
  std::int64_t binCodes = 1;
  std::vector<std::int64_t> counts;
  std::vector<double> gauss;

  // The first code of bin i.
  std::int64_t CodeOf(std::size_t i) const { return firstCode + static_cast<std::int64_t>(i) * binCodes; }
};

// The histogram of codes whose figures noise holds (ConverterNoiseOf of the same codes).
CodeHistogram CodeHistogramOf(std::span<const std::int32_t> codes, const ConverterNoise& noise);
