#include "files/MeasureCsv.h"

#include "ui/NumberFormat.h"

namespace {
constexpr std::string_view kLineEnd = "\r\n";
}  // namespace

std::string SamplesCsv(const MeasureData& data, double samplesPerSecond) {
  std::string text(kSamplesCsvHeader);
  text += kLineEnd;
  for (std::int32_t i = 0; i < data.ad_dnum; ++i) {
    text += FormatRoundTrip(i / samplesPerSecond);
    text += ',';
    text += FormatInteger(data.adCode[i]);
    text += ',';
    text += FormatRoundTripFloat(data.volt[i]);
    text += kLineEnd;
  }
  return text;
}

std::string SpectrumCsv(const MeasureData& data) {
  std::string text(kSpectrumCsvHeader);
  text += kLineEnd;
  const double step = data.deltaF;  // widened exactly; k × step is exact in double
  for (std::int32_t k = 1; k < data.ad_dnum / 2; ++k) {
    text += FormatRoundTrip(k * step);
    text += ',';
    text += FormatRoundTripFloat(data.spectrum[k]);
    text += kLineEnd;
  }
  return text;
}
