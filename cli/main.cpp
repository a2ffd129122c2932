// zemtra-cli: scripted measurement and analysis with the QT4418PX.
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Options.h"

namespace {

std::atomic<bool> gInterrupted{false};

extern "C" void OnInterrupt(int /*signal*/) { gInterrupted.store(true); }

const char* CommandName(CliCommand command) {
  switch (command) {
    case CliCommand::Measure:
      return "measure";
    case CliCommand::Analyze:
      return "analyze";
    case CliCommand::Settings:
      return "settings";
  }
  return "";
}

// Qt's offscreen platform (used for --png) complains on stderr when the session has no
// runtime directory, as over SSH or in CI; give it the one it would fall back to.
void EnsureRuntimeDirectory() {
  if (std::getenv("XDG_RUNTIME_DIR") != nullptr) return;
  constexpr mode_t kPrivate = 0700;
  const std::string dir = "/tmp/runtime-" + std::to_string(getuid());
  mkdir(dir.c_str(), kPrivate);
  setenv("XDG_RUNTIME_DIR", dir.c_str(), 0);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const CliParse parse = ParseCommandLine(args);
  if (!parse.error.empty()) {
    std::fprintf(stderr, "zemtra-cli: %s\n", parse.error.c_str());
    return kExitUsage;
  }
  const CliOptions& options = parse.options;
  if (options.help) {
    const bool commandGiven =
        !args.empty() && args.front() != "--help" && args.front() != "-h" && args.front() != "help";
    std::fputs(HelpText(commandGiven ? CommandName(options.command) : "").c_str(), stdout);
    return kExitOk;
  }

  EnsureRuntimeDirectory();
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
  CliIo io;
  io.stdinIsTerminal = isatty(STDIN_FILENO) == 1;
  io.stderrIsTerminal = isatty(STDERR_FILENO) == 1;
  io.interrupted = &gInterrupted;

  switch (options.command) {
    case CliCommand::Measure:
      return RunMeasure(options, io);
    case CliCommand::Analyze:
      return RunAnalyze(options, io);
    case CliCommand::Settings:
      return RunSettings(options, io);
  }
  return kExitUsage;
}
