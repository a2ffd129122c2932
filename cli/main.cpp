// zemtra-cli: scripted measurement and analysis with the QT4418PX.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Console.h"
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

}  // namespace

int main(int argc, char** argv) {
  PrepareProcess();
  const std::vector<std::string> args = CommandLineArguments(argc, argv);
  const CliParse parse = ParseCommandLine(args);
  if (!parse.error.empty()) {
    std::fprintf(stderr, "zemtra-cli: %s\n", parse.error.c_str());
    return kExitUsage;
  }
  const CliOptions& options = parse.options;
  if (options.version) return WriteReport(stdout, VersionLine("zemtra-cli")) ? kExitOk : kExitReportLost;
  if (options.help) {
    return WriteReport(stdout, HelpText(options.commandGiven ? CommandName(options.command) : "")) ? kExitOk : kExitReportLost;
  }

  SetTextLanguage(ChooseLanguage(options.language, LocaleVariablesFromEnvironment()));
  Interruption interruption;
  CatchInterrupts(interruption);
  CliIo io;
  io.stdinIsTerminal = isatty(STDIN_FILENO) == 1;
  io.stderrIsTerminal = isatty(STDERR_FILENO) == 1;
  io.interruption = &interruption;
  return RunCommand(options, io);
}
