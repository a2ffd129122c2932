// The desktop program's command line: zemtra [--simulate[=CONFIG]] [--device=...] [--lang=en|ja] [--help]
// [--version].
// The unit options take the command-line tool's grammar; the driver choice
// (drivers/DriverChoice.h) checks their values.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/Language.h"

struct ProgramOptions {
  std::optional<std::string> simulate;  // --simulate[=CONFIG]; empty CONFIG = demonstration signal
  std::optional<std::string> device;    // --device=…
  std::optional<Language> language;     // --lang=…: overrides the locale's choice
  bool help = false;
  bool version = false;  // --version: print the version line
};

struct ProgramOptionsParse {
  ProgramOptions options;
  std::string error;  // one line naming the argument; empty when valid
};

// Parses the arguments after the program name.
ProgramOptionsParse ParseProgramOptions(const std::vector<std::string>& args);

// The text of --help.
std::string ProgramHelpText();

// The program's exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitAlreadyRunning = 1;  // another copy runs for this user
inline constexpr int kExitUsage = 64;          // an invalid option
inline constexpr int kExitFailure = 70;        // the window could not be created (no display, no private
                                               // directory for the single-copy lock)
inline constexpr int kExitDisplayLost = 74;    // the connection to the display was lost
inline constexpr int kExitSignalBase = 128;    // + the number of SIGTERM, SIGINT or SIGHUP: closed by it
