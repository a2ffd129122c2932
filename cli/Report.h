// What the command-line tool reports about one analysed measurement: the numbers
// behind the main window's readouts, the exact texts it would show, and what became
// of every file asked for, as a human-readable summary or one JSON object.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/MeasurementFigures.h"
#include "app/Results.h"
#include "cli/FigureOptions.h"
#include "cli/NoiseAnalysis.h"

enum class FileOutcome {
  Written,         // the file holds the new content
  Declined,        // an existing file was kept (the user said no, or no terminal and no --yes)
  Failed,          // it could not be written; an existing file stays as it was
  NotRegularFile,  // the target is a device, FIFO, socket or directory: left alone
  Interrupted,     // a signal came first: not written
};

// The reason given for a file that was not written: "declined", "failed",
// "not a regular file", "interrupted"; empty for a written one.
const char* ReasonOf(FileOutcome outcome);

struct WrittenFile {
  std::string kind;  // "autosave", "data", "fft", "png", "pdf", "nsd" or "nsd_png"
  std::string path;
  FileOutcome outcome = FileOutcome::Failed;
};

struct MeasurementReport {
  MeasurementResults results;
  std::vector<WrittenFile> files;
  int averages = 1;                           // acquisitions whose spectra were RMS-averaged
  std::optional<NoiseResults> noise;          // when the noise density was asked for
  std::optional<MeasurementFigures> figures;  // the figures of the (last) record
  FigureOptions figuresAsked;                 // --tone and --allan add theirs to the report
};

std::string ReportJson(const MeasurementReport& report);
// For a terminal: bytes from files and from the unit (paths, start time, the unit's
// replies) are shown with their control characters escaped (VisibleText).
std::string ReportText(const MeasurementReport& report);
