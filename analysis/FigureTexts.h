// The figures of a measurement as plain text, one line per kind of figure: the lines
// of zemtra-cli's summary, and what the analysis window copies to the clipboard. The
// numbers keep '.' as their decimal point whatever the locale (ui/NumberFormat.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/AllanDeviation.h"
#include "analysis/ConverterNoise.h"
#include "analysis/NoiseFigures.h"
#include "analysis/ToneMetrics.h"

// A value in volts (or V/√Hz with suffix "/√Hz") with four significant digits in the
// largest unit that keeps it at 1 or more: "213.0 nV", "1.406 µV", "20.41 nV/√Hz".
std::string VoltText(double volts, const char* suffix = "");
// "0.1 Hz", "2400 Hz": the shortest text that reads back as the value.
std::string HertzText(double hertz);
// "∞" for a figure of a noiseless record, else the value with `decimals` decimals.
std::string FigureText(double value, int decimals);
// A positive value with four significant digits: "0.0002083", "1.707", "13.65".
std::string SignificantText(double value);

// "noise: σ … full scale\n"
std::string ConverterNoiseText(const ConverterNoise& noise);
// "tone: … bits\n"; for none, why: a record of fewer than kMinToneSamples samples, or
// no tone clear of the noise.
std::string ToneText(const std::optional<ToneMetrics>& tone, int samples);
// "Allan deviation: τ s σ; …\n", or why there is none.
std::string AllanText(const std::vector<AllanPoint>& allan);
// "band F1 to F2 Hz: … RMS, … peak-to-peak (6.6 × RMS), N lines\n"
std::string BandNoiseText(const BandNoise& band);
