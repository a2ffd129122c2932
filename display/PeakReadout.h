// The numeric readout of one spectrum bin (amplitude, level and frequency), the search
// for the highest bin, and the bin under a horizontal position of the spectrum box.
// Usable without a graph, e.g. by the command-line tool's report.
#pragma once

#include <string>

#include "model/Records.h"

// Text shown in the readout fields when there is no bin to show.
inline constexpr const char* kNoReadout = "---";

// An RMS amplitude in volts as "0.000" with its unit "Vrms", "mVrms", "uVrms" or "nVrms".
struct AmplitudeText {
  std::string value;
  std::string unit;
  friend bool operator==(const AmplitudeText&, const AmplitudeText&) = default;
};
AmplitudeText FormatAmplitude(float volts);

// The readout of one bin. When the bin lies outside the record's spectrum the three
// texts are "---" and the unit is empty (the caller keeps the unit it shows).
struct PeakTexts {
  std::string volt;  // amplitude, "0.000"
  std::string dB;    // displayed level, "0.00"
  std::string hz;    // frequency, "0.000"
  std::string unit;  // unit of the amplitude
  friend bool operator==(const PeakTexts&, const PeakTexts&) = default;
};

// Whether bin lies in 1 … ad_dnum/2 - 1 of the record (and in its spectrum array).
bool BinInSpectrum(const MeasureData& data, int bin);
// The readout of bin with its displayed level displayDb (as drawn).
PeakTexts PeakTextsOf(const MeasureData& data, int bin, float displayDb);
// The displayed level of a bin as the graph draws it alone: dBV, or dB relative to the
// record's largest bin, limited at the bottom of the level range.
float DisplayDbOfBin(const MeasureData& data, int bin, const FftSetting& setting);
// The readout of a bin for callers without a graph.
PeakTexts PeakTextsOf(const MeasureData& data, int bin, const FftSetting& setting);

// The highest bin among 1 … ad_dnum/2 - 1; ties keep the lower bin; 1 when all are 0.
int FindPeakBin(const MeasureData& data);

// The bin under x of a spectrum box `width` pixels wide, for a spectrum of frequency
// step freqStep (Hz), on the frequency scale the settings select: on the logarithmic
// scale the bin below the frequency under x, on the linear scale the bin nearest to
// it. -1 when there is none (invalid range or step, empty box, the two ends of the
// logarithmic scale coinciding, or a bin beyond any integer).
int BinAtX(int width, int x, const FftSetting& setting, float freqStep);
