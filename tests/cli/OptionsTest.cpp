#include <gtest/gtest.h>

#include "cli/Options.h"

namespace {

CliParse Parse(std::vector<std::string> args) { return ParseCommandLine(args); }

TEST(CliOptions, MeasureWithEveryKindOfOption) {
  const auto p =
      Parse({"measure",   "--samples", "4096",         "--rate=2400", "--gain",     "8",
             "--channel", "1",         "--sinc3",      "--no-buffer", "--chop",     "--simulate=ch0=sine:100:0.01",
             "--window",  "flattop",   "--no-correct", "--linear",    "--relative", "--volts",
             "--no-wave", "--json",    "--yes",        "--out",       "a.DTA",      "--fft=a.FFT",
             "--png",     "a.png"});
  ASSERT_EQ(p.error, "");
  const auto& o = p.options;
  EXPECT_EQ(o.command, CliCommand::Measure);
  EXPECT_EQ(o.simulate, "ch0=sine:100:0.01");
  EXPECT_TRUE(o.json && o.yes);
  EXPECT_EQ(o.out, "a.DTA");
  EXPECT_EQ(o.fft, "a.FFT");
  EXPECT_EQ(o.png, "a.png");

  AdUnitSetting unit;
  FftSetting fft;
  fft.index_dB_max = 0;
  ApplyUnitOptions(o, unit, fft);
  ApplyAnalysisOptions(o, fft);
  EXPECT_EQ(fft.DataCountMax, 4096);
  EXPECT_EQ(fft.DataCountSel, 2);
  EXPECT_EQ(unit.spsSel, 11);
  EXPECT_EQ(unit.GainSel, 1U);
  EXPECT_EQ(unit.Gain, 8);
  EXPECT_EQ(unit.ch_sel, 1);
  EXPECT_EQ(unit.sinc3, 1);
  EXPECT_EQ(unit.buf_on, 0);
  EXPECT_EQ(unit.chop_on, 1);
  EXPECT_EQ(fft.whichWindowFunc, 3);
  EXPECT_EQ(fft.fWinFuncAdjust, 0);
  EXPECT_EQ(fft.fLogGraph, 0);
  EXPECT_EQ(fft.fAbsoGraph, 0);
  EXPECT_EQ(fft.index_dB_max, 2) << "relative display starts at 0 dB";
  EXPECT_EQ(fft.fSig_Volt, 1);
  EXPECT_EQ(fft.fWaveGraph, 0);
}

TEST(CliOptions, OptionsNotGivenLeaveTheRecordsAlone) {
  const auto p = Parse({"measure", "--simulate"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(p.options.simulate, "") << "bare --simulate selects the demonstration signal";
  AdUnitSetting unit;
  FftSetting fft;
  ApplyUnitOptions(p.options, unit, fft);
  ApplyAnalysisOptions(p.options, fft);
  EXPECT_EQ(unit, AdUnitSetting{});
  EXPECT_EQ(fft, FftSetting{});
}

TEST(CliOptions, AnalyzeAndSettingsTakeAFile) {
  auto p = Parse({"analyze", "run1.DTA", "--window", "rect", "--fft", "run1.FFT", "--pdf=run1.pdf", "--landscape"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(p.options.command, CliCommand::Analyze);
  EXPECT_EQ(p.options.file, "run1.DTA");
  EXPECT_EQ(p.options.window, 0);
  EXPECT_EQ(p.options.pdf, "run1.pdf");
  EXPECT_TRUE(p.options.landscape);
  p = Parse({"settings", "Zemtraini.prf"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(p.options.file, "Zemtraini.prf");
  EXPECT_TRUE(Parse({"measure", "--help"}).options.help);
  EXPECT_TRUE(Parse({"--help"}).options.help);
}

TEST(CliOptions, DoubleDashEndsTheOptionsAndDashIsTheStandardOutput) {
  auto p = Parse({"analyze", "--fft", "-", "--", "--odd.DTA"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(p.options.file, "--odd.DTA");
  EXPECT_TRUE(ToStdout(p.options.fft));
  p = Parse({"analyze", "--", "--"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(p.options.file, "--") << "only the first -- ends the options";
  p = Parse({"analyze", "a.DTA", "--csv", "-", "--spectrum-csv=s.csv", "--nsd", "./-", "--png", "./-"});
  ASSERT_EQ(p.error, "");
  EXPECT_TRUE(ToStdout(p.options.csv));
  EXPECT_EQ(p.options.spectrumCsv, "s.csv");
  EXPECT_FALSE(ToStdout(p.options.noise.nsd)) << "./- is a file named -";
  EXPECT_EQ(p.options.png, "./-");
}

TEST(CliOptions, NoiseOptionsAndTheDefaultBand) {
  auto p = Parse(
      {"measure", "--average", "16", "--segments=4096", "--band", "0.5:1e3", "--nsd", "a.csv", "--nsd-png=a.png"});
  ASSERT_EQ(p.error, "");
  const NoiseOptions& noise = p.options.noise;
  EXPECT_EQ(noise.average, 16);
  EXPECT_EQ(noise.segments, 4096);
  EXPECT_EQ(noise.nsd, "a.csv");
  EXPECT_EQ(noise.nsdPng, "a.png");
  ASSERT_TRUE(noise.ReportedBand());
  EXPECT_EQ(noise.ReportedBand()->f2, 1000.0);
  EXPECT_TRUE(noise.Wanted());

  p = Parse({"analyze", "a.DTA", "--density"});
  ASSERT_EQ(p.error, "");
  ASSERT_TRUE(p.options.noise.ReportedBand());
  EXPECT_EQ(p.options.noise.ReportedBand()->f1, 0.1) << "the data sheets' band by default";
  EXPECT_EQ(p.options.noise.ReportedBand()->f2, 10.0);
  EXPECT_FALSE(Parse({"analyze", "a.DTA", "--nsd", "a.csv"}).options.noise.ReportedBand()) << "a file alone, no band";
  EXPECT_FALSE(Parse({"measure"}).options.noise.Wanted());
}

TEST(CliOptions, EveryCommandTakesTheLanguage) {
  EXPECT_EQ(Parse({"measure", "--lang", "en"}).options.language, Language::English);
  EXPECT_EQ(Parse({"analyze", "a.DTA", "--lang=ja"}).options.language, Language::Japanese);
  for (const char* command : {"settings", "recover"}) {
    const auto p = Parse({command, "x", "--lang=en"});
    EXPECT_EQ(p.error, "") << command;
    EXPECT_EQ(p.options.language, Language::English) << command;
  }
  EXPECT_EQ(Parse({"scan", "--lang", "en"}).options.language, Language::English);
  EXPECT_EQ(Parse({"measure"}).options.language, std::nullopt) << "the locale decides";

  // Before the command, as one types it for the whole program.
  const auto before = Parse({"--lang=en", "analyze", "a.DTA"});
  EXPECT_EQ(before.error, "");
  EXPECT_EQ(before.options.command, CliCommand::Analyze);
  EXPECT_TRUE(before.options.commandGiven);
  EXPECT_EQ(before.options.language, Language::English);
  EXPECT_EQ(Parse({"--lang", "ja", "scan"}).options.command, CliCommand::Scan);
  const auto help = Parse({"--lang=en", "--help"});
  EXPECT_TRUE(help.options.help);
  EXPECT_FALSE(help.options.commandGiven) << "the program's help, not a command's";
  EXPECT_EQ(Parse({"--lang=en"}).error.rfind("a command is needed", 0), 0U);
  EXPECT_EQ(Parse({"--lang=de", "measure"}).error, "--lang 'de' is not allowed: en or ja");
}

TEST(CliOptions, InvalidOptionsNameTheOptionAndWhatIsAllowed) {
  const struct {
    std::vector<std::string> args;
    const char* expected;
  } rows[] = {
      {{}, "a command is needed"},
      {{"calibrate"}, "unknown command 'calibrate': allowed are measure, analyze, settings"},
      {{"measure", "--samples", "1000"}, "--samples 1000 is not allowed: 1024, 2048"},
      {{"measure", "--samples", "131072"}, "--samples 131072 is not allowed"},
      {{"measure", "--samples", "4k"}, "--samples '4k' is not allowed"},
      {{"measure", "--rate", "4000"}, "--rate 4000 is not allowed: 5, 10, 20"},
      {{"measure", "--gain", "2"}, "--gain 2 is not allowed: 1, 8, 16, 32, 64 or 128"},
      {{"measure", "--channel", "2"}, "--channel 2 is not allowed: 0 or 1"},
      {{"measure", "--window", "blackman"}, "--window 'blackman' is not allowed: rect, hanning, hamming or flattop"},
      {{"measure", "--window", "hanning", "--window", "blackman"}, "--window 'blackman' is not allowed"},
      {{"measure", "--rate"}, "--rate needs a value"},
      {{"measure", "--lang", "de"}, "--lang 'de' is not allowed: en or ja"},
      {{"scan", "--lang"}, "--lang needs a value"},
      {{"measure", "--colour"}, "unknown option '--colour'"},
      {{"measure", "extra"}, "unexpected argument 'extra'"},
      {{"measure", "--sinc3=1"}, "--sinc3 takes no value"},
      {{"analyze"}, "analyze needs a data file"},
      {{"analyze", "a.DTA", "--rate", "4800"}, "--rate applies to measure only"},
      {{"analyze", "a.DTA", "--out", "b.DTA"}, "--out applies to measure and recover only"},
      {{"settings", "a.prf", "--window", "rect"}, "--window applies to measure and analyze only"},
      {{"settings"}, "settings needs a settings file"},
      {{"settings", "a.prf", "--json"}, "--json applies to measure, analyze and recover only"},
      {{"settings", "a.prf", "--yes"}, "--yes applies to measure, analyze and recover only"},
      {{"measure", "--device"}, "--device needs a value"},
      {{"analyze", "a.DTA", "--landscape"}, "--landscape applies to --pdf only"},
      {{"analyze", "a.DTA", "--pdf", "a.pdf", "--landscape=yes"}, "--landscape takes no value"},
      {{"settings", "a.prf", "--pdf", "a.pdf"}, "--pdf applies to measure and analyze only"},
      {{"measure", "--yes=no"}, "--yes takes no value"},
      {{"measure", "--yes="}, "--yes takes no value"},
      {{"analyze", "a.DTA", "--json=0"}, "--json takes no value"},
      {{"measure", "--help=x"}, "--help takes no value"},
      {{"measure", "--out", ""}, "--out needs a file name, not an empty one"},
      {{"measure", "--fft="}, "--fft needs a file name"},
      {{"analyze", "a.DTA", "--png", ""}, "--png needs a file name"},
      {{"analyze", "a.DTA", "--pdf="}, "--pdf needs a file name"},
      {{"measure", "--settings="}, "--settings needs a file name"},
      {{"analyze", ""}, "analyze needs a data file (FILE.DTA), not an empty name"},
      {{"measure", "--average", "0"}, "--average '0' is not allowed: 1 to 1000"},
      {{"measure", "--average", "1001"}, "--average '1001' is not allowed"},
      {{"analyze", "a.DTA", "--average", "4"}, "--average applies to measure only"},
      {{"measure", "--density", "--segments", "128"}, "--segments '128' is not allowed: a power of two from 256"},
      {{"measure", "--density", "--segments", "3000"}, "--segments '3000' is not allowed"},
      {{"measure", "--segments", "4096"}, "--segments applies to the noise density"},
      {{"measure", "--band", "10:0.1"}, "--band '10:0.1' is not allowed: F1:F2 in Hz with 0 < F1 < F2"},
      {{"measure", "--band", "0:10"}, "--band '0:10' is not allowed"},
      {{"measure", "--band", "0.1"}, "--band '0.1' is not allowed"},
      {{"measure", "--band", "0.1:x"}, "--band '0.1:x' is not allowed"},
      {{"measure", "--density=yes"}, "--density takes no value"},
      {{"measure", "--nsd"}, "--nsd needs a value"},
      {{"analyze", "a.DTA", "--nsd-png="}, "--nsd-png needs a file name"},
      {{"settings", "a.prf", "--density"}, "--density applies to measure and analyze only"},
      {{"measure", "--simulate", "--device=tty"}, "--simulate and --device exclude each other"},
      {{"measure", "--device=libftdi", "--simulate=clock=virtual"}, "--simulate and --device exclude each other"},
      {{"measure", "--", "--odd"}, "unexpected argument '--odd'"},
      {{"analyze", "--", "a.DTA", "b.DTA"}, "unexpected argument 'b.DTA'"},
      {{"analyze", "a.DTA", "--png", "-"}, "--png cannot write to the standard output"},
      {{"analyze", "a.DTA", "--pdf=-"}, "--pdf cannot write to the standard output"},
      {{"analyze", "a.DTA", "--nsd-png", "-"}, "--nsd-png cannot write to the standard output"},
      {{"measure", "--out", "-"}, "--out cannot write to the standard output"},
      {{"analyze", "a.DTA", "--nsd", "-", "--json"}, "--json and --nsd both write to the standard output"},
      {{"analyze", "a.DTA", "--csv="}, "--csv needs a file name"},
      {{"settings", "a.prf", "--spectrum-csv", "s.csv"}, "--spectrum-csv applies to measure and analyze only"},
      {{"recover", "--list", "20261209-213400"}, "--list takes no journal and writes no file"},
      {{"recover", "--list", "--csv", "a.csv"}, "--list takes no journal and writes no file"},
      {{"analyze", "a.DTA", "--list"}, "--list applies to recover only"},
      {{"recover", "--pdf", "a.pdf"}, "--pdf applies to measure and analyze only"},
      {{"recover", "--landscape"}, "--landscape applies to measure and analyze only"},
      {{"recover", "a", "b"}, "unexpected argument 'b'"},
  };
  for (const auto& r : rows) {
    const auto p = ParseCommandLine(r.args);
    EXPECT_EQ(p.error.rfind(r.expected, 0), 0U) << "got: " << p.error;
  }
}

TEST(CliOptions, HelpTextsNameTheirOptions) {
  EXPECT_NE(HelpText("measure").find("--samples"), std::string::npos);
  EXPECT_NE(HelpText("analyze").find("--window"), std::string::npos);
  EXPECT_EQ(HelpText("analyze").find("--samples"), std::string::npos);
  EXPECT_NE(HelpText("").find("Exit codes"), std::string::npos);
}

}  // namespace
