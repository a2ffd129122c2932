#include "files/DensityFile.h"

#include "ui/NumberFormat.h"

namespace {
constexpr std::string_view kLineEnd = "\r\n";
}  // namespace

std::string DensityCsv(std::span<const double> density, double deltaF) {
  std::string text(kDensityCsvHeader);
  text += kLineEnd;
  for (std::size_t k = 1; k < density.size(); ++k) {
    text += FormatRoundTrip(deltaF * static_cast<double>(k));
    text += ',';
    text += FormatRoundTrip(density[k]);
    text += kLineEnd;
  }
  return text;
}
