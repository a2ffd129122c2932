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
#include "cli/Json.h"
#include "cli/NoiseAnalysis.h"

enum class FileOutcome {
  Written,         // the file holds the new content
  Declined,        // an existing file was kept (the user said no, or no terminal and no --yes)
  Failed,          // it could not be written; an existing file stays as it was
  NotRegularFile,  // the target is a device, FIFO, socket or directory: left alone
  Interrupted,     // a signal came first: not written
};

struct WrittenFile {
  std::string kind;  // "autosave", "data", "fft", "csv", "spectrum_csv", "png", "pdf", "nsd" or "nsd_png"
  std::string path;  // "-": the standard output
  FileOutcome outcome = FileOutcome::Failed;
  int error = 0;  // a failed file: the errno value of the system call that failed, 0 when none did
};

// The reason given for a file that was not written: "declined", "not a regular
// file", "interrupted", for a failed one the system's reason ("No space left on
// device") or "failed" when no system call failed; empty for a written one.
std::string ReasonOf(const WrittenFile& file);

struct MeasurementReport {
  MeasurementResults results;
  std::vector<WrittenFile> files;
  int averages = 1;                           // acquisitions whose spectra were RMS-averaged
  std::optional<NoiseResults> noise;          // when the noise density was asked for
  std::optional<MeasurementFigures> figures;  // the figures of the (last) record
  FigureOptions figuresAsked;                 // --tone and --allan add theirs to the report
};

std::string ReportJson(const MeasurementReport& report);
// The files' entries: a "files" object of the JSON report, one line each for the summary.
void FilesJson(const std::vector<WrittenFile>& files, JsonWriter& w);
std::string FilesText(const std::vector<WrittenFile>& files);
// For a terminal: bytes from files and from the unit (paths, start time, the unit's
// replies) are shown with their control characters escaped (VisibleText).
std::string ReportText(const MeasurementReport& report);
