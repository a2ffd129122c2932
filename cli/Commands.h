// The three commands of zemtra-cli. Each returns the process's exit code and writes
// its report to out and its messages to err.
#pragma once

#include <atomic>
#include <cstdio>

#include "cli/Options.h"

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitInvalidSettings = 2;
inline constexpr int kExitUnit = 3;    // not found, not responding, set-up failed, start refused
inline constexpr int kExitRead = 4;    // a read failed during the acquisition
inline constexpr int kExitLevel = 5;   // input level out of range
inline constexpr int kExitFile = 6;    // a file could not be read or written
inline constexpr int kExitUsage = 64;  // invalid command line
inline constexpr int kExitInterrupted = 130;

struct CliIo {
  std::FILE* out = stdout;
  std::FILE* err = stderr;
  bool stdinIsTerminal = false;
  bool stderrIsTerminal = false;
  const std::atomic<bool>* interrupted = nullptr;  // set by Ctrl-C
};

int RunMeasure(const CliOptions& options, const CliIo& io);
int RunAnalyze(const CliOptions& options, const CliIo& io);
int RunSettings(const CliOptions& options, const CliIo& io);
