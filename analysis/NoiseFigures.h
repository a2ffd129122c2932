// Figures read from a noise density: the frequency range it covers, the spot density
// at a frequency, and the noise in a band.
//
// The density is given as WelchDensity::Density gives it: V/√Hz per line k at
// k·deltaF Hz, k = 0 … lines − 1, line 0 the mean's share (never used here). Frequencies
// in Hz, densities in V/√Hz, noise in volts.
#pragma once

#include <optional>
#include <span>

// Peak-to-peak noise as a multiple of its RMS value, the customary figure: a Gaussian
// noise stays within ±3.3 RMS 99.9 % of the time.
inline constexpr double kPeakToPeakPerRms = 6.6;

// A frequency band in Hz, 0 < f1 < f2.
struct FrequencyBand {
  double f1 = 0.0;
  double f2 = 0.0;
};

// The band of reference and LDO data sheets, reported by default.
inline constexpr FrequencyBand kDefaultNoiseBand{0.1, 10.0};

// The shortest Welch segment the noise figures take: a shorter one resolves too little
// of the low frequencies the band noise is about.
inline constexpr int kMinWelchSegment = 256;

struct FrequencyRange {
  double low = 0.0;   // the lowest line above DC: deltaF
  double high = 0.0;  // the highest line: (lines − 1)·deltaF
};
FrequencyRange DensityRange(double deltaF, int lines);

// The density at f: the power mean over the lines within the third of an octave
// centred on f (f / 2^(1/6) … f·2^(1/6)), or the nearest line when none lies there.
// Averaging a few neighbours steadies the reading; on a 1/f slope the mean is the
// density at f to within 0.3 %. None when f lies outside DensityRange.
std::optional<double> SpotDensity(std::span<const double> density, double deltaF, double f);

struct BandNoise {
  double f1 = 0.0;
  double f2 = 0.0;
  double rmsVolts = 0.0;
  double ppVolts = 0.0;  // kPeakToPeakPerRms × rmsVolts
  int lines = 0;         // lines that contributed
};
// The noise in [f1, f2]: the root of the density's square integrated over the band,
// each line k ≥ 1 standing for the interval (k ± ½)·deltaF and counting with the part
// of it inside the band. None unless f1 < f2 and both lie inside DensityRange.
std::optional<BandNoise> BandNoiseOf(std::span<const double> density, double deltaF, double f1, double f2);
