#include "app/ProgramOptions.h"

namespace {

constexpr const char* kHelp = R"(zemtra: measure noise spectra with the QT4418PX in a window.

Usage:
  zemtra [--simulate[=CONFIG]] [--device=libftdi[:SERIAL]|tty[:PATH]] [--lang=en|ja]

  --simulate[=CONFIG]          use the simulated unit (see the README for CONFIG)
  --device=libftdi[:SERIAL]|tty[:PATH]
                               which driver and device reach the real unit; with
                               several FTDI devices attached, name one (zemtra-cli scan)
  --lang=en|ja                 the window's language; without it, English when the
                               locale asks first for English (LC_ALL, LC_MESSAGES,
                               LANG, LANGUAGE), else Japanese
  --help                       this text
  --version                    print the version

Only one copy runs per user; a second one says so, brings the first to the front and
exits with 1. An invalid option exits with 64.
)";

}  // namespace

ProgramOptionsParse ParseProgramOptions(const std::vector<std::string>& args) {
  ProgramOptionsParse parse;
  ProgramOptions& o = parse.options;
  for (const std::string& arg : args) {
    const auto eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    const std::optional<std::string> value =
        eq == std::string::npos ? std::nullopt : std::optional<std::string>(arg.substr(eq + 1));
    if (name == "--help" || name == "-h") {
      o.help = true;
      if (value) parse.error = name + " takes no value";
    } else if (name == "--version") {
      o.version = true;
      if (value) parse.error = name + " takes no value";
    } else if (name == "--simulate") {
      o.simulate = value.value_or("");
    } else if (name == "--device" && value) {
      o.device = *value;
    } else if (name == "--lang") {
      o.language = LanguageFromName(value.value_or(""));
      if (!o.language) parse.error = std::string("--lang takes ") + kLanguageNames + ": --lang=en or --lang=ja";
    } else if (name == "--device") {
      parse.error = "--device needs a value: --device=libftdi[:SERIAL]|tty[:PATH]";
    } else if (arg.starts_with("-")) {
      parse.error = "unknown option '" + name + "' (see --help)";
    } else {
      parse.error = "unexpected argument '" + arg + "'";
    }
    if (!parse.error.empty()) break;
  }
  return parse;
}

std::string ProgramHelpText() { return kHelp; }
