// zemtra-cli end to end: the executable against the simulated unit on its virtual
// clock, with its exit codes, texts and files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>

#include "ScriptedPrompter.h"
#include "files/Myfile.h"
#include "files/PdfTools.h"

namespace fs = std::filesystem;

namespace {

struct CliRun {
  int exit = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class CliEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("zemtra-cli-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  // Runs the tool in `where` (default: the test's directory); prefix runs it under
  // another command (e.g. timeout).
  CliRun Run(const std::string& args, const fs::path& where = {}, const std::string& prefix = "") {
    const fs::path cwd = where.empty() ? dir : where;
    const std::string command = "cd '" + cwd.string() + "' && " + prefix + " '" + ZEMTRA_CLI_PATH + "' " + args +
                                " >'" + (dir / "stdout").string() + "' 2>'" + (dir / "stderr").string() +
                                "' </dev/null";
    const int status = std::system(command.c_str());
    CliRun run;
    run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadAll(dir / "stdout");
    run.err = ReadAll(dir / "stderr");
    return run;
  }

  fs::path dir;
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
  const auto spectrum = ReadAll(dir / "measured" / "run.FFT");
  EXPECT_GT(spectrum.size(), 2048U * 10U);
  EXPECT_EQ(spectrum, ReadAll(dir / "analysed" / "run.FFT"));

  const auto other = Run("analyze measured/run.DTA --window rect --json");
  ASSERT_EQ(other.exit, 0) << other.err;
  EXPECT_NE(other.out.find("矩形波窓"), std::string::npos) << "options override what the file holds";

  std::ofstream(dir / "broken.DTA") << "DataFile:Zemtra\r\nnothing else\r\n";
  const auto broken = Run("analyze broken.DTA");
  EXPECT_EQ(broken.exit, 6);
  EXPECT_NE(broken.err.find("データファイルの内容が正しくありませんでした"), std::string::npos);
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
  EXPECT_EQ(ReadAll(dir / "run.DTA"), "precious");
  EXPECT_NE(kept.out.find(R"("data":{"path":"run.DTA","written":false})"), std::string::npos) << kept.out;
  const auto replaced = Run("measure --simulate=clock=virtual --samples 1024 --out run.DTA --yes --json");
  ASSERT_EQ(replaced.exit, 0);
  EXPECT_NE(ReadAll(dir / "run.DTA"), "precious");
}

TEST_F(CliEndToEnd, PdfPageOfAMeasurementAndOfADataFile) {
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
  EXPECT_EQ(ReadAll(dir / "kept.pdf"), "earlier page") << "replaced only when the user says yes";
  EXPECT_NE(kept.out.find(R"("pdf":{"path":"kept.pdf","written":false})"), std::string::npos) << kept.out;
}

TEST_F(CliEndToEnd, UnprintablePdfExitsWithTheFileCode) {
  ASSERT_EQ(Run("measure --simulate=clock=virtual --samples 1024 --out run.DTA").exit, 0);
  const auto run = Run("analyze run.DTA --pdf no-such-directory/run.pdf");
  EXPECT_EQ(run.exit, 6);
  EXPECT_NE(run.err.find("印刷できませんでした"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(dir / "no-such-directory"));
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

  const auto good = Run("settings good.prf");
  EXPECT_EQ(good.exit, 0) << good.err;
  EXPECT_NE(good.out.find("vref: 2.5\n"), std::string::npos) << good.out;
  EXPECT_NE(good.out.find("DataFileName: D:\\data\\run1.DTA\n"), std::string::npos) << good.out;
  EXPECT_NE(good.out.find("DataCountMax: 65536\n"), std::string::npos) << good.out;

  for (const char* bad : {"range.prf", "missing.prf"}) {
    const auto run = Run(std::string("settings ") + bad);
    EXPECT_EQ(run.exit, 2) << bad;
    EXPECT_NE(run.err.find("設定ファイルの内容が正しくありませんでした"), std::string::npos) << bad;
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

  auto buffers = std::make_unique<MeasureBuffers>();
  MeasureData data;
  buffers->Bind(data);
  data.ad_dnum = 2000;
  data.deltaF = 2.4F;
  std::fill(data.adCode, data.adCode + data.ad_dnum, 0x800000);
  save.DataFileName = (dir / "odd.DTA").string();
  ASSERT_EQ(file.SaveDataFile(kDataFileHeader, ad, data, fft, save), WriteResult::Written);
  const auto analysed = Run("analyze odd.DTA");
  EXPECT_EQ(analysed.exit, 6) << analysed.err;
  EXPECT_NE(analysed.err.find("データファイルの内容が正しくありませんでした"), std::string::npos) << analysed.err;
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

TEST_F(CliEndToEnd, InterruptStopsTheMeasurementWithoutFiles) {
  // On the real clock 65536 samples take 13.6 s; the interrupt comes after 0.5 s.
  const auto run = Run("measure --simulate --out run.DTA", {}, "timeout --preserve-status -s INT 0.5");
  EXPECT_EQ(run.exit, 130) << run.err;
  EXPECT_NE(run.err.find("計測中止しました"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(dir / "run.DTA"));
}

}  // namespace
