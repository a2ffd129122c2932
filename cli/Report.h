// What the command-line tool reports about one analysed measurement: the numbers
// behind the main window's readouts, the exact texts it would show, and the files
// written, as a human-readable summary or one JSON object.
#pragma once

#include <string>
#include <vector>

#include "app/Results.h"

struct WrittenFile {
  std::string kind;  // "data", "fft", "png" or "pdf"
  std::string path;
  bool written = false;  // false when the user declined to replace an existing file
};

struct MeasurementReport {
  MeasurementResults results;
  std::vector<WrittenFile> files;
};

std::string ReportJson(const MeasurementReport& report);
std::string ReportText(const MeasurementReport& report);
