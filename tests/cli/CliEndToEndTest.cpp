// zemtra-cli end to end: the executable against the simulated unit on its virtual
// clock, with its exit codes, texts and files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "PictureSupport.h"
#include "ScratchState.h"
#include "ScriptedPrompter.h"
#include "drivers/PseudoTerminal.h"
#include "files/FileTestSupport.h"
#include "files/FlatDataFile.h"
#include "files/Myfile.h"
#include "files/PdfTools.h"

namespace fs = std::filesystem;

namespace {

struct CliRun {
  int exit = -1;
  std::string out;
  std::string err;
};

class CliEndToEnd : public ::testing::Test {
 protected:
  static constexpr const char* kJapanese = "LC_ALL=C.UTF-8 LANGUAGE=";

  // Runs the tool in `where` (default: the test's directory); prefix runs it under
  // another command (e.g. timeout); stdoutTo replaces the standard output's file.
  CliRun Run(const std::string& args, const fs::path& where = {}, const std::string& prefix = "",
             const std::string& stdoutTo = "") {
    const fs::path cwd = where.empty() ? dir : where;
    const std::string out = stdoutTo.empty() ? ">'" + (dir / "stdout").string() + "'" : stdoutTo;
    std::ofstream(dir / "stdout", std::ios::trunc).close();
    // The messages the tests expect are Japanese, whatever the locale of the run; a
    // prefix may choose another.
    const std::string command = "cd '" + cwd.string() + "' && " + kJapanese + " " + prefix + " '" + ZEMTRA_CLI_PATH +
                                "' " + args + " " + out + " 2>'" + (dir / "stderr").string() + "' </dev/null";
    const int status = std::system(command.c_str());
    CliRun run;
    run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadBytes(dir / "stdout");
    run.err = ReadBytes(dir / "stderr");
    return run;
  }

  // A directory of this run's own: other runs of the suite on the machine use theirs.
  TempDir temp;
  fs::path dir = temp.path();
};

double JsonNumber(const std::string& json, const std::string& key) {
  const std::regex pattern("\"" + key + "\":(-?[0-9.eE+-]+)");
  std::smatch match;
  if (!std::regex_search(json, match, pattern)) {
    ADD_FAILURE() << key << " not in " << json;
    return NAN;
  }
  return std::stod(match[1]);
}

// The JSON report's entry for a file that was not written.
std::string Unwritten(const std::string& kind, const std::string& path, const std::string& reason) {
  return "\"" + kind + "\":{\"path\":\"" + path + "\",\"written\":false,\"reason\":\"" + reason + "\"}";
}

// 1 mV at 600 Hz, 4800 per second, 1024 samples: exactly on line 128.
constexpr const char* kSine = "measure --simulate=clock=virtual,noise=off,ch0=sine:600:1e-3 --samples 1024 --json";

TEST_F(CliEndToEnd, SineGivesItsLineAndRmsForEveryWindow) {
  const double rmsOfSine = 1e-3 / std::sqrt(2.0);
  const struct {
    const char* options;
    double rmsFactor;   // RMS from the spectrum over the sine's RMS
    double peakFactor;  // the line's value over the sine's RMS (coherent gain)
  } rows[] = {
      {"--window rect", 1.0, 1.0},
      {"--window hanning --no-correct", 0.612, 0.5},
      {"--window hanning --correct", 1.0, 0.8165},
      {"--window hamming --no-correct", 0.630, 0.54},
      {"--window hamming --correct", 1.0, 0.8566},
      {"--window flattop --no-correct", 0.449, 0.2510},
      {"--window flattop --correct", 1.0, 0.5593},
  };
  for (const auto& r : rows) {
    const auto run = Run(std::string(kSine) + " " + r.options);
    ASSERT_EQ(run.exit, 0) << r.options << run.err;
    EXPECT_EQ(JsonNumber(run.out, "bin"), 128) << r.options;
    EXPECT_NEAR(JsonNumber(run.out, "hz"), 600.0, 1e-3) << r.options;
    EXPECT_NEAR(JsonNumber(run.out, "rms_v") / rmsOfSine, r.rmsFactor, 0.01) << r.options;
    EXPECT_NEAR(JsonNumber(run.out, "v") / rmsOfSine, r.peakFactor, 0.005) << r.options;
  }
  const auto rect = Run(std::string(kSine) + " --window rect");
  EXPECT_NE(rect.out.find(R"("rms_text":"707.107","rms_unit":"uVrms")"), std::string::npos) << rect.out;
  EXPECT_NE(rect.out.find(R"("text":["707.107","-63.01","600.000"],"unit":"uVrms","db_unit":"dBV")"), std::string::npos)
      << rect.out;
}

// The string value of a JSON key.
std::string JsonString(const std::string& json, const std::string& key) {
  const std::regex pattern("\"" + key + "\":\"([^\"]*)\"");
  std::smatch match;
  return std::regex_search(json, match, pattern) ? match[1].str() : "(missing)";
}

TEST_F(CliEndToEnd, JsonCarriesTheSettingsTheStatisticsInVoltsAndTheTrueLevel) {
  // 1 mV DC and a 1 mV sine on line 128: every statistic is known.
  const auto run = Run("measure --simulate=clock=virtual,noise=off,ch0=dc:1e-3+sine:600:1e-3 --samples 1024 --rate 4800 "
                       "--sinc3 --chop --window rect --no-dc-cut --relative --linear --json",
                       {}, "TZ=JST-9");
  ASSERT_EQ(run.exit, 0) << run.err;
  const std::string& j = run.out;
  EXPECT_NE(j.find(R"("filter":"sinc3","buffer":false,"chop":true,"window":"rect","correction":false,)"
                   R"("dc_cut":false,"display":"relative","axis":"linear")"),
            std::string::npos)
      << j;
  constexpr double kLsb = 2.5 / 8388608.0 / 128.0;  // volts per code at gain 128
  const std::string stats = j.substr(j.find("\"stats\":"));
  EXPECT_NEAR(JsonNumber(stats, "mean_v"), 1e-3, 3 * kLsb);
  EXPECT_NEAR(JsonNumber(stats, "max_v"), 2e-3, 3 * kLsb);
  EXPECT_NEAR(JsonNumber(stats, "min_v"), 0.0, 3 * kLsb);
  EXPECT_NEAR(JsonNumber(stats, "pp_v"), 2e-3, 3 * kLsb);
  EXPECT_NEAR(JsonNumber(stats, "std_v"), 1e-3 / std::sqrt(2.0), 3 * kLsb);
  EXPECT_NEAR(JsonNumber(stats, "max_v"), (JsonNumber(stats, "code_max") - 8388608.0) * kLsb, 1e-12) << "code → volts";
  EXPECT_EQ(JsonNumber(stats, "code_pp"), JsonNumber(stats, "code_max") - JsonNumber(stats, "code_min"));
  EXPECT_NEAR(JsonNumber(stats, "code_mean"), 8388608.0 + 1e-3 / kLsb, 3.0);

  const std::string start = JsonString(j, "start");
  EXPECT_TRUE(std::regex_match(start, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\+09:00)"))) << start;
  const std::string text = JsonString(j, "start_text");
  EXPECT_EQ(text.substr(0, 4) + "-" + text.substr(5, 2) + "-" + text.substr(8, 2) + "T" + text.substr(11), start.substr(0, 19))
      << "the same moment as the data file's text " << text;

  // A line far below the display's bottom: the display holds it there, the true
  // level is beside it.
  const auto quiet = Run("measure --simulate=clock=virtual,noise=off,ch0=sine:600:1e-6 --samples 1024 --window rect --json");
  ASSERT_EQ(quiet.exit, 0) << quiet.err;
  EXPECT_EQ(JsonNumber(quiet.out, "db"), -80.0) << "the display's bottom";
  EXPECT_NEAR(JsonNumber(quiet.out, "level_dbv"), 20 * std::log10(1e-6 / std::sqrt(2.0)), 0.05);
}

TEST_F(CliEndToEnd, FaultsGiveTheirTextsAndExitCodes) {
  const struct {
    const char* config;
    int exit;
    const char* text;
  } rows[] = {
      {"fault=absent", 3, "QT4418PXが見つかりませんでした"},
      {"fault=silent", 3, "QT4418PXが応答しませんでした"},
      {"fault=ng:SG5", 3, "set-up failed at step 'gain'"},
      {"name=QT4418PY", 3, "set-up failed at step 'unit name'"},
      {"fault=garble@100", 4, "計測エラーで終了"},
      {"fault=unplug@500", 4, "計測エラーで終了"},
      {"ch0=dc:0.03", 5, "入力信号レベルが適正範囲からはずれています"},
  };
  for (const auto& r : rows) {
    const auto run = Run(std::string("measure --samples 1024 --out never.DTA --simulate=clock=virtual,") + r.config);
    EXPECT_EQ(run.exit, r.exit) << r.config << "\n" << run.err;
    EXPECT_NE(run.err.find(r.text), std::string::npos) << r.config << "\n" << run.err;
    EXPECT_FALSE(fs::exists(dir / "never.DTA")) << r.config;
  }
  const auto bad = Run("measure --simulate=ch7=dc:1");
  EXPECT_EQ(bad.exit, 64);
  EXPECT_NE(bad.err.find("ch7"), std::string::npos) << bad.err;
}

TEST_F(CliEndToEnd, AUnitThatNeverStreamsEndsAsAReadFailure) {
  // "NG" to the start command: no record ever comes. The kill is only a guard.
  const auto run =
      Run("measure --samples 1024 --out never.DTA --simulate=clock=virtual,fault=ng:A000400", {}, "timeout -s KILL 20");
  EXPECT_EQ(run.exit, 4) << run.err;
  EXPECT_NE(run.err.find("計測エラーで終了"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(dir / "never.DTA"));
}

TEST_F(CliEndToEnd, AnalyzeReproducesTheSpectrumFileThatMeasureWrote) {
  fs::create_directories(dir / "measured");
  fs::create_directories(dir / "analysed");
  const auto measured =
      Run("measure --simulate=clock=virtual --samples 4096 --window flattop --correct --out run.DTA --fft run.FFT",
          dir / "measured");
  ASSERT_EQ(measured.exit, 0) << measured.err;
  const auto analysed = Run("analyze ../measured/run.DTA --fft run.FFT", dir / "analysed");
  ASSERT_EQ(analysed.exit, 0) << analysed.err;
  const auto spectrum = ReadBytes(dir / "measured" / "run.FFT");
  EXPECT_GT(spectrum.size(), 2048U * 10U);
  EXPECT_EQ(spectrum, ReadBytes(dir / "analysed" / "run.FFT"));

  const auto other = Run("analyze measured/run.DTA --window rect --json");
  ASSERT_EQ(other.exit, 0) << other.err;
  EXPECT_NE(other.out.find("矩形波窓"), std::string::npos) << "options override what the file holds";

  std::ofstream(dir / "broken.DTA") << "DataFile:Zemtra\r\nnothing else\r\n";
  const auto broken = Run("analyze broken.DTA");
  EXPECT_EQ(broken.exit, 6);
  EXPECT_NE(broken.err.find("データファイルの内容が正しくありませんでした: broken.DTA: the file ends after line 2"),
            std::string::npos)
      << broken.err;
  const auto missing = Run("analyze missing.DTA");
  EXPECT_EQ(missing.exit, 6);
  EXPECT_EQ(missing.err,
            "zemtra-cli: データファイルの内容が正しくありませんでした: missing.DTA: No such file or directory\n");
  std::string samples = ReadBytes(dir / "measured" / "run.DTA");
  samples.replace(samples.find("\r\n", samples.find("deltaF:")) + 2, 0, "12,x\r\n");
  std::ofstream(dir / "sample.DTA") << samples;
  const auto sample = Run("analyze sample.DTA");
  EXPECT_NE(sample.err.find("sample.DTA: line 41 is not valid: \"12,x\""), std::string::npos) << sample.err;
}

// The lines of a text between the line `after` and the line `until`, CR LF removed.
std::vector<std::string> LinesBetween(const std::string& text, const std::string& after, const std::string& until) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (inside && line == until) break;
    if (inside) lines.push_back(line);
    if (line.rfind(after, 0) == 0) inside = true;
  }
  return lines;
}

// The two comma-separated numbers of a line.
std::pair<double, double> TwoNumbers(const std::string& line, char separatorEnd = ',') {
  const auto comma = line.find(separatorEnd);
  return {std::stod(line.substr(0, comma)), std::stod(line.substr(line.find(',') + 1))};
}

TEST_F(CliEndToEnd, CsvFilesCarryEverySampleAndTheExactFrequencies) {
  // 5 per second, 16384 samples: lines every 0.30517578125 mHz, which the spectrum
  // file's three decimals cannot tell apart.
  const auto run = Run("measure --simulate=clock=virtual --rate 5 --samples 16384 --out run.DTA --fft run.FFT "
                       "--csv run.csv --spectrum-csv spectrum.csv");
  ASSERT_EQ(run.exit, 0) << run.err;
  const std::string data = ReadBytes(dir / "run.DTA");
  const auto samples = LinesBetween(data, "deltaF:", "END:");
  const auto csv = LinesBetween("\n" + ReadBytes(dir / "run.csv"), "", "");
  ASSERT_EQ(csv.size(), 1U + 16384U);
  EXPECT_EQ(csv[0], "time_s,code,volts");
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const std::string& row = csv[i + 1];
    const auto first = row.find(',');
    EXPECT_EQ(std::stod(row.substr(0, first)), static_cast<double>(i) / 5.0) << row;
    // Code and volts as the data file holds them, the volts to the float.
    const auto [code, volts] = TwoNumbers(samples[i]);
    const auto [csvCode, csvVolts] = TwoNumbers(row.substr(first + 1));
    ASSERT_EQ(csvCode, code) << row;
    ASSERT_EQ(static_cast<float>(csvVolts), static_cast<float>(volts)) << row;
  }

  const auto lines = LinesBetween(ReadBytes(dir / "run.FFT"), "deltaF:", "END:");
  const auto spectrum = LinesBetween("\n" + ReadBytes(dir / "spectrum.csv"), "", "");
  ASSERT_EQ(spectrum.size(), 1U + 8191U);
  EXPECT_EQ(spectrum[0], "frequency_hz,rms_v");
  std::set<double> frequencies;
  for (std::size_t k = 1; k < spectrum.size(); ++k) {
    const auto [hz, rms] = TwoNumbers(spectrum[k]);
    ASSERT_EQ(hz, static_cast<double>(k) * 5.0 / 16384.0) << spectrum[k];
    frequencies.insert(hz);
    const auto [roundedHz, fileRms] = TwoNumbers(lines[k - 1], 'H');
    EXPECT_NEAR(roundedHz, hz, 0.0005 + 1e-12) << lines[k - 1];
    ASSERT_EQ(static_cast<float>(rms), static_cast<float>(fileRms)) << "the spectrum file's value, " << spectrum[k];
  }
  EXPECT_EQ(frequencies.size(), 8191U) << "every line has its own frequency";
}

TEST_F(CliEndToEnd, DashWritesATextOutputToStdoutAndTheReportToStderr) {
  const auto json = Run(std::string(kSine) + " --csv -");
  EXPECT_EQ(json.exit, 64) << "the JSON report and the CSV cannot share stdout";
  EXPECT_NE(json.err.find("--json and --csv both write to the standard output"), std::string::npos) << json.err;

  const auto run = Run("measure --simulate=clock=virtual,noise=off,ch0=sine:600:1e-3 --samples 1024 --csv - --out run.DTA");
  ASSERT_EQ(run.exit, 0) << run.err;
  EXPECT_EQ(run.out.rfind("time_s,code,volts\r\n0,", 0), 0U) << run.out.substr(0, 80);
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1025) << "nothing but the CSV on stdout";
  EXPECT_NE(run.err.find("zemtra-cli: wrote -\n"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(dir / "-"));

  const auto fft = Run("analyze -- run.DTA --fft -");
  EXPECT_EQ(fft.exit, 64) << "after --, --fft is a second file name";
  const auto spectrum = Run("analyze --fft - -- run.DTA");
  ASSERT_EQ(spectrum.exit, 0) << spectrum.err;
  EXPECT_EQ(spectrum.out.rfind("DataFile:Zemtra_FFT\r\n", 0), 0U) << spectrum.out.substr(0, 80);
  EXPECT_NE(spectrum.out.find("\r\nDataFileName:-\r\n"), std::string::npos);
  EXPECT_NE(spectrum.err.find("RMS: "), std::string::npos) << "the summary on stderr: " << spectrum.err;
  for (std::size_t line = 0; line < spectrum.err.size(); line = spectrum.err.find('\n', line) + 1) {
    EXPECT_EQ(spectrum.err.compare(line, 12, "zemtra-cli: "), 0) << spectrum.err.substr(line, 60);
  }

  const auto full = Run("analyze run.DTA --nsd - --segments 256", {}, "", ">/dev/full");
  EXPECT_EQ(full.exit, 6) << full.err;
  EXPECT_NE(full.err.find("the noise density could not be written: the standard output (No space left on device)"),
            std::string::npos)
      << full.err;
}

TEST_F(CliEndToEnd, AFileNotWrittenAndADeviceNotOpenedSayWhy) {
  const std::string longName(300, 'x');
  const auto run = Run("measure --simulate=clock=virtual --samples 1024 --json --csv " + longName +
                       ".csv --spectrum-csv no-such-directory/s.csv --fft run.FFT");
  EXPECT_EQ(run.exit, 6) << run.err;
  EXPECT_NE(run.out.find(Unwritten("csv", longName + ".csv", "File name too long")), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(Unwritten("spectrum_csv", "no-such-directory/s.csv", "No such file or directory")),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.err.find("zemtra-cli: the spectrum could not be written: no-such-directory/s.csv (No such file or "
                         "directory)\n"),
            std::string::npos)
      << run.err;
  EXPECT_TRUE(fs::exists(dir / "run.FFT")) << "the other file is still written";

  // The driver's own lines name the program too.
  const auto device = Run("measure --samples 1024 --device=tty:" + (dir / "no-such-tty").string(), {}, "timeout 20");
  EXPECT_EQ(device.exit, 3) << device.err;
  EXPECT_NE(device.err.find("zemtra-cli: cannot open " + (dir / "no-such-tty").string() + ": No such file or directory"),
            std::string::npos)
      << device.err;
  EXPECT_EQ(device.err.find("zemtra: "), std::string::npos) << device.err;
}

TEST_F(CliEndToEnd, SpectrumFileWithoutAnyDotGetsItsExtension) {
  const auto run = Run("measure --simulate=clock=virtual --samples 1024 --fft spectrum --json");
  ASSERT_EQ(run.exit, 0) << run.err;
  EXPECT_TRUE(fs::exists(dir / "spectrum.FFT"));
  EXPECT_FALSE(fs::exists(dir / "spectrum"));
  EXPECT_NE(run.out.find(R"("fft":{"path":"spectrum.FFT","written":true})"), std::string::npos) << run.out;
  const auto dotted = Run("measure --simulate=clock=virtual --samples 1024 --fft spectrum.txt");
  ASSERT_EQ(dotted.exit, 0) << dotted.err;
  EXPECT_TRUE(fs::exists(dir / "spectrum.txt")) << "a name with a dot is taken as it is";
}

TEST_F(CliEndToEnd, FailedAutomaticSaveStillReportsAndWritesTheOtherFiles) {
  ScriptedPrompter prompter;
  TmyFile file(prompter);
  AdUnitSetting ad;
  FftSetting fft;
  fft.DataCountSel = 0;
  fft.DataCountMax = 1024;
  SaveSetting save;
  save.fSaveDataFile = 1;
  save.DataFileName = (dir / "no-such-directory" / "auto.DTA").string();
  ASSERT_TRUE(file.SaveSettingFile(dir / "auto.prf", kSettingFileHeader, fft, save, ad));

  const auto run = Run("measure --simulate=clock=virtual --settings auto.prf --out kept.DTA --json");
  EXPECT_EQ(run.exit, 6) << run.err;
  EXPECT_NE(run.err.find("データ保存できませんでした"), std::string::npos) << run.err;
  EXPECT_TRUE(fs::exists(dir / "kept.DTA")) << "the measurement is kept";
  EXPECT_NE(run.out.find(R"("samples":1024)"), std::string::npos) << run.out;
}

TEST_F(CliEndToEnd, ExistingFilesAreKeptUnlessTheUserSaysYes) {
  std::ofstream(dir / "run.DTA") << "precious";
  const auto kept = Run("measure --simulate=clock=virtual --samples 1024 --out run.DTA --json");
  ASSERT_EQ(kept.exit, 0) << kept.err;
  EXPECT_EQ(ReadBytes(dir / "run.DTA"), "precious");
  EXPECT_NE(kept.out.find(R"("data":{"path":"run.DTA","written":false,"reason":"declined"})"), std::string::npos)
      << kept.out;
  const auto replaced = Run("measure --simulate=clock=virtual --samples 1024 --out run.DTA --yes --json");
  ASSERT_EQ(replaced.exit, 0);
  EXPECT_NE(ReadBytes(dir / "run.DTA"), "precious");
}

TEST_F(CliEndToEnd, PdfPageOfAMeasurementAndOfADataFile) {
  if (!kCliDrawsPictures) GTEST_SKIP() << kNoPictures;
  const auto measured = Run("measure --simulate=clock=virtual --samples 1024 --out run.DTA --pdf run.pdf --json");
  ASSERT_EQ(measured.exit, 0) << measured.err;
  EXPECT_NE(measured.out.find(R"("pdf":{"path":"run.pdf","written":true})"), std::string::npos) << measured.out;
  EXPECT_NE(PdfText(dir / "run.pdf").find("ファイル名：run.DTA"), std::string::npos) << "the data file written";

  const auto across = Run("analyze run.DTA --window flattop --pdf across.pdf --landscape");
  ASSERT_EQ(across.exit, 0) << across.err;
  const std::string text = PdfText(dir / "across.pdf");
  for (const char* line : {"データ数：1024", "サンプリング：4.8ksps", "窓関数：フラットトップ", "ファイル名：run.DTA"})
    EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
  EXPECT_NE(CommandOutput("pdfinfo " + Quoted(dir / "across.pdf")).find("842 x 595"), std::string::npos) << "A4 across";

  std::ofstream(dir / "kept.pdf") << "earlier page";
  const auto kept = Run("analyze run.DTA --pdf kept.pdf --json");
  ASSERT_EQ(kept.exit, 0) << kept.err;
  EXPECT_EQ(ReadBytes(dir / "kept.pdf"), "earlier page") << "replaced only when the user says yes";
  EXPECT_NE(kept.out.find(R"("pdf":{"path":"kept.pdf","written":false,"reason":"declined"})"), std::string::npos)
      << kept.out;
}

TEST_F(CliEndToEnd, UnprintablePdfExitsWithTheFileCode) {
  if (!kCliDrawsPictures) GTEST_SKIP() << kNoPictures;
  ASSERT_EQ(Run("measure --simulate=clock=virtual --samples 1024 --out run.DTA").exit, 0);
  const auto run = Run("analyze run.DTA --pdf no-such-directory/run.pdf");
  EXPECT_EQ(run.exit, 6);
  EXPECT_NE(run.err.find("印刷できませんでした"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(dir / "no-such-directory"));
}

TEST_F(CliEndToEnd, TheMessagesFollowTheLocaleAndTheLanguageOption) {
  std::ofstream(dir / "header.prf") << "Zemtra\r\n";
  const struct {
    const char* prefix;
    const char* lang;
    const char* expected;
  } rows[] = {
      {"", "", "zemtra-cli: 設定ファイルの内容が正しくありませんでした: header.prf"},
      {"LC_ALL= LANG=en_US.UTF-8", "", "zemtra-cli: The settings file's content is not valid: header.prf"},
      {"LC_ALL= LANG=de_DE.UTF-8 LANGUAGE=en:de", "", "zemtra-cli: The settings file's content is not valid"},
      {"LC_ALL= LANG=ja_JP.UTF-8", "", "zemtra-cli: 設定ファイルの内容が正しくありませんでした"},
      {"", " --lang en", "zemtra-cli: The settings file's content is not valid: header.prf"},
      {"LC_ALL=en_US.UTF-8", " --lang=ja", "zemtra-cli: 設定ファイルの内容が正しくありませんでした"},
  };
  for (const auto& r : rows) {
    const auto run = Run(std::string("settings header.prf") + r.lang, {}, r.prefix);
    EXPECT_EQ(run.exit, 2) << r.prefix << r.lang;
    EXPECT_NE(run.err.find(r.expected), std::string::npos) << r.prefix << r.lang << ": " << run.err;
  }
}

TEST_F(CliEndToEnd, SettingsFilesAreCheckedAndPrinted) {
  ScriptedPrompter prompter;
  TmyFile file(prompter);
  AdUnitSetting ad;
  FftSetting fft;
  SaveSetting save;
  save.DataFileName = R"(D:\data\run1.DTA)";
  ASSERT_TRUE(file.SaveSettingFile(dir / "good.prf", kSettingFileHeader, fft, save, ad));
  fft.index_dB_max = 12;  // top below the bottom: readable, but not a valid range
  ASSERT_TRUE(file.SaveSettingFile(dir / "range.prf", kSettingFileHeader, fft, save, ad));
  fft = FftSetting{};
  fft.DataCountMax = 1500;  // readable, but no sample count a measurement can have
  ASSERT_TRUE(file.SaveSettingFile(dir / "odd.prf", kSettingFileHeader, fft, save, ad));

  const auto good = Run("settings good.prf");
  EXPECT_EQ(good.exit, 0) << good.err;
  EXPECT_NE(good.out.find("vref: 2.5\n"), std::string::npos) << good.out;
  EXPECT_NE(good.out.find("DataFileName: D:\\data\\run1.DTA\n"), std::string::npos) << good.out;
  EXPECT_NE(good.out.find("DataCountMax: 65536\n"), std::string::npos) << good.out;

  std::ofstream(dir / "low.prf") << std::regex_replace(ReadBytes(dir / "good.prf"), std::regex("DataCountMax:65536"),
                                                        "DataCountMax:1000");
  std::ofstream(dir / "header.prf") << "Zemtra\r\n";
  const struct {
    const char* file;
    const char* detail;  // follows "設定ファイルの内容が正しくありませんでした: FILE: "
  } rows[] = {
      {"range.prf", "line 28: index_dB_max:12 gives no valid dB range"},
      {"missing.prf", "No such file or directory"},
      {"odd.prf", "line 36: DataCountMax:1500 is no power of two from 1024 to 65536"},
      {"low.prf", "line 36: the value of DataCountMax is not valid: \"1000\""},
      {"header.prf", "line 1: the header is \"Zemtra\", not \"Zemtraini\""},
      {".", "not a regular file"},
  };
  for (const auto& r : rows) {
    const auto run = Run(std::string("settings ") + r.file);
    EXPECT_EQ(run.exit, 2) << r.file;
    const std::string expected =
        std::string("zemtra-cli: 設定ファイルの内容が正しくありませんでした: ") + r.file + ": " + r.detail;
    EXPECT_EQ(run.err.rfind(expected, 0), 0U) << run.err;
  }
  const auto measured = Run("measure --simulate=clock=virtual --samples 1024 --settings range.prf");
  EXPECT_EQ(measured.exit, 2) << "an invalid start settings file stops the measurement";
}

TEST_F(CliEndToEnd, SampleCountsWithoutASpectrumAreRefusedNotFatal) {
  ScriptedPrompter prompter;
  TmyFile file(prompter);
  AdUnitSetting ad;
  FftSetting fft;
  fft.DataCountMax = 1500;  // in the readable range, but not a power of two
  SaveSetting save;
  ASSERT_TRUE(file.SaveSettingFile(dir / "odd.prf", kSettingFileHeader, fft, save, ad));
  const auto measured = Run("measure --simulate=clock=virtual --settings odd.prf");
  EXPECT_EQ(measured.exit, 2) << measured.err;
  EXPECT_NE(measured.err.find("設定ファイルの内容が正しくありませんでした"), std::string::npos) << measured.err;

  ASSERT_EQ(WriteFlatDataFile(file, (dir / "odd.DTA").string(), 2000, 2.4F, fft), WriteResult::Written);
  const auto analysed = Run("analyze odd.DTA");
  EXPECT_EQ(analysed.exit, 6) << analysed.err;
  EXPECT_NE(analysed.err.find("データファイルの内容が正しくありませんでした: odd.DTA: line 39: ad_dnum:2000 is no power of two"),
            std::string::npos)
      << analysed.err;
}

TEST_F(CliEndToEnd, InvalidOptionsExitWithUsageCode) {
  for (const char* args : {"measure --rate 4000", "analyze", "frobnicate", "analyze x.DTA --gain 8"}) {
    const auto run = Run(args);
    EXPECT_EQ(run.exit, 64) << args;
    EXPECT_EQ(run.err.rfind("zemtra-cli: ", 0), 0U) << run.err;
  }
  const auto help = Run("measure --help");
  EXPECT_EQ(help.exit, 0);
  EXPECT_NE(help.out.find("--samples"), std::string::npos);
}

// A simulated reference with 1/f noise of 100 nV/√Hz at 1 Hz, measured at 50 per
// second, RMS-averaged over four acquisitions and cut into Welch segments.
TEST_F(CliEndToEnd, NoiseOfASimulatedReferenceInOneCommand) {
  if (!kCliDrawsPictures) GTEST_SKIP() << kNoPictures;
  const auto run =
      Run("measure --simulate=ch0=dc:2.5e-3+flicker:100e-9,noise=off,clock=virtual --rate 50 --samples 16384 "
          "--average 4 --segments 2048 --density --nsd nsd.csv --nsd-png nsd.png --out run.DTA --json");
  ASSERT_EQ(run.exit, 0) << run.err;
  EXPECT_EQ(JsonNumber(run.out, "averages"), 4);
  EXPECT_EQ(JsonNumber(run.out, "spectra"), 4 * 15) << "15 half-overlapping segments per acquisition";
  EXPECT_NEAR(JsonNumber(run.out, "at_1hz"), 100e-9, 10e-9);
  EXPECT_NEAR(JsonNumber(run.out, "at_10hz"), 100e-9 / std::sqrt(10.0), 0.1 * 100e-9 / std::sqrt(10.0));
  EXPECT_EQ(run.out.find("at_100hz"), std::string::npos) << "beyond half the rate";
  const std::string band = run.out.substr(run.out.find("\"band\":"));
  const double bandRms = 100e-9 * std::sqrt(std::log(100.0));
  EXPECT_NEAR(JsonNumber(band, "rms_v"), bandRms, 0.1 * bandRms);
  EXPECT_DOUBLE_EQ(JsonNumber(band, "pp_v"), 6.6 * JsonNumber(band, "rms_v"));
  EXPECT_EQ(JsonNumber(band, "f1"), 0.1);
  EXPECT_EQ(JsonNumber(band, "f2"), 10.0);

  const std::string csv = ReadBytes(dir / "nsd.csv");
  EXPECT_EQ(csv.rfind("frequency_Hz,density_V/rtHz\r\n0.0244140625,", 0), 0U) << csv.substr(0, 80);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1024) << "the header and lines 1 … 1023";
  EXPECT_EQ(ReadBytes(dir / "nsd.png").substr(1, 3), "PNG");

  // The data file holds the last acquisition; analyze takes its rate and the segments.
  const auto analysed = Run("analyze run.DTA --segments 1024 --band 1:10 --json");
  ASSERT_EQ(analysed.exit, 0) << analysed.err;
  EXPECT_EQ(JsonNumber(analysed.out, "averages"), 1);
  EXPECT_EQ(JsonNumber(analysed.out, "segment_samples"), 1024);
  EXPECT_EQ(JsonNumber(analysed.out, "spectra"), 31);
  const auto outside = Run("analyze run.DTA --band 1:30");
  EXPECT_EQ(outside.exit, 64) << "above half the rate";
  EXPECT_NE(outside.err.find("measured range 0.0030517578125 to 24.9969482421875 Hz"), std::string::npos)
      << outside.err;
}

TEST_F(CliEndToEnd, ABandTheRecordCannotReachIsRefusedBeforeMeasuring) {
  // 4096 samples at 4800 per second: lines from 1.17 Hz on.
  const auto run = Run("measure --simulate=clock=virtual --samples 4096 --density --nsd nsd.csv --out run.DTA");
  EXPECT_EQ(run.exit, 64);
  EXPECT_NE(run.err.find("0.1:10 Hz lies outside the measured range 1.171875 to 2398.828125 Hz"), std::string::npos)
      << run.err;
  EXPECT_EQ(run.err.find("QT4418PX"), std::string::npos) << "the unit was not touched";
  EXPECT_FALSE(fs::exists(dir / "nsd.csv"));
  EXPECT_FALSE(fs::exists(dir / "run.DTA"));
}

TEST_F(CliEndToEnd, SignalsStopTheMeasurementWithoutFilesAndGiveTheirCodes) {
  // On the real clock 65536 samples take 13.6 s; the signal comes after 0.5 s.
  for (const auto& [signal, code] : {std::pair{"INT", 130}, std::pair{"TERM", 143}}) {
    const auto run =
        Run("measure --simulate --out run.DTA", {}, std::string("timeout --preserve-status -s ") + signal + " 0.5");
    EXPECT_EQ(run.exit, code) << signal << run.err;
    EXPECT_NE(run.err.find("計測中止しました"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir / "run.DTA"));
  }
  // Ten acquisitions of 0.2 s each: the signal comes during the third.
  const auto averaging = Run("measure --simulate --samples 1024 --average 10 --density --band 5:100 --nsd n.csv", {},
                             "timeout --preserve-status -s INT 0.5");
  EXPECT_EQ(averaging.exit, 130) << averaging.err;
  EXPECT_FALSE(fs::exists(dir / "n.csv"));
}

TEST_F(CliEndToEnd, ASignalAtTheOverwriteQuestionWritesNoFurtherFile) {
  PseudoTerminal terminal;  // the question is asked only on a terminal
  ASSERT_TRUE(terminal.Valid());
  std::ofstream(dir / "run.FFT") << "earlier";
  const std::string command =
      "cd '" + dir.string() + "' && " + kJapanese + " exec '" + ZEMTRA_CLI_PATH +
      "' measure --simulate=clock=virtual --samples 1024 --fft run.FFT " +
      (kCliDrawsPictures ? "--png run.png --pdf run.pdf " : "") + "--nsd run.csv --json <'" +
      terminal.SlavePath() + "' >stdout 2>stderr";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ASSERT_GT(pid, 0);
  // The guard only keeps a broken tool from hanging the test.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (ReadBytes(dir / "stderr").find("[y/N]") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_NE(ReadBytes(dir / "stderr").find("run.FFTがあります。"), std::string::npos) << "the question is asked";
  ::kill(pid, SIGTERM);
  int status = 0;
  const auto killAt = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > killAt) {
      ::kill(pid, SIGKILL);  // the signal was ignored: fail instead of hanging
      ::waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(WIFEXITED(status)) << ReadBytes(dir / "stderr");
  EXPECT_EQ(WEXITSTATUS(status), 143) << ReadBytes(dir / "stderr");
  EXPECT_EQ(ReadBytes(dir / "run.FFT"), "earlier");
  const std::string report = ReadBytes(dir / "stdout");
  for (const auto& [kind, name] :
       {std::pair{"png", "run.png"}, std::pair{"pdf", "run.pdf"}, std::pair{"nsd", "run.csv"}}) {
    EXPECT_FALSE(fs::exists(dir / name)) << "no file after the signal: " << name;
    if (!kCliDrawsPictures && std::string_view(kind) != "nsd") continue;
    EXPECT_NE(report.find(Unwritten(kind, name, "interrupted")), std::string::npos) << report;
  }
}

TEST_F(CliEndToEnd, ThePictureIsAskedAboutAndLandsAtTheExactBytesGiven) {
  if (!kCliDrawsPictures) GTEST_SKIP() << kNoPictures;
  constexpr const char* kMeasure = "measure --simulate=clock=virtual --samples 1024 --json ";
  std::ofstream(dir / "run.png") << "precious";
  const auto kept = Run(std::string(kMeasure) + "--png run.png");
  ASSERT_EQ(kept.exit, 0) << kept.err;
  EXPECT_EQ(ReadBytes(dir / "run.png"), "precious");
  EXPECT_NE(kept.out.find(R"("png":{"path":"run.png","written":false,"reason":"declined"})"), std::string::npos)
      << kept.out;

  const auto replaced = Run(std::string(kMeasure) + "--png run.png --yes");
  ASSERT_EQ(replaced.exit, 0) << replaced.err;
  EXPECT_EQ(ReadBytes(dir / "run.png").substr(1, 3), "PNG");

  const std::string odd = "bild-\xff\xfe.png";  // no UTF-8
  const auto bytes = Run(std::string(kMeasure) + "--png \"$(printf '" + odd + "')\"");
  ASSERT_EQ(bytes.exit, 0) << bytes.err;
  EXPECT_TRUE(fs::exists(dir / "bild-\xff\xfe.png")) << bytes.out;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 4) << "no other name was made";
}

TEST_F(CliEndToEnd, TwoNamesForOneFileAreRefusedBeforeAnythingIsDone) {
  ASSERT_EQ(Run("measure --simulate=clock=virtual --samples 1024 --out run.DTA").exit, 0);
  const std::string before = ReadBytes(dir / "run.DTA");
  const struct {
    const char* args;
    const char* message;
  } rows[] = {
      {"measure --simulate=clock=virtual --samples 1024 --out x.DTA --fft x.DTA", "--out and --fft name the same file"},
      {"measure --simulate=clock=virtual --samples 1024 --out x.FFT --fft ./x", "--out and --fft name the same file"},
      {"analyze run.DTA --png ./run.DTA --yes", "the data file and --png name the same file"},
      {"measure --simulate=clock=virtual --samples 1024 --out x.DTA --pdf x.DTA", "--out and --pdf name the same file"},
      {"analyze run.DTA --nsd x.csv --nsd-png ./x.csv", "--nsd and --nsd-png name the same file"},
  };
  for (const auto& r : rows) {
    // A build without pictures refuses their options before it looks at the names.
    const bool picture = std::string_view(r.args).find("-png") != std::string_view::npos ||
                         std::string_view(r.args).find("--pdf") != std::string_view::npos;
    const auto run = Run(r.args);
    EXPECT_EQ(run.exit, 64) << r.args;
    EXPECT_NE(run.err.find(picture && !kCliDrawsPictures ? "needs the Qt widgets" : r.message), std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("samples"), std::string::npos) << "nothing was measured: " << run.err;
  }
  EXPECT_FALSE(fs::exists(dir / "x.DTA") || fs::exists(dir / "x.FFT"));
  EXPECT_EQ(ReadBytes(dir / "run.DTA"), before);
}

TEST_F(CliEndToEnd, SpecialFilesAreNeitherReadNorReplaced) {
  ASSERT_EQ(Run("measure --simulate=clock=virtual --samples 1024 --out run.DTA").exit, 0);
  for (const char* name : {"fifo", "page-fifo", "csv-fifo"}) ASSERT_EQ(::mkfifo((dir / name).c_str(), 0600), 0);
  // Opening a FIFO for reading would wait for a writer; the kill only guards the test.
  const auto read = Run("analyze fifo", {}, "timeout -s KILL 20");
  EXPECT_EQ(read.exit, 6) << read.err;
  EXPECT_NE(read.err.find("データファイルの内容が正しくありませんでした"), std::string::npos) << read.err;
  EXPECT_EQ(Run("analyze run.DTA --settings fifo", {}, "timeout -s KILL 20").exit, 2);

  const auto written =
      Run(std::string("measure --simulate=clock=virtual --samples 1024 --out fifo --fft run.FFT --nsd csv-fifo ") +
          (kCliDrawsPictures ? "--pdf page-fifo " : "") + "--yes --json");
  EXPECT_EQ(written.exit, 6) << written.err;
  for (const auto& [kind, name] :
       {std::pair{"data", "fifo"}, std::pair{"pdf", "page-fifo"}, std::pair{"nsd", "csv-fifo"}}) {
    EXPECT_TRUE(fs::is_fifo(dir / name)) << name;
    if (!kCliDrawsPictures && std::string_view(kind) == "pdf") continue;
    EXPECT_NE(written.out.find(Unwritten(kind, name, "not a regular file")), std::string::npos) << written.out;
  }
  EXPECT_TRUE(fs::exists(dir / "run.FFT")) << "the other file is still written";

  fs::create_symlink("run.DTA", dir / "link.DTA");
  ASSERT_EQ(Run("measure --simulate=clock=virtual --samples 2048 --out link.DTA --yes").exit, 0);
  EXPECT_TRUE(fs::is_symlink(dir / "link.DTA"));
  EXPECT_NE(ReadBytes(dir / "run.DTA").find("ad_dnum:2048"), std::string::npos) << "the link's target is updated";
}

TEST_F(CliEndToEnd, AReportThatCannotBeWrittenIsNoSuccess) {
  const auto full = Run("measure --simulate=clock=virtual --samples 1024 --json", {}, "", ">/dev/full");
  EXPECT_EQ(full.exit, 74) << full.err;
  EXPECT_NE(full.err.find("the report could not be written"), std::string::npos) << full.err;
  const auto closed = Run("measure --simulate=clock=virtual --samples 1024 --out run.DTA --json", {}, "", ">&-");
  EXPECT_EQ(closed.exit, 74) << closed.err;
  EXPECT_EQ(ReadBytes(dir / "run.DTA").find("\"samples\""), std::string::npos) << "the report went into no file";
  EXPECT_EQ(Run("--help", {}, "", ">/dev/full").exit, 74);
}

}  // namespace

namespace {

// The lines of a CSV text after its header.
std::vector<std::string> CsvRows(const std::string& text) {
  std::vector<std::string> rows = SplitCrLf(text);
  if (!rows.empty()) rows.erase(rows.begin());
  while (!rows.empty() && rows.back().empty()) rows.pop_back();
  return rows;
}

TEST_F(CliEndToEnd, AKilledMeasurementIsRecoveredFromItsJournalAsTheUnitSentIt) {
  constexpr int kRate = 4800;
  constexpr auto kRunFor = std::chrono::milliseconds(2600);
  const fs::path state = dir / "state";
  const std::string env = "XDG_STATE_HOME='" + state.string() + "'";
  const std::string unit = "--simulate=seed=11,noise=datasheet,ch0=white:1e-4+sine:50:1e-3";
  const std::string command = "cd '" + dir.string() + "' && " + env + " exec '" + ZEMTRA_CLI_PATH + "' measure " +
                              unit + ",clock=real --samples 65536 --rate 4800 >killed.out 2>killed.err </dev/null";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ASSERT_GT(pid, 0);
  // The journal's header is written as the unit starts streaming.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while ((!fs::exists(state / "zemtra") || fs::is_empty(state / "zemtra")) &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const auto streaming = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(kRunFor);
  ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << ReadBytes(dir / "killed.err");
  const auto killedAfter = std::chrono::duration<double>(std::chrono::steady_clock::now() - streaming).count();

  const CliRun listed = Run("recover --list", {}, env);
  EXPECT_EQ(listed.exit, 0) << listed.err;
  EXPECT_NE(listed.out.find("not ended (cut short)"), std::string::npos) << listed.out;
  const CliRun recovered = Run("recover --csv rec.csv --out rec.DTA --json", {}, env);
  ASSERT_EQ(recovered.exit, 0) << recovered.err;
  const std::vector<std::string> rows = CsvRows(ReadBytes(dir / "rec.csv"));
  // Every sample received more than 2 s before the kill is in the journal.
  EXPECT_GE(static_cast<double>(rows.size()), kRate * (killedAfter - 2.0));
  EXPECT_LT(rows.size(), 65536U);
  EXPECT_EQ(JsonNumber(recovered.out, "samples_received"), static_cast<double>(rows.size()));
  std::size_t prefix = 1024;
  while (prefix * 2 <= rows.size()) prefix *= 2;
  EXPECT_EQ(JsonNumber(recovered.out, "samples_written"), static_cast<double>(prefix));

  // The same unit, run to the end: its first samples are those recovered.
  const CliRun complete = Run("measure " + unit + ",clock=virtual --samples 65536 --rate 4800 --csv full.csv --json",
                              {}, "XDG_STATE_HOME='" + (dir / "other").string() + "'");
  ASSERT_EQ(complete.exit, 0) << complete.err;
  const std::vector<std::string> full = CsvRows(ReadBytes(dir / "full.csv"));
  ASSERT_GE(full.size(), rows.size());
  EXPECT_TRUE(std::equal(rows.begin(), rows.end(), full.begin())) << "recovered as the unit sent it";
  ScriptedPrompter prompter;
  TmyFile file(prompter);
  const auto buffers = std::make_unique<MeasureBuffers>();
  MeasureData data;
  data.adCode = buffers->adCode;
  data.volt = buffers->volt;
  FftSetting fft;
  SaveSetting save;
  AdUnitSetting ad;
  ASSERT_TRUE(file.LoadDataFile(dir / "rec.DTA", kDataFileHeader, data, fft, save, ad));
  EXPECT_EQ(data.ad_dnum, static_cast<std::int32_t>(prefix));
  EXPECT_EQ(fft.DataCountMax, static_cast<std::int32_t>(prefix));
}

}  // namespace
