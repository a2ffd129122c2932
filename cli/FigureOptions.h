// The options of zemtra-cli for the measurement figures beyond the noise figures,
// which are always reported: the tone, the Allan deviation, the histogram and their
// files (analysis/MeasurementFigures.h).
#pragma once

#include <string>
#include <string_view>

struct FigureOptions {
  bool tone = false;         // --tone: report the tone metrics
  bool allan = false;        // --allan: report the Allan deviation
  std::string histogram;     // --histogram FILE.csv
  std::string allanCsv;      // --allan-csv FILE.csv
  std::string histogramPng;  // --histogram-png FILE.png
  std::string allanPng;      // --allan-png FILE.png
};

enum class FigureOptionKind {
  None,    // not a figure option
  Switch,  // takes no value
  File,    // takes a file name (taken as the other output file names)
};
FigureOptionKind FigureOptionOf(std::string_view name);

// Sets a switch (--tone, --allan) of the figures.
void ApplyFigureSwitch(std::string_view name, FigureOptions& figures);
// The file name a file option sets.
std::string& FigureFileOf(std::string_view name, FigureOptions& figures);
