// The command line of zemtra-cli: commands, options, their validation and how they
// override the settings records.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/FigureOptions.h"
#include "cli/NoiseOptions.h"
#include "model/Language.h"
#include "model/Records.h"

enum class CliCommand { Measure, Analyze, Settings, Scan, Recover };

struct CliOptions {
  CliCommand command = CliCommand::Measure;
  bool commandGiven = false;  // false for the program's own --help and --version
  std::string file;                         // analyze: the data file; settings: the settings file; recover: the journal's id
  std::optional<std::string> settingsFile;  // --settings: records start from this file

  // Converter options (measure only).
  std::optional<int> dataCountSel;  // from --samples: 1024 … 65536, a power of two
  std::optional<int> rateIndex;     // from --rate in samples per second
  std::optional<int> gainIndex;     // from --gain
  std::optional<int> channel;       // 0 or 1
  std::optional<bool> sinc3;
  std::optional<bool> buffer;
  std::optional<bool> chop;
  std::optional<std::string> simulate;  // --simulate[=CONFIG]; empty CONFIG = demonstration signal
  std::optional<std::string> device;    // --device=…
  std::optional<Language> language;     // --lang: the messages' language instead of the locale's

  // Analysis and display options (measure and analyze).
  std::optional<int> window;  // 0 rect, 1 hanning, 2 hamming, 3 flattop
  std::optional<bool> correct;
  std::optional<bool> dcCut;
  std::optional<bool> logAxis;
  std::optional<bool> absolute;
  std::optional<bool> volts;
  std::optional<bool> wave;

  NoiseOptions noise;     // averaging, noise density, band noise and their files
  FigureOptions figures;  // tone, Allan deviation, histogram and their files

  // Outputs.
  std::string out;         // data file
  std::string fft;         // spectrum text file
  std::string csv;          // every sample as CSV: time, code, volts
  std::string spectrumCsv;  // the spectrum as CSV: frequency, RMS volts
  std::string png;         // picture of the graphs
  std::string pdf;         // the printed page as a PDF file
  bool landscape = false;  // the PDF page across
  bool list = false;       // recover --list: the journals instead of one recovered
  bool json = false;
  bool yes = false;
  bool help = false;
  bool version = false;  // --version: print the version line
};

// The file name that stands for the standard output (text outputs only).
inline constexpr const char* kStdoutName = "-";

// True when a text output is to go to the standard output rather than to a file.
bool ToStdout(const std::string& path);

struct CliParse {
  CliOptions options;
  std::string error;  // one line naming the option and what is allowed; empty when valid
};

// Parses the arguments after the program name.
CliParse ParseCommandLine(const std::vector<std::string>& args);

// Applies the converter options to the records (the sample count lives in FftSetting).
void ApplyUnitOptions(const CliOptions& options, AdUnitSetting& unit, FftSetting& fft);
// Applies the analysis and display options.
void ApplyAnalysisOptions(const CliOptions& options, FftSetting& fft);

// The name --window takes for a window function (whichWindowFunc 0 … 3): "rect",
// "hanning", "hamming", "flattop"; empty for any other value.
const char* WindowName(int window);

// The help text of a command, or the overview when command is empty.
std::string HelpText(const std::string& command);

// Whether this build draws pictures and PDF pages: they need the Qt widgets, which a
// build without Qt (the Windows one, so far) lacks; its picture options are refused.
bool ToolDrawsPictures();
// The first option given that draws a picture or a page ("--png"); none when none is.
const char* PictureOption(const CliOptions& options);
