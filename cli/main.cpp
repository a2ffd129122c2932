// zemtra-cli: scripted measurement and analysis with the QT4418PX.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Interruption.h"
#include "cli/Options.h"
#include "model/Language.h"
#include "model/TextCatalogue.h"
#include "model/Version.h"

namespace {

const char* CommandName(CliCommand command) {
  switch (command) {
    case CliCommand::Measure:
      return "measure";
    case CliCommand::Analyze:
      return "analyze";
    case CliCommand::Settings:
      return "settings";
    case CliCommand::Scan:
      return "scan";
    case CliCommand::Recover:
      return "recover";
  }
  return "";
}

// A standard descriptor the caller closed would be handed to the next file opened,
// and the report would land in a data file. Each closed one is taken by /dev/null,
// opened for reading only: reads find nothing and writes fail, so a lost report is
// still noticed.
void OccupyClosedStandardDescriptors() {
  for (const int fd : std::array{STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = ::open("/dev/null", O_RDONLY);
    if (opened >= 0 && opened != fd) {
      ::dup2(opened, fd);
      ::close(opened);
    }
  }
}

// Qt's offscreen platform (used for --png and --pdf) complains on stderr when the session has no
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
  OccupyClosedStandardDescriptors();
  const std::vector<std::string> args(argv + 1, argv + argc);
  const CliParse parse = ParseCommandLine(args);
  if (!parse.error.empty()) {
    std::fprintf(stderr, "zemtra-cli: %s\n", parse.error.c_str());
    return kExitUsage;
  }
  const CliOptions& options = parse.options;
  if (options.version) return WriteReport(stdout, VersionLine("zemtra-cli")) ? kExitOk : kExitReportLost;
  if (options.help) {
    const bool commandGiven =
        !args.empty() && args.front() != "--help" && args.front() != "-h" && args.front() != "help";
    return WriteReport(stdout, HelpText(commandGiven ? CommandName(options.command) : "")) ? kExitOk : kExitReportLost;
  }

  SetTextLanguage(ChooseLanguage(options.language, LocaleVariablesFromEnvironment()));
  EnsureRuntimeDirectory();
  Interruption interruption;
  CatchInterrupts(interruption);
  CliIo io;
  io.stdinIsTerminal = isatty(STDIN_FILENO) == 1;
  io.stderrIsTerminal = isatty(STDERR_FILENO) == 1;
  io.interruption = &interruption;
  return RunCommand(options, io);
}
