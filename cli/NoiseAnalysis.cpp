#include "cli/NoiseAnalysis.h"

#include "ui/NumberFormat.h"

namespace {

int SegmentLength(const NoiseOptions& options, int samples) { return options.segments.value_or(samples); }

// "0.1:10" as given; "0.0732421875 to 2399.9267578125 Hz".
std::string BandText(const FrequencyBand& band) { return FormatRoundTrip(band.f1) + ":" + FormatRoundTrip(band.f2); }
std::string RangeText(const FrequencyRange& range) {
  return FormatRoundTrip(range.low) + " to " + FormatRoundTrip(range.high) + " Hz";
}

}  // namespace

std::string NoiseProblem(const NoiseOptions& options, int samples, int samplesPerSecond) {
  const int length = SegmentLength(options, samples);
  if (length > samples) {
    return "--segments " + FormatInteger(length) + " is longer than the record (" + FormatInteger(samples) +
           " samples)";
  }
  if (samplesPerSecond <= 0) return "the record's data rate is unknown, so it has no noise density";
  const auto band = options.ReportedBand();
  if (!band) return {};
  const double deltaF = static_cast<double>(samplesPerSecond) / length;
  const FrequencyRange range = DensityRange(deltaF, length / 2);
  if (band->f1 >= range.low && band->f2 <= range.high) return {};
  const char* hint = band->f1 < range.low ? " (more samples, longer --segments or a lower rate reach lower)"
                                          : " (a higher rate reaches higher)";
  return "the band " + BandText(*band) + " Hz lies outside the measured range " + RangeText(range) + hint;
}

NoiseAnalysis::NoiseAnalysis(const NoiseOptions& options, const FftSetting& fft, int samples, int samplesPerSecond)
    : setting_(fft),
      fft_(setting_),
      welch_(fft_, DensityOptionsOf(fft, SegmentLength(options, samples), samplesPerSecond)),
      band_(options.ReportedBand()) {}

void NoiseAnalysis::Add(const MeasureData& record) {
  welch_.AddRecord(std::span<const float>(record.volt, static_cast<std::size_t>(record.ad_dnum)));
}

NoiseResults NoiseAnalysis::Results() const {
  NoiseResults results;
  results.segmentLength = 2 * welch_.Lines();
  results.spectra = welch_.Segments();
  results.deltaF = welch_.DeltaF();
  results.density = welch_.Density();
  for (const SpotFrequency& spot : kSpotFrequencies) {
    if (const auto value = SpotDensity(results.density, results.deltaF, spot.hertz)) {
      results.spots.push_back({spot, *value});
    }
  }
  if (band_) results.band = BandNoiseOf(results.density, results.deltaF, band_->f1, band_->f2);
  return results;
}
