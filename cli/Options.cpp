#include "cli/Options.h"

#include <algorithm>
#include <array>
#include <functional>
#include <string_view>
#include <utility>

#include "display/FftSettingEdit.h"
#include "drivers/DeviceSelect.h"
#include "drivers/DriverChoice.h"
#include "display/FftSettingRules.h"
#include "model/UnitTables.h"
#include "ui/NumberFormat.h"

namespace {

// An on/off pair such as --sinc3/--sinc4 sets one optional flag.
struct Switch {
  const char* on;
  const char* off;
  std::optional<bool> CliOptions::*field;
  bool unitOption;  // measure only
};

const std::array<Switch, 9> kSwitches{{
    {"--sinc3", "--sinc4", &CliOptions::sinc3, true},
    {"--buffer", "--no-buffer", &CliOptions::buffer, true},
    {"--chop", "--no-chop", &CliOptions::chop, true},
    {"--correct", "--no-correct", &CliOptions::correct, false},
    {"--dc-cut", "--no-dc-cut", &CliOptions::dcCut, false},
    {"--log", "--linear", &CliOptions::logAxis, false},
    {"--absolute", "--relative", &CliOptions::absolute, false},
    {"--volts", "--codes", &CliOptions::volts, false},
    {"--wave", "--no-wave", &CliOptions::wave, false},
}};

// A flag of measure and analyze that takes no value.
struct Flag {
  const char* name;
  bool CliOptions::*field;
};

const std::array<Flag, 3> kFlags{{
    {"--json", &CliOptions::json},
    {"--yes", &CliOptions::yes},
    {"--landscape", &CliOptions::landscape},
}};

constexpr std::array<const char*, 4> kWindowNames{"rect", "hanning", "hamming", "flattop"};

// The DataCountSel whose measurement takes this many samples; none when no choice does.
std::optional<int> DataCountSelOf(int samples) {
  for (int sel = 0; sel < kDataCountChoices; ++sel) {
    if (GetDataCount(sel) == samples) return sel;
  }
  return std::nullopt;
}

constexpr const char* kCommandNeeded = "a command is needed: measure, analyze FILE.DTA or settings FILE.prf (see --help)";

// Splits "--name=value" into name and value; value is empty without '='.

std::pair<std::string, std::optional<std::string>> SplitOption(const std::string& arg) {
  const auto eq = arg.find('=');
  if (eq == std::string::npos) return {arg, std::nullopt};
  return {arg.substr(0, eq), arg.substr(eq + 1)};
}

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& args) : args_(args) {}

  CliParse Run() {
    if (args_.empty()) return Fail(kCommandNeeded);
    std::size_t i = 0;
    // The language may also stand before the command (`zemtra-cli --lang=en measure`).
    for (; i < args_.size() && SplitOption(args_[i]).first == "--lang"; ++i) {
      Option(i);
      if (!result_.error.empty()) return result_;
    }
    if (i == args_.size()) return Fail(kCommandNeeded);
    const std::string& first = args_[i++];
    if (first == "--help" || first == "-h" || first == "help") {
      result_.options.help = true;
      return result_;
    }
    if (first == "--version") {
      result_.options.version = true;
      return result_;
    }
    if (first == "measure") {
      result_.options.command = CliCommand::Measure;
    } else if (first == "analyze") {
      result_.options.command = CliCommand::Analyze;
    } else if (first == "settings") {
      result_.options.command = CliCommand::Settings;
    } else if (first == "scan") {
      result_.options.command = CliCommand::Scan;
    } else if (first == "recover") {
      result_.options.command = CliCommand::Recover;
    } else {
      return Fail("unknown command '" + first + "': allowed are measure, analyze, settings, scan, recover");
    }
    result_.options.commandGiven = true;
    for (; i < args_.size() && result_.error.empty(); ++i) {
      if (!optionsEnded_ && args_[i] == "--") {
        optionsEnded_ = true;
      } else if (optionsEnded_) {
        Operand(args_[i]);
      } else {
        Option(i);
      }
    }
    if (!result_.error.empty() || result_.options.help) return result_;
    if (const char* dashed = StdoutOutput(); dashed != nullptr && result_.options.json)
      return Fail(std::string("--json and ") + dashed + " both write to the standard output");
    if (result_.options.simulate && result_.options.device)
      return Fail(kSimulateWithDevice);
    if (result_.options.landscape && result_.options.pdf.empty()) return Fail("--landscape applies to --pdf only");
    if (const std::string problem = CheckNoiseOptions(result_.options.noise); !problem.empty()) return Fail(problem);
    if (TakesFile() && result_.options.file.empty()) return Fail(FileNeeded());
    if (const auto& o = result_.options; o.list && (!o.file.empty() || !o.out.empty() || !o.csv.empty()))
      return Fail("--list takes no journal and writes no file");
    return result_;
  }

 private:
  CliParse Fail(const std::string& message) {
    result_.error = message;
    return result_;
  }

  std::string FileNeeded() const {
    if (Recovering()) return "recover takes a journal's id (see recover --list)";
    return result_.options.command == CliCommand::Analyze ? "analyze needs a data file (FILE.DTA)"
                                                          : "settings needs a settings file (FILE.prf)";
  }

  bool Measuring() const { return result_.options.command == CliCommand::Measure; }
  bool Analysing() const { return Measuring() || result_.options.command == CliCommand::Analyze; }
  bool Recovering() const { return result_.options.command == CliCommand::Recover; }
  bool TakesFile() const {
    return result_.options.command == CliCommand::Analyze || result_.options.command == CliCommand::Settings;
  }

  // Takes the value of an option: "--x=v" or "--x v".
  std::optional<std::string> Value(const std::optional<std::string>& inline_, std::size_t& i, const std::string& name) {
    if (inline_) return inline_;
    if (i + 1 < args_.size()) return args_[++i];
    Fail(name + " needs a value");
    return std::nullopt;
  }

  // Takes a file name; an empty one is refused rather than taken as "no file".
  std::optional<std::string> FileName(const std::optional<std::string>& inline_, std::size_t& i,
                                      const std::string& name) {
    auto text = Value(inline_, i, name);
    if (text && text->empty()) {
      Fail(name + " needs a file name, not an empty one");
      return std::nullopt;
    }
    return text;
  }

  void RequireCommand(const std::string& name, bool allowed, const char* commands) {
    if (!allowed) Fail(name + " applies to " + commands + " only");
  }

  // The first text output that goes to the standard output; none when none does.
  const char* StdoutOutput() const {
    const auto& o = result_.options;
    for (const auto& [name, path] : {std::pair{"--fft", &o.fft}, std::pair{"--csv", &o.csv},
                                     std::pair{"--spectrum-csv", &o.spectrumCsv}, std::pair{"--nsd", &o.noise.nsd}}) {
      if (ToStdout(*path)) return name;
    }
    return nullptr;
  }

  // An argument that is no option: the data or settings file.
  void Operand(const std::string& arg) {
    auto& o = result_.options;
    if (!o.file.empty() || !(TakesFile() || Recovering())) return void(Fail("unexpected argument '" + arg + "'"));
    if (arg.empty()) return void(Fail(FileNeeded() + ", not an empty name"));
    o.file = arg;
  }

  // A file of an output that cannot go to the standard output.
  std::optional<std::string> FileOnly(const std::optional<std::string>& inline_, std::size_t& i,
                                      const std::string& name) {
    auto text = FileName(inline_, i, name);
    if (text && ToStdout(*text)) {
      Fail(name + " cannot write to the standard output ('-'); for a file named '-' write ./-");
      return std::nullopt;
    }
    return text;
  }

  void Option(std::size_t& i) {
    const auto [name, inlineValue] = SplitOption(args_[i]);
    auto& o = result_.options;
    if (name == "--help" || name == "-h") {
      if (inlineValue) return void(Fail(name + " takes no value"));
      o.help = true;
      return;
    }
    if (name.rfind("--", 0) != 0) return Operand(args_[i]);
    for (const auto& s : kSwitches) {
      if (name == s.on || name == s.off) {
        if (inlineValue) return void(Fail(name + " takes no value"));
        RequireCommand(name, s.unitOption ? Measuring() : Analysing(),
                       s.unitOption ? "measure" : "measure and analyze");
        o.*(s.field) = (name == s.on);
        return;
      }
    }
    if (name == "--list") {
      if (inlineValue) return void(Fail(name + " takes no value"));
      RequireCommand(name, Recovering(), "recover");
      o.list = true;
      return;
    }
    for (const auto& flag : kFlags) {
      if (name == flag.name) {
        if (inlineValue) return void(Fail(name + " takes no value"));
        if (flag.field == &CliOptions::landscape) {
          RequireCommand(name, Analysing(), "measure and analyze");
        } else {
          RequireCommand(name, Analysing() || Recovering(), "measure, analyze and recover");
        }
        o.*(flag.field) = true;
        return;
      }
    }
    if (name == "--simulate") {
      RequireCommand(name, Measuring(), "measure");
      o.simulate = inlineValue.value_or("");
    } else if (name == "--device") {
      RequireCommand(name, Measuring(), "measure");
      if (!inlineValue) return void(Fail(std::string("--device needs a value: --device=") + DeviceOptionSyntax()));
      o.device = *inlineValue;
    } else {
      ValuedOption(name, inlineValue, i);
    }
  }

  void ValuedOption(const std::string& name, const std::optional<std::string>& inlineValue, std::size_t& i) {
    auto& o = result_.options;
    const auto integer = [&](const char* allowed) -> std::optional<int> {
      auto text = Value(inlineValue, i, name);
      if (!text) return std::nullopt;
      auto value = ParseInt32(*text);
      if (!value) Fail(name + " '" + *text + "' is not allowed: " + allowed);
      return value;
    };
    if (name == "--samples") {
      RequireCommand(name, Measuring(), "measure");
      constexpr const char* allowed = "1024, 2048, 4096, 8192, 16384, 32768 or 65536";
      if (auto v = integer(allowed)) {
        const auto sel = DataCountSelOf(*v);
        if (!sel) return void(Fail(name + " " + std::to_string(*v) + " is not allowed: " + allowed));
        o.dataCountSel = sel;
      }
    } else if (name == "--rate") {
      RequireCommand(name, Measuring(), "measure");
      constexpr const char* allowed = "5, 10, 20, 50, 60, 100, 200, 400, 800, 960, 1200, 2400 or 4800";
      if (auto v = integer(allowed)) {
        const int index = RateIndexOf(*v);
        if (index < 0) return void(Fail(name + " " + std::to_string(*v) + " is not allowed: " + allowed));
        o.rateIndex = index;
      }
    } else if (name == "--gain") {
      RequireCommand(name, Measuring(), "measure");
      constexpr const char* allowed = "1, 8, 16, 32, 64 or 128";
      if (auto v = integer(allowed)) {
        const int index = GainIndexOf(*v);
        if (index < 0) return void(Fail(name + " " + std::to_string(*v) + " is not allowed: " + allowed));
        o.gainIndex = index;
      }
    } else if (name == "--channel") {
      RequireCommand(name, Measuring(), "measure");
      if (auto v = integer("0 or 1")) {
        if (*v != 0 && *v != 1) return void(Fail(name + " " + std::to_string(*v) + " is not allowed: 0 or 1"));
        o.channel = *v;
      }
    } else if (name == "--window") {
      RequireCommand(name, Analysing(), "measure and analyze");
      auto text = Value(inlineValue, i, name);
      if (!text) return;
      const auto* named = std::find(kWindowNames.begin(), kWindowNames.end(), *text);
      if (named == kWindowNames.end())
        return void(Fail(name + " '" + *text + "' is not allowed: rect, hanning, hamming or flattop"));
      o.window = static_cast<int>(named - kWindowNames.begin());
    } else if (name == "--lang") {
      auto text = Value(inlineValue, i, name);
      if (!text) return;
      o.language = LanguageFromName(*text);
      if (!o.language) return void(Fail(name + " '" + *text + "' is not allowed: en or ja"));
    } else if (name == "--settings") {
      RequireCommand(name, Analysing(), "measure and analyze");
      if (auto text = FileName(inlineValue, i, name)) o.settingsFile = *text;
    } else if (name == "--out") {
      RequireCommand(name, Measuring() || Recovering(), "measure and recover");
      if (auto text = FileOnly(inlineValue, i, name)) o.out = *text;
    } else if (name == "--csv" && Recovering()) {
      if (auto text = FileName(inlineValue, i, name)) o.csv = *text;
    } else if (name == "--fft" || name == "--csv" || name == "--spectrum-csv" || name == "--nsd") {
      RequireCommand(name, Analysing(), "measure and analyze");
      if (auto text = FileName(inlineValue, i, name)) {
        (name == "--fft" ? o.fft : name == "--csv" ? o.csv : name == "--spectrum-csv" ? o.spectrumCsv : o.noise.nsd) =
            *text;
      }
    } else if (name == "--png" || name == "--pdf" || name == "--nsd-png") {
      RequireCommand(name, Analysing(), "measure and analyze");
      if (auto text = FileOnly(inlineValue, i, name)) (name == "--png" ? o.png : name == "--pdf" ? o.pdf : o.noise.nsdPng) = *text;
    } else if (const NoiseOptionKind kind = NoiseOptionOf(name); kind != NoiseOptionKind::None) {
      NoiseOption(name, kind, inlineValue, i);
    } else if (const FigureOptionKind figure = FigureOptionOf(name); figure != FigureOptionKind::None) {
      FigureOption(name, figure, inlineValue, i);
    } else {
      Fail("unknown option '" + name + "' (see --help)");
    }
  }

  void NoiseOption(const std::string& name, NoiseOptionKind kind, const std::optional<std::string>& inlineValue,
                   std::size_t& i) {
    const bool measureOnly = kind == NoiseOptionKind::MeasureValue;
    RequireCommand(name, measureOnly ? Measuring() : Analysing(), measureOnly ? "measure" : "measure and analyze");
    if (!result_.error.empty()) return;
    std::optional<std::string> value;
    if (kind == NoiseOptionKind::Switch) {
      if (inlineValue) return void(Fail(name + " takes no value"));
    } else if (value = Value(inlineValue, i, name); !value) {
      return;
    }
    if (const std::string problem = ApplyNoiseOption(name, value, result_.options.noise); !problem.empty())
      Fail(problem);
  }

  void FigureOption(const std::string& name, FigureOptionKind kind, const std::optional<std::string>& inlineValue,
                    std::size_t& i) {
    RequireCommand(name, Analysing(), "measure and analyze");
    if (!result_.error.empty()) return;
    if (kind == FigureOptionKind::Switch) {
      if (inlineValue) return void(Fail(name + " takes no value"));
      return ApplyFigureSwitch(name, result_.options.figures);
    }
    if (auto text = FileName(inlineValue, i, name)) FigureFileOf(name, result_.options.figures) = *text;
  }

  const std::vector<std::string>& args_;
  CliParse result_;
  bool optionsEnded_ = false;  // after "--" every argument is a file
};

template <typename T, typename V>
void Override(const std::optional<V>& option, T& field) {
  if (option) field = static_cast<T>(*option);
}

}  // namespace

const char* WindowName(int window) {
  if (window < 0 || window >= static_cast<int>(kWindowNames.size())) return "";
  return kWindowNames[static_cast<std::size_t>(window)];
}

bool ToStdout(const std::string& path) { return path == kStdoutName; }

CliParse ParseCommandLine(const std::vector<std::string>& args) { return Parser(args).Run(); }

void ApplyUnitOptions(const CliOptions& options, AdUnitSetting& unit, FftSetting& fft) {
  if (options.dataCountSel) {
    fft.DataCountSel = *options.dataCountSel;
    fft.DataCountMax = GetDataCount(fft.DataCountSel);
  }
  Override(options.rateIndex, unit.spsSel);
  if (options.gainIndex) {
    unit.GainSel = static_cast<std::uint32_t>(*options.gainIndex);
    unit.Gain = GainOf(unit.GainSel);
  }
  Override(options.channel, unit.ch_sel);
  Override(options.sinc3, unit.sinc3);
  Override(options.buffer, unit.buf_on);
  Override(options.chop, unit.chop_on);
}

void ApplyAnalysisOptions(const CliOptions& options, FftSetting& fft) {
  Override(options.window, fft.whichWindowFunc);
  Override(options.correct, fft.fWinFuncAdjust);
  Override(options.dcCut, fft.fDCCut_FFT);
  Override(options.logAxis, fft.fLogGraph);
  if (options.absolute) ChooseAbsolute(fft, *options.absolute);
  Override(options.volts, fft.fSig_Volt);
  Override(options.wave, fft.fWaveGraph);
}

const char* PictureOption(const CliOptions& o) {
  if (!o.png.empty()) return "--png";
  if (!o.pdf.empty()) return "--pdf";
  if (!o.noise.nsdPng.empty()) return "--nsd-png";
  if (!o.figures.histogramPng.empty()) return "--histogram-png";
  if (!o.figures.allanPng.empty()) return "--allan-png";
  return nullptr;
}
