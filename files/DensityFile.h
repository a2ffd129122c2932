// The noise-density text file (CSV): a header line, then one line per line of the
// density above DC, "frequency,density" with the frequency in Hz and the density in
// V/√Hz, each the shortest text that reads back as the exact double ('.' decimal
// point, exponent form where shorter). Lines end in CR LF, as in every file of the
// program and as CSV asks.
//
// The density is as WelchDensity::Density gives it: line k at k·deltaF Hz, k = 0 …
// size − 1; line 0 (the mean's share) is not written.
#pragma once

#include <span>
#include <string>
#include <string_view>

inline constexpr std::string_view kDensityCsvHeader = "frequency_Hz,density_V/rtHz";

std::string DensityCsv(std::span<const double> density, double deltaF);
