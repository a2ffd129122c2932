// The printed page's arithmetic and texts, without a printer.
#include <gtest/gtest.h>

#include <algorithm>

#include "files/PrintPage.h"
#include "model/TextCatalogue.h"

namespace {}  // namespace

void PrintTo(const FittedLine& line, std::ostream* out) { *out << '"' << line.text << "\" at " << line.points; }

namespace {

TEST(PrintLayout, WorkedExampleAtSixHundredDpiOnTwoHundredMillimetres) {
  const PrinterMetrics a4{600, 600, 200, 287, false};
  const PageLayout alone = LayOutPage(a4, false);
  EXPECT_EQ(alone.left, 118);
  EXPECT_EQ(alone.top, 118);
  EXPECT_EQ(alone.graphWidth, 4488);
  EXPECT_EQ(alone.graphHeight, 3366);
  EXPECT_EQ(alone.plotLeft, 472);
  EXPECT_EQ(alone.plotWidth, 4134);
  EXPECT_EQ(alone.plotRight, 4606);
  EXPECT_FALSE(alone.wave);
  EXPECT_EQ(alone.spectrum, (PageRect{472, 118, 4606, 3248})) << "full graph height less 10 mm";
  EXPECT_EQ(alone.bitmapWidth, 4134);
  EXPECT_EQ(alone.bitmapHeight, 3130);
  EXPECT_EQ(alone.textX, 472);
  EXPECT_EQ(alone.textY, 3838);
  EXPECT_EQ(alone.lineStep, 150) << "12 pt is 100 pixels at 600 dpi";
  EXPECT_FALSE(alone.textRoom) << "portrait lines keep their size";
  EXPECT_EQ(alone.fileNameRoom, 4724 - 472) << "the file name still fits the sheet";

  const PageLayout both = LayOutPage(a4, true);
  EXPECT_EQ(both.wave, (PageRect{472, 118, 4606, 1565}));
  EXPECT_EQ(both.spectrum, (PageRect{472, 1801, 4606, 3248}));
  EXPECT_EQ(both.bitmapHeight, 1447);
  EXPECT_EQ(both.textY, 3838);
}

TEST(PrintLayout, LandscapePutsTheTextRightOfTheGraph) {
  // A4 across, 287 × 200 mm printable.
  const PageLayout p = LayOutPage({600, 600, 287, 200, true}, true);
  EXPECT_EQ(p.left, 118);
  EXPECT_EQ(p.top, 354) << "15 mm below the printable area's top";
  EXPECT_EQ(p.graphWidth, 4251) << "from the height less 20 mm";
  EXPECT_EQ(p.graphHeight, 3188);
  EXPECT_EQ(p.wave, (PageRect{472, 354, 4369, 1712}));
  EXPECT_EQ(p.spectrum, (PageRect{472, 1948, 4369, 3306}));
  EXPECT_EQ(p.textX, 4723);
  EXPECT_EQ(p.textY, 354) << "level with the graph's top";
  EXPECT_EQ(p.textRoom, 6779 - 4723);
  EXPECT_EQ(p.fileNameRoom, *p.textRoom);
}

TEST(PrintLayout, ResolutionsOfEitherAxisAndTheBitmapCap) {
  const struct {
    PrinterMetrics metrics;
    int bitmapWidth, bitmapHeight, lineStep;
    const char* why;
  } cases[] = {
      {{300, 300, 200, 287, false}, 2067, 723, 75, "half the pixels at half the resolution"},
      {{300, 600, 200, 287, false}, 2067, 605, 150, "across by dpiX; the gaps and line step by dpiY"},
      {{1200, 1200, 200, 287, false}, 4134, 1447, 300, "drawn at 600 dpi above it, scaled up when copied"},
      {{2400, 600, 200, 287, false}, 4133, 6496, 150, "capped across only"},
  };
  for (const auto& c : cases) {
    const PageLayout p = LayOutPage(c.metrics, true);
    EXPECT_EQ(p.bitmapWidth, c.bitmapWidth) << c.why;
    EXPECT_EQ(p.bitmapHeight, c.bitmapHeight) << c.why;
    EXPECT_EQ(p.lineStep, c.lineStep) << c.why;
  }
  EXPECT_EQ(LayOutPage({1200, 1200, 200, 287, false}, true).plotWidth, 8268) << "the page keeps its resolution";
  EXPECT_LE(LayOutPage({600, 600, 20, 20, false}, true).bitmapWidth, 0) << "no room for a graph on a tiny sheet";
}

TEST(PrintLayout, MillimetresTruncateTowardZero) {
  EXPECT_EQ(MmToPixel(5, 600), 118);  // 118.11
  EXPECT_EQ(MmToPixel(254, 600), 6000);
  EXPECT_EQ(MmToPixel(-3, 600), -70) << "a printable area under 10 mm gives a negative width, not a wrap";
  EXPECT_FLOAT_EQ(PrintScale({600, 600, 200, 287, false}), 6.25F);
}

TEST(PrintLayout, LinesShrinkOnlyWhereTheyWouldNotFit) {
  const auto linear = [](double points) { return static_cast<int>(points * 100); };
  const auto withOverhead = [](double points) { return static_cast<int>(points * 100) + 50; };
  const struct {
    std::function<int(double)> widthAt;
    std::optional<int> room;
    double points;
    const char* why;
  } cases[] = {
      {linear, std::nullopt, 12.0, "portrait: no limit"},
      {linear, 1200, 12.0, "fits exactly"},
      {linear, 900, 9.0, "proportional"},
      {linear, 1010, 10.0, "down to the quarter-point grid"},
      {withOverhead, 900, 8.5, "below the proportional estimate until it fits"},
      {linear, 100, 6.0, "never below 6 pt, even if it still does not fit"},
      {linear, -40, 6.0, "no room at all"},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(FitTextPoints(c.widthAt, c.room), c.points) << c.why;
}

TEST(PrintLayout, FileNameLineElidesItsDirectoriesAndKeepsTheNameWhole) {
  // Every character as wide as the size in points: 20 characters fit at 12 pt.
  const auto width = [](const std::string& text, double points) {
    const auto characters = std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
    return static_cast<int>(static_cast<double>(characters) * points);
  };
  constexpr int kRoom = 240;
  const struct {
    std::string path;
    FittedLine line;
    const char* why;
  } cases[] = {
      {"/data/run1.DTA", {"ファイル名：/data/run1.DTA", 12.0}, "fits whole"},
      {"", {"ファイル名：", 12.0}, "no file"},
      {"/measurements/2026/december/run1.DTA", {"ファイル名：/mea…/run1.DTA", 12.0}, "the directories' middle goes"},
      {"/測定/二〇二六年/十二月/run1.DTA", {"ファイル名：/測定/…/run1.DTA", 12.0}, "whole characters only"},
      {"D:\\data\\deep\\store\\run1.DTA", {"ファイル名：D:\\d…\\run1.DTA", 12.0}, "a name written on Windows"},
      {"/data/noise-run-0001.DTA", {"ファイル名：…/noise-run-0001.DTA", 9.0}, "the shortest form shrinks"},
      {"noise-measurement-0001.DTA", {"ファイル名：noise-measurement-0001.DTA", 7.5}, "a name alone shrinks"},
      {"/d/a-very-long-file-name-that-cannot-fit-at-all.DTA",
       {"ファイル名：…/a-very-long-file…-fit-at-all.DTA", 6.0},
       "below 6 pt the name's middle goes, its end stays"},
  };
  for (const auto& c : cases) EXPECT_EQ(FitFileNameLine(c.path, width, kRoom), c.line) << c.why;
}

TEST(PrintText, FourteenLinesFromTheSettingsAndReadouts) {
  FftSetting fft;
  SaveSetting save;
  save.StartDateTime = "2026/12/08 19:50:07";
  save.DataFileName = "/data/run1.DTA";
  const PrintInfo info{.samples = 65536,
                       .fft = fft,
                       .save = save,
                       .rateText = "4.8ksps",
                       .freqStepText = FreqStepText(4800.0F / 65536),
                       .peakVolt = "5.001",
                       .peakDb = "-49.02",
                       .peakHz = "1000.000",
                       .peakVoltUnit = "mVrms",
                       .average = {}};
  const std::array<std::string, kTextLineCount> expected{
      "< Zemtra >",
      "データ数：65536",
      "サンプリング：4.8ksps",
      "周波数分解能：0.073Hz",
      "dB表示：絶対値表示[dBV]",
      "窓関数による減衰の補正計算：なし",
      "窓関数：ハニング窓",
      "FFT計算 DCカット：有り",
      "信号波形 DCカット：なし",
      "ピーク値[mVrms]：5.001",
      "ピーク値[dBV]：-49.02",
      "ピーク値[Hz]：1000.000",
      "測定：2026/12/08 19:50:07",
      "ファイル名：/data/run1.DTA",
  };
  EXPECT_EQ(PrintTextLines(info), expected);

  SetTextLanguage(Language::English);
  const std::array<std::string, kTextLineCount> english{
      "< Zemtra >",
      "Samples: 65536",
      "Sampling: 4.8ksps",
      "Frequency step: 0.073Hz",
      "dB scale: absolute [dBV]",
      "Window loss corrected: no",
      "Window: Hanning",
      "FFT DC removed: yes",
      "Waveform DC removed: no",
      "Peak [mVrms]: 5.001",
      "Peak [dBV]: -49.02",
      "Peak [Hz]: 1000.000",
      "Measured: 2026/12/08 19:50:07",
      "File: /data/run1.DTA",
  };
  EXPECT_EQ(PrintTextLines(info), english);
  SetTextLanguage(Language::Japanese);
}

TEST(PrintText, InformationOfAnAnalysedRecord) {
  MeasureBuffers buffers;
  MeasureData data;
  buffers.Bind(data);
  data.ad_dnum = 1024;
  data.spsSel = 12;
  data.deltaF = 4800.0F / 1024;
  data.spectrum[128] = 1e-3F;  // 600 Hz
  const FftSetting fft;
  const SaveSetting save;
  const PrintInfo info = PrintInfoOf(data, fft, save);
  EXPECT_EQ(info.samples, 1024);
  EXPECT_EQ(info.rateText, "4.8ksps");
  EXPECT_EQ(info.freqStepText, "4.688Hz");
  EXPECT_EQ(info.peakVolt, "1.000");
  EXPECT_EQ(info.peakVoltUnit, "mVrms");
  EXPECT_EQ(info.peakDb, "-60.00");
  EXPECT_EQ(info.peakHz, "600.000");
}

}  // namespace
