#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <functional>
#include <memory>
#include <random>

#include "FileTestSupport.h"
#include "ScriptedPrompter.h"
#include "files/Myfile.h"

namespace {

constexpr float kStep = 4800.0F / 65536.0F;

// A measurement of n samples: codes across the whole 24-bit range, voltages from
// random bit patterns (every finite float may occur), the awkward ones first.
void Fill(MeasureData& data, int n, std::uint32_t seed) {
  const float awkward[] = {0.1F, 1e-5F, -2.5F,     FLT_MIN, FLT_MAX, -FLT_MAX, std::numeric_limits<float>::denorm_min(),
                           0.0F, 1e15F, 9.9999e-5F};
  std::mt19937 rng(seed);
  data.ad_dnum = n;
  data.deltaF = kStep;
  for (int i = 0; i < n; ++i) {
    data.adCode[i] = static_cast<std::int32_t>(rng() % 16777216U);
    float v = 0;
    do v = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
    while (!std::isfinite(v));
    data.volt[i] = i < static_cast<int>(std::size(awkward)) ? awkward[i] : v;
  }
  data.adCode[0] = 0;
  data.adCode[1] = 16777215;
}

class DataFile : public testing::Test {
 protected:
  void SetUp() override {
    written.Bind(out);
    read.Bind(in);
    save.DataFileName = (dir / "run1.DTA").string();
  }
  WriteResult Save() { return file.SaveDataFile(kDataFileHeader, ad, out, fft, save); }
  bool Load(const fs::path& path) { return file.LoadDataFile(path, kDataFileHeader, in, fftIn, saveIn, adIn); }
  bool LoadText(const std::string& text) {
    WriteBytes(dir / "case.DTA", text);
    return Load(dir / "case.DTA");
  }
  // The lines of a saved file of 1024 samples.
  std::vector<std::string> SavedLines() {
    Fill(out, 1024, 7);
    EXPECT_EQ(Save(), WriteResult::Written);
    return SplitCrLf(ReadBytes(save.DataFileName));
  }

  TempDir dir;
  ScriptedPrompter prompter;
  TmyFile file{prompter};
  std::unique_ptr<MeasureBuffers> writtenBuffers = std::make_unique<MeasureBuffers>();
  std::unique_ptr<MeasureBuffers> readBuffers = std::make_unique<MeasureBuffers>();
  MeasureBuffers& written = *writtenBuffers;
  MeasureBuffers& read = *readBuffers;
  MeasureData out, in;
  AdUnitSetting ad{3, 2, 16, 0, 2.5F, 1, 0, 1, 1};
  FftSetting fft{};
  SaveSetting save{1, "", "2026/12/08 19:30:05"};
  AdUnitSetting adIn{};
  FftSetting fftIn{};
  SaveSetting saveIn{};
};

TEST_F(DataFile, EverySampleRoundTripsExactly) {
  for (int n : {1024, 65536}) {
    Fill(out, n, static_cast<std::uint32_t>(n));
    prompter.answers = {true};  // the second save replaces the first file
    ASSERT_EQ(Save(), WriteResult::Written);
    const auto lines = SplitCrLf(ReadBytes(save.DataFileName));
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(n) + 41);
    EXPECT_EQ(lines[0], kDataFileHeader);
    EXPECT_EQ(lines[37], "D:");
    EXPECT_EQ(lines[38], "ad_dnum:" + std::to_string(n));
    EXPECT_EQ(lines[39], "deltaF:0.0732421875");
    EXPECT_EQ(lines[40], "0,0.100000001490116");
    EXPECT_EQ(lines[41], "16777215,9.99999974737875E-6");
    EXPECT_EQ(lines.back(), "END:");

    ASSERT_TRUE(Load(save.DataFileName));
    ASSERT_EQ(in.ad_dnum, n);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(in.deltaF), std::bit_cast<std::uint32_t>(out.deltaF));
    int mismatches = 0;
    for (int i = 0; i < n; ++i) {
      // Only the sign of a zero is not kept: zero is written "0".
      mismatches +=
          in.adCode[i] != out.adCode[i] || in.volt[i] != out.volt[i] ||
          (in.volt[i] != 0 && std::bit_cast<std::uint32_t>(in.volt[i]) != std::bit_cast<std::uint32_t>(out.volt[i]));
    }
    EXPECT_EQ(mismatches, 0) << n << " samples";
    EXPECT_EQ(adIn, ad);
    EXPECT_EQ(saveIn, save) << "the F section holds the file's own path";
  }
}

TEST_F(DataFile, InvalidFilesAreRejected) {
  const auto base = SavedLines();
  const auto sample = [](int i) { return static_cast<std::size_t>(40 + i); };
  using Lines = std::vector<std::string>;
  const struct {
    const char* reason;
    std::function<void(Lines&)> edit;
  } cases[] = {
      {"the settings file's header", [](Lines& l) { l[0] = "Zemtraini"; }},
      {"no D: line", [](Lines& l) { l[37] = "D :"; }},
      {"1023 samples", [](Lines& l) { l[38] = "ad_dnum:1023"; }},
      {"65537 samples", [](Lines& l) { l[38] = "ad_dnum:65537"; }},
      {"no sample count", [](Lines& l) { l[38] = "count:1024"; }},
      {"a step of 0", [](Lines& l) { l[39] = "deltaF:0"; }},
      {"a negative step", [](Lines& l) { l[39] = "deltaF:-4.6875"; }},
      {"a step that is not a number", [](Lines& l) { l[39] = "deltaF:nan"; }},
      {"an infinite step", [](Lines& l) { l[39] = "deltaF:inf"; }},
      {"a step beyond the float range", [](Lines& l) { l[39] = "deltaF:1e39"; }},
      {"a step that is 0 as a float", [](Lines& l) { l[39] = "deltaF:1e-50"; }},
      {"no step", [](Lines& l) { l[39] = "step:4.6875"; }},
      {"a sample without comma", [&](Lines& l) { l[sample(5)] = "8388608"; }},
      {"a blank before the comma", [&](Lines& l) { l[sample(5)] = "8388608 ,0.5"; }},
      {"a code that is not an integer", [&](Lines& l) { l[sample(5)] = "1.5,0.5"; }},
      {"no code", [&](Lines& l) { l[sample(5)] = ",0.5"; }},
      {"a voltage that is not a number", [&](Lines& l) { l[sample(5)] = "1,nan"; }},
      {"an infinite voltage", [&](Lines& l) { l[sample(5)] = "1,-inf"; }},
      {"a voltage beyond the float range", [&](Lines& l) { l[sample(5)] = "1,-1e39"; }},
      {"too few sample lines", [&](Lines& l) { l.resize(sample(1023)); }},
      {"a sample line longer than 64 KiB", [&](Lines& l) { l[sample(9)] = "1," + std::string(70000, '1'); }},
  };
  for (const auto& c : cases) {
    Lines lines = base;
    c.edit(lines);
    EXPECT_FALSE(LoadText(JoinLines(lines))) << c.reason;
  }
  SaveSetting s;
  AdUnitSetting a;
  FftSetting f;
  EXPECT_FALSE(file.LoadSettingFile(save.DataFileName, kSettingFileHeader, f, s, a)) << "data file as settings";
}

TEST_F(DataFile, TolerantFormsLoad) {
  const auto base = SavedLines();
  using Lines = std::vector<std::string>;
  const struct {
    const char* reason;
    std::function<void(Lines&)> edit;
  } cases[] = {
      {"no END: line", [](Lines& l) { l.pop_back(); }},
      {"lines after the last sample are never looked at",
       [](Lines& l) { l.back() = "garbage" + std::string(70000, 'x'); }},
      {"comments between samples",
       [](Lines& l) {
         l.insert(l.begin() + 500, {";a", ";b"});
       }},
  };
  for (const auto& c : cases) {
    Lines lines = base;
    c.edit(lines);
    EXPECT_TRUE(LoadText(JoinLines(lines))) << c.reason;
    EXPECT_EQ(in.ad_dnum, 1024) << c.reason;
    EXPECT_EQ(in.volt[1023], out.volt[1023]) << c.reason;
  }
  EXPECT_TRUE(LoadText(JoinLines(base, "\n"))) << "line feeds alone";

  // A voltage too small for a float is still a number: it is stored as the nearest
  // float, zero or the smallest one.
  auto tiny = base;
  tiny[40 + 5] = "5,1e-50";
  tiny[40 + 6] = "6,-1e-45";
  tiny[40 + 7] = "7,1e-400";
  ASSERT_TRUE(LoadText(JoinLines(tiny))) << "voltages below the float range";
  EXPECT_EQ(in.volt[5], 0.0F);
  EXPECT_EQ(in.volt[6], -std::numeric_limits<float>::denorm_min());
  EXPECT_EQ(in.volt[7], 0.0F) << "below the double range too";
}

TEST(OverwriteQuestion, NamesTheFileAsThePrompterShowsPaths) {
  // The desktop's prompter decodes a path as its caption does; this one marks it.
  struct Decoding : ScriptedPrompter {
    std::string PathText(const std::string& path) const override { return "<" + path + ">"; }
  } prompter;
  TempDir dir;
  const fs::path target = dir / "\x83\x65.DTA";  // a Shift-JIS name
  WriteBytes(target, "kept");
  EXPECT_EQ(WriteAsking(target, prompter, SystemFileCalls(), [](AtomicFile&) { return true; }), WriteResult::Declined);
  ASSERT_EQ(prompter.questions.size(), 1U);
  EXPECT_EQ(prompter.questions[0].text, "ファイル：<" + target.string() + ">があります。\n上書きしますか");
}

TEST_F(DataFile, DecliningTheOverwriteKeepsTheFile) {
  WriteBytes(save.DataFileName, "precious");
  Fill(out, 1024, 1);
  prompter.answers = {false};
  EXPECT_EQ(Save(), WriteResult::Declined);
  EXPECT_EQ(ReadBytes(save.DataFileName), "precious");
  ASSERT_EQ(prompter.questions.size(), 1U);
  EXPECT_EQ(prompter.questions[0].text, "ファイル：" + save.DataFileName + "があります。\n上書きしますか");
  EXPECT_EQ(prompter.questions[0].caption, "Zemtra");

  prompter.answers = {true};
  EXPECT_EQ(Save(), WriteResult::Written);
  EXPECT_TRUE(Load(save.DataFileName));
}

TEST_F(DataFile, RecordsThatCouldNotBeReadBackAreNotWritten) {
  WriteBytes(save.DataFileName, "precious");
  const struct {
    const char* reason;
    std::function<void(MeasureData&, SaveSetting&)> edit;
  } cases[] = {
      {"no target", [](MeasureData&, SaveSetting& s) { s.DataFileName.clear(); }},
      {"a line break in the start time", [](MeasureData&, SaveSetting& s) { s.StartDateTime = "a\nb"; }},
      {"an empty record", [](MeasureData& d, SaveSetting&) { d.ad_dnum = 0; }},
      {"more samples than the arrays hold", [](MeasureData& d, SaveSetting&) { d.ad_dnum = 65537; }},
      {"no frequency step", [](MeasureData& d, SaveSetting&) { d.deltaF = 0; }},
      {"no arrays", [](MeasureData& d, SaveSetting&) { d.volt = nullptr; }},
      {"a voltage that is not a number", [](MeasureData& d, SaveSetting&) { d.volt[1023] = std::nanf(""); }},
  };
  for (const auto& c : cases) {
    Fill(out, 1024, 1);
    SaveSetting s = save;
    MeasureData d = out;
    c.edit(d, s);
    prompter.answers = {true};
    EXPECT_EQ(file.SaveDataFile(kDataFileHeader, ad, d, fft, s), WriteResult::Failed) << c.reason;
  }
  // Settings the reader would reject make the whole data file unreadable.
  Fill(out, 1024, 1);
  AdUnitSetting badRate = ad;
  badRate.spsSel = 13;
  EXPECT_EQ(file.SaveDataFile(kDataFileHeader, badRate, out, fft, save), WriteResult::Failed) << "spsSel 13";
  FftSetting emptyRange = fft;
  emptyRange.index_FreqS = emptyRange.index_FreqE;
  EXPECT_EQ(file.SaveDataFile(kDataFileHeader, ad, out, emptyRange, save), WriteResult::Failed)
      << "an empty frequency range";
  EXPECT_TRUE(prompter.questions.empty()) << "refused before asking";
  EXPECT_EQ(ReadBytes(save.DataFileName), "precious");
  EXPECT_FALSE(file.LoadDataFile(dir / "absent.DTA", kDataFileHeader, in, fftIn, saveIn, adIn));
}

}  // namespace
