// The text files (CSV) of the measurement figures, written like the noise density
// file: a header line, then one line per row, each number the shortest text that
// reads back as the exact double ('.' decimal point), lines ending in CR LF.
//
// Histogram: "code,count,gauss" — the first code of each bin (offset binary, as the
// unit delivers it), the samples in the bin, the count the record's Gaussian predicts
// (CodeHistogram.h). Allan deviation: "tau_s,adev_v,terms" — τ in seconds, the
// deviation in volts, the differences averaged (AllanDeviation.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/AllanDeviation.h"
#include "analysis/CodeHistogram.h"

inline constexpr std::string_view kHistogramCsvHeader = "code,count,gauss";
inline constexpr std::string_view kAllanCsvHeader = "tau_s,adev_v,terms";

std::string HistogramCsv(const CodeHistogram& histogram);
std::string AllanCsv(const std::vector<AllanPoint>& points);
