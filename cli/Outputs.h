// The files one run of measure or analyze writes, as one table, so that every kind of
// output gets the same treatment: the check that no two of them (nor an output and an
// input) name the same file, the refusal of targets that are no regular files, the
// overwrite question and --yes (inside each writer), the interruption by a signal,
// and its entry in the report. A new kind of output is one more row.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "cli/Interruption.h"
#include "cli/Report.h"
#include "files/AskedWrite.h"

// A file the run reads.
struct InputFile {
  std::string role;  // how messages name it: "--settings", "the data file"
  std::string path;
};

// A file the run writes.
struct OutputFile {
  std::string role;                    // how messages name it: "--out", "--fft", "--png", "--pdf", "the automatic save"
  std::string kind;                    // its key in the report: "autosave", "data", "fft", "png", "pdf"
  std::string path;                    // the target, with the writer's extension rule applied
  std::string failureText;             // the message when it cannot be written
  std::function<WriteResult()> write;  // asks before replacing an existing file
  bool toStdout = false;               // text for the standard output: no file, no question
};

// "A and B name the same file: PATH" for the first two entries that name one file
// where at least one is an output, or "A and B both write to the standard output";
// empty when there are none.
std::string SameFileConflict(const std::vector<InputFile>& inputs, const std::vector<OutputFile>& outputs);

// Attempts every output in order, each on its own: a failure does not stop the next
// one. Once a signal came none is started any more. Failures are reported on err,
// with the system's reason that takeError gives after a failed write (an errno
// value, 0 when it knows none).
std::vector<WrittenFile> WriteOutputs(const std::vector<OutputFile>& outputs, const Interruption* interruption,
                                      std::FILE* err, const std::function<int()>& takeError = {});

// True when any output goes to the standard output (the report then goes to stderr).
bool AnyToStdout(const std::vector<OutputFile>& outputs);

// True when any file was asked for and not written for another reason than the
// user's choice or a signal.
bool AnyFileFailed(const std::vector<WrittenFile>& files);
