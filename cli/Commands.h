// The three commands of zemtra-cli. Each returns the process's exit code and writes
// its report to out and its messages to err.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli/Interruption.h"
#include "cli/Options.h"
#include "files/AtomicFile.h"

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitInvalidSettings = 2;
inline constexpr int kExitUnit = 3;         // not found, not responding, set-up failed, start refused
inline constexpr int kExitRead = 4;         // a read failed during the acquisition
inline constexpr int kExitLevel = 5;        // input level out of range
inline constexpr int kExitFile = 6;         // a file could not be read or written
inline constexpr int kExitUsage = 64;       // invalid command line
inline constexpr int kExitReportLost = 74;  // the report could not be written to stdout
// A signal ends a run with 128 + its number: 130 for Ctrl-C (SIGINT), 143 for SIGTERM
// (Interruption::ExitCode).

struct CliIo {
  std::FILE* out = stdout;
  std::FILE* err = stderr;
  int in = STDIN_FILENO;  // answers to the overwrite question
  bool stdinIsTerminal = false;
  bool stderrIsTerminal = false;
  const Interruption* interruption = nullptr;  // none: nothing interrupts the run
  FileCalls* fileCalls = &SystemFileCalls();   // the system calls of every file writer
};

int RunMeasure(const CliOptions& options, const CliIo& io);
int RunAnalyze(const CliOptions& options, const CliIo& io);
int RunSettings(const CliOptions& options, const CliIo& io);
// The one of the three that options.command names.
int RunCommand(const CliOptions& options, const CliIo& io);

// Writes text (which may hold any byte) to out and flushes it; false when any of it
// was lost (a full device, a closed stream).
bool WriteReport(std::FILE* out, const std::string& text);
