// The measurement figures in zemtra-cli: the noise object always, --tone and --allan,
// the histogram and Allan files with the output rules of every file, and figures that
// do not follow the display window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "CaptureFile.h"
#include "PictureSupport.h"
#include "cli/Commands.h"
#include "files/FileTestSupport.h"

namespace {

// The number after "key": in a JSON text (the first one), or NaN when absent or null.
double NumberAt(const std::string& json, const std::string& key) {
  const std::string quoted = "\"" + key + "\":";
  const auto at = json.find(quoted);
  if (at == std::string::npos) return std::nan("");
  const char* start = json.c_str() + at + quoted.size();
  char* end = nullptr;
  const double value = std::strtod(start, &end);
  return end == start ? std::nan("") : value;
}

std::size_t Lines(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class CliFigures : public ::testing::Test {
 protected:
  int Run(const std::vector<std::string>& args) {
    const CliParse parse = ParseCommandLine(args);
    EXPECT_EQ(parse.error, "");
    CaptureFile out;
    CaptureFile err;
    io.out = out.File();
    io.err = err.File();
    const int exit = RunCommand(parse.options, io);
    stdoutText = out.Text();
    stderrText = err.Text();
    return exit;
  }
  std::string Path(const std::string& name) const { return (dir / name).string(); }

  TempDir dir;
  CliIo io;
  std::string stdoutText;
  std::string stderrText;
};

// 1 V at 37.5 Hz (0.5 line off at 16384 samples of 4800 per second) in white noise.
constexpr const char* kTone = "--simulate=ch0=sine:37.5:1+white:2e-5,clock=virtual";

TEST_F(CliFigures, ToneAllanAndFilesOfAMeasurement) {
  ASSERT_EQ(Run({"measure", kTone, "--gain", "1", "--samples", "16384", "--out", Path("run.DTA"), "--tone", "--allan",
                 "--histogram", Path("h.csv"), "--allan-csv", Path("a.csv"), "--json"}),
            0)
      << stderrText;
  const std::string& json = stdoutText;
  for (const char* key : {"sigma_codes",      "sigma_v",        "pp_codes",        "pp_v",
                          "pp_gauss_v",       "effective_bits", "noise_free_bits", "noise_free_counts",
                          "dynamic_range_db", "fsr_v",          "frequency_hz",    "vrms",
                          "snr_db",           "thd_db",         "sinad_db",        "sfdr_dbc",
                          "enob_bits",        "tau_s",          "adev_v",          "terms"}) {
    EXPECT_FALSE(std::isnan(NumberAt(json, key))) << key << " in " << json;
  }
  EXPECT_DOUBLE_EQ(NumberAt(json, "fsr_v"), 5.0);
  EXPECT_NEAR(NumberAt(json, "frequency_hz"), 37.5, 1e-3);
  EXPECT_NEAR(NumberAt(json, "vrms"), 1.0 / std::sqrt(2.0), 1e-4);
  EXPECT_NEAR(NumberAt(json, "snr_db"), 89.2, 1.0) << "the unit's own noise and 20 µV";
  EXPECT_NE(json.find(R"("harmonics":[{"order":2,)"), std::string::npos) << json;

  const std::string histogram = ReadBytes(dir / "h.csv");
  EXPECT_EQ(histogram.rfind("code,count,gauss\r\n", 0), 0U);
  const std::string allan = ReadBytes(dir / "a.csv");
  EXPECT_EQ(allan.rfind("tau_s,adev_v,terms\r\n", 0), 0U);
  EXPECT_EQ(Lines(allan), 1U + 13U) << "τ = 1 … 4096 samples of 16384";
  EXPECT_EQ(allan.find("0.00020833333333333335,"), 18U + 2U) << "τ of one sample at 4800 per second first";

  if (kCliDrawsPictures) {
    ASSERT_EQ(Run({"analyze", Path("run.DTA"), "--histogram-png", Path("h.png"), "--allan-png", Path("a.png")}), 0)
        << stderrText;
    for (const char* name : {"h.png", "a.png"}) {
      EXPECT_EQ(ReadBytes(dir / name).substr(0, 8), "\x89PNG\r\n\x1a\n") << name;
    }
  }

  // The figures of the file, whatever the display window: the same record, the same text.
  std::string tone;
  for (const char* window : {"rect", "hanning", "flattop"}) {
    ASSERT_EQ(Run({"analyze", Path("run.DTA"), "--window", window, "--tone", "--json"}), 0) << stderrText;
    const std::string part =
        stdoutText.substr(stdoutText.find("\"noise\":"), stdoutText.find("\"files\":") - stdoutText.find("\"noise\":"));
    if (tone.empty()) tone = part;
    EXPECT_EQ(part, tone) << window;
  }
  EXPECT_NE(tone.find("\"tone\":{"), std::string::npos);
  EXPECT_EQ(tone.find("\"allan\""), std::string::npos) << "only with --allan";

  ASSERT_EQ(Run({"analyze", Path("run.DTA"), "--tone"}), 0) << stderrText;
  EXPECT_NE(stdoutText.find("\nnoise: σ "), std::string::npos) << stdoutText;
  EXPECT_NE(stdoutText.find("\ntone: 37.5000 Hz, 707.1 mV RMS; SNR "), std::string::npos) << stdoutText;
}

TEST_F(CliFigures, NoiseAloneHasNoToneAndTheFilesFollowTheOutputRules) {
  ASSERT_EQ(Run({"measure", "--simulate=ch0=white:1e-6,clock=virtual", "--samples", "4096", "--tone", "--json"}), 0);
  EXPECT_NE(stdoutText.find("\"tone\":null"), std::string::npos) << stdoutText;
  EXPECT_NE(stdoutText.find("\"noise\":{\"sigma_codes\":"), std::string::npos) << "always, without an option";
  ASSERT_EQ(Run({"measure", "--simulate=ch0=white:1e-6,clock=virtual", "--samples", "4096", "--tone"}), 0);
  EXPECT_NE(stdoutText.find("\ntone: none stands clear of the noise\n"), std::string::npos) << stdoutText;

  struct Row {
    const char* what;
    std::vector<std::string> options;
    int exit;
    const char* message;
  };
  WriteBytes(dir / "old.csv", "old");
  const std::vector<Row> rows = {
      {"two outputs naming one file",
       {"--histogram", Path("x.csv"), "--allan-csv", Path("x.csv")},
       64,
       "--histogram and --allan-csv name the same file"},
      {"an existing file without --yes and no terminal is kept", {"--histogram", Path("old.csv")}, 0, ""},
      {"a directory is never replaced", {"--allan-csv", Path("")}, 6, "the Allan deviation could not be written"},
  };
  for (const Row& row : rows) {
    std::vector<std::string> args{"measure", "--simulate=clock=virtual", "--samples", "1024"};
    args.insert(args.end(), row.options.begin(), row.options.end());
    EXPECT_EQ(Run(args), row.exit) << row.what << ": " << stderrText;
    EXPECT_NE(stderrText.find(row.message), std::string::npos) << row.what << ": " << stderrText;
  }
  EXPECT_EQ(ReadBytes(dir / "old.csv"), "old");
}

TEST(CliFigureOptions, RefusedAsEveryOtherOption) {
  struct Row {
    std::vector<std::string> args;
    const char* error;
  };
  const std::vector<Row> rows = {
      {{"measure", "--tone=1"}, "--tone takes no value"},
      {{"analyze", "f.DTA", "--histogram"}, "--histogram needs a value"},
      {{"measure", "--allan-csv", ""}, "--allan-csv needs a file name, not an empty one"},
      {{"settings", "f.prf", "--allan"}, "--allan applies to measure and analyze only"},
  };
  for (const Row& row : rows) EXPECT_EQ(ParseCommandLine(row.args).error, row.error) << row.args[1];
  const CliParse parse = ParseCommandLine({"analyze", "f.DTA", "--tone", "--allan", "--histogram=h.csv"});
  EXPECT_TRUE(parse.options.figures.tone && parse.options.figures.allan);
  EXPECT_EQ(parse.options.figures.histogram, "h.csv");
}

}  // namespace
