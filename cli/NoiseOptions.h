// The noise options of zemtra-cli: RMS averaging of several acquisitions, Welch
// segments, the noise density report, the band noise and the density files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "analysis/NoiseFigures.h"

struct NoiseOptions {
  int average = 1;                    // --average N: acquisitions RMS-averaged (measure), 1 … 1000
  std::optional<int> segments;        // --segments L: Welch segment length, a power of two ≥ 256
  bool density = false;               // --density: report the density and the band noise
  std::optional<FrequencyBand> band;  // --band F1:F2
  std::string nsd;                    // --nsd FILE.csv (taken as the other output file names)
  std::string nsdPng;                 // --nsd-png FILE.png

  // Whether the noise density is computed: any of --density, --band, --nsd, --nsd-png.
  bool Wanted() const { return density || band || !nsd.empty() || !nsdPng.empty(); }
  // The band reported: --band, else 0.1 … 10 Hz with --density, else none.
  std::optional<FrequencyBand> ReportedBand() const;
};

// How a noise option other than a file name is given on the command line.
enum class NoiseOptionKind {
  None,          // not a noise option
  Switch,        // takes no value
  Value,         // takes a value (measure and analyze)
  MeasureValue,  // takes a value, measure only
};
NoiseOptionKind NoiseOptionOf(std::string_view name);

// Applies one noise option with its value (none for a switch); one line naming the
// option and what is allowed, or empty when it is valid.
std::string ApplyNoiseOption(std::string_view name, const std::optional<std::string>& value, NoiseOptions& noise);

// The checks across options once all are read; an error line or empty.
std::string CheckNoiseOptions(const NoiseOptions& noise);
