// The noise analysis of zemtra-cli: the Welch density of every record measured or
// loaded, read at the customary spot frequencies and integrated over the band asked
// for (analysis/NoiseDensity.h and NoiseFigures.h give the units).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/NoiseDensity.h"
#include "analysis/NoiseFigures.h"
#include "cli/NoiseOptions.h"
#include "model/Records.h"

// The spot frequencies of the report, in Hz, and their JSON keys.
struct SpotFrequency {
  double hertz;
  const char* key;
};
inline constexpr SpotFrequency kSpotFrequencies[] = {
    {1.0, "at_1hz"}, {10.0, "at_10hz"}, {100.0, "at_100hz"}, {1000.0, "at_1khz"}};

struct SpotDensityValue {
  SpotFrequency at;
  double voltsPerRootHertz = 0.0;
};

struct NoiseResults {
  int segmentLength = 0;                // samples per spectrum
  int spectra = 0;                      // spectra averaged (segments of every record)
  double deltaF = 0.0;                  // Hz
  std::vector<double> density;          // V/√Hz per line, line 0 the mean's share
  std::vector<SpotDensityValue> spots;  // those of kSpotFrequencies inside the range
  std::optional<BandNoise> band;        // the band asked for
};

// Whether records of `samples` at `samplesPerSecond` can give what the options ask:
// the segments fit the record and the band lies inside the range of the density.
// Empty when they can; otherwise one line naming the problem (and the range).
std::string NoiseProblem(const NoiseOptions& options, int samples, int samplesPerSecond);

class NoiseAnalysis {
 public:
  // With the window, correction and mean removal of fft; the options must have passed
  // NoiseProblem for these samples and rate.
  NoiseAnalysis(const NoiseOptions& options, const FftSetting& fft, int samples, int samplesPerSecond);
  NoiseAnalysis(const NoiseAnalysis&) = delete;
  NoiseAnalysis& operator=(const NoiseAnalysis&) = delete;

  // Adds the segments of a record's volts.
  void Add(const MeasureData& record);
  NoiseResults Results() const;

 private:
  FftSetting setting_;  // the engine keeps a reference
  TmyFFT fft_;
  WelchDensity welch_;
  std::optional<FrequencyBand> band_;
};
