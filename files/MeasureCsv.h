// The measurement as CSV for other tools (numpy, spreadsheets): a header line naming
// each column with its unit, then one line of plain numbers per row, each the
// shortest text that reads back as the exact value ('.' decimal point, exponent form
// where shorter). Lines end in CR LF, as in every file of the program.
//
// Samples: "time_s,code,volts", one line per sample: i / rate seconds after the first
// sample, the converter code, the voltage.
// Spectrum: "frequency_hz,rms_v", lines 1 … ad_dnum/2 − 1 as the spectrum text file
// holds them, at k · deltaF Hz exactly (not rounded to three decimals), in RMS volts.
#pragma once

#include <string>
#include <string_view>

#include "model/Records.h"

inline constexpr std::string_view kSamplesCsvHeader = "time_s,code,volts";
inline constexpr std::string_view kSpectrumCsvHeader = "frequency_hz,rms_v";

std::string SamplesCsv(const MeasureData& data, double samplesPerSecond);
std::string SpectrumCsv(const MeasureData& data);
