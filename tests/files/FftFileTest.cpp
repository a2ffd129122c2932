#include <gtest/gtest.h>

#include <memory>

#include "FileTestSupport.h"
#include "ScriptedPrompter.h"
#include "files/Myfile.h"

namespace {

class SpectrumFile : public testing::Test {
 protected:
  void SetUp() override {
    buffers->Bind(data);
    save.DataFileName = (dir / "run1.FFT").string();
  }
  std::vector<std::string> SaveAndSplit() {
    EXPECT_EQ(file.SaveFftFile(kFftFileHeader, ad, data, fft, save), WriteResult::Written);
    return SplitCrLf(ReadBytes(save.DataFileName));
  }

  TempDir dir;
  ScriptedPrompter prompter;
  TmyFile file{prompter};
  std::unique_ptr<MeasureBuffers> buffers = std::make_unique<MeasureBuffers>();
  MeasureData data;
  AdUnitSetting ad;
  FftSetting fft;
  SaveSetting save;
};

TEST_F(SpectrumFile, OneLinePerBinWithoutDc) {
  data.ad_dnum = 1024;
  data.deltaF = 4.6875F;
  data.spectrum[0] = 123.0F;  // the DC bin is not written
  data.spectrum[1] = 0.5F;
  data.spectrum[3] = 1e-5F;
  data.spectrum[511] = -0.25F;
  const auto lines = SaveAndSplit();
  ASSERT_EQ(lines.size(), 1024U / 2 + 40);
  EXPECT_EQ(lines[0], kFftFileHeader);
  EXPECT_EQ(lines[14], "DataFileName:" + save.DataFileName);
  const std::vector<std::string> expected = {"FFT:",         "fftnum:512", "deltaF:4.6875",
                                             "4.688Hz, 0.5", "9.375Hz, 0", "14.063Hz, 9.99999974737875E-6"};
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 37, lines.begin() + 43), expected);
  EXPECT_EQ(lines[lines.size() - 2], "2395.313Hz, -0.25");
  EXPECT_EQ(lines.back(), "END:");
}

// The average is named in a comment line before "FFT:", which every reader skips; the
// rest of the file stays byte for byte as without it.
TEST_F(SpectrumFile, AnAveragedSpectrumSaysSoInACommentBeforeTheSection) {
  data.ad_dnum = 1024;
  data.deltaF = 4.6875F;
  const std::string plain = *TmyFile::FftFileText(kFftFileHeader, ad, data, fft, save);
  const struct {
    SpectrumAverage average;
    const char* comment;
  } rows[] = {
      {{SpectrumAveraging::Rms, 10, 0, 0}, ";spectrum: RMS average of 10 acquisitions"},
      {{SpectrumAveraging::PeakHold, 2, 0, 0}, ";spectrum: peak hold of 2 acquisitions"},
      {{SpectrumAveraging::Exponential, 57, 8, 0}, ";spectrum: exponential average over the last 8 of 57 acquisitions"},
  };
  const std::size_t section = plain.find("FFT:\r\n");
  ASSERT_NE(section, std::string::npos);
  for (const auto& row : rows) {
    std::string expected = plain;
    expected.insert(section, std::string(row.comment) + "\r\n");
    EXPECT_EQ(*TmyFile::FftFileText(kFftFileHeader, ad, data, fft, save, row.average), expected) << row.comment;
  }
  EXPECT_EQ(file.SaveFftFile(kFftFileHeader, ad, data, fft, save, rows[0].average), WriteResult::Written);
  EXPECT_EQ(ReadBytes(save.DataFileName), *TmyFile::FftFileText(kFftFileHeader, ad, data, fft, save, rows[0].average));
}

TEST_F(SpectrumFile, LargestRecordAndTinySteps) {
  data.ad_dnum = 65536;
  data.deltaF = 4800.0F / 65536.0F;
  auto lines = SaveAndSplit();
  ASSERT_EQ(lines.size(), 65536U / 2 + 40);
  EXPECT_EQ(lines[38], "fftnum:32768");
  EXPECT_EQ(lines[40], "0.073Hz, 0");
  EXPECT_EQ(lines[lines.size() - 2], "2399.927Hz, 0");

  data.deltaF = 0.0001F;
  prompter.answers = {true};
  lines = SaveAndSplit();
  EXPECT_EQ(lines[40], "0.000Hz, 0") << "below 0.0005 Hz";
}

TEST_F(SpectrumFile, DecliningTheOverwriteKeepsTheFile) {
  WriteBytes(save.DataFileName, "precious");
  data.ad_dnum = 1024;
  data.deltaF = 1.0F;
  EXPECT_EQ(file.SaveFftFile(kFftFileHeader, ad, data, fft, save), WriteResult::Declined);
  EXPECT_EQ(ReadBytes(save.DataFileName), "precious");
  ASSERT_EQ(prompter.questions.size(), 1U);
  EXPECT_EQ(prompter.questions[0].text, "ファイル：" + save.DataFileName + "があります。\n上書きしますか");

  data.ad_dnum = -2;
  prompter.answers = {true};
  EXPECT_EQ(file.SaveFftFile(kFftFileHeader, ad, data, fft, save), WriteResult::Failed) << "a negative count";
  save.DataFileName.clear();
  data.ad_dnum = 1024;
  EXPECT_EQ(file.SaveFftFile(kFftFileHeader, ad, data, fft, save), WriteResult::Failed) << "no target";
}

}  // namespace
