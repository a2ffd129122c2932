// The printed page written offscreen to PDF and read back: its text lines, its layout
// to the pixel, the fitted landscape lines, the capped bitmap, and failing printers.
#include <gtest/gtest.h>

#include <QImage>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <memory>

#include "FileTestSupport.h"
#include "LockedDirectory.h"
#include "PdfTools.h"
#include "QtTestApp.h"
#include "ScriptedPrompter.h"
#include "display/GraphHost.h"
#include "files/Myprint.h"
#include "files/PrintCommands.h"

namespace {

// 4096 samples at 4800 per second: 1 mV at 600 Hz over a small ramp, analysed.
struct Measurement {
  std::unique_ptr<MeasureBuffers> buffers = std::make_unique<MeasureBuffers>();
  MeasureData data;
  Measurement() {
    buffers->Bind(data);
    constexpr int n = 4096;
    data.ad_dnum = n;
    data.spsSel = 12;
    data.deltaF = 4800.0F / n;
    for (int i = 0; i < n; ++i) {
      data.volt[i] = 1e-3F * std::sin(2.0F * 3.14159265F * 600.0F * static_cast<float>(i) / 4800.0F) +
                     1e-6F * static_cast<float>(i % 64);
      data.adCode[i] = 8388608 + static_cast<int>(data.volt[i] * 1e6F);
    }
    data.voltMax = 1.06e-3F;
    data.voltMin = -1e-3F;
    for (int k = 1; k < n / 2; ++k) data.spectrum[k] = 1e-6F / static_cast<float>(k);
    data.spectrum[512] = 7.07e-4F;
  }
};

constexpr uchar kInk = 0;  // black in a grey-scale rendering

class MyprintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    save.DataFileName = "/data/run1.DTA";
    save.StartDateTime = "2026/12/08 19:50:07";
  }
  GraphHost& Host() {
    if (!host) {
      host = std::make_unique<GraphHost>(cur.data, none, ad, fft);
      host->Redraw();
    }
    return *host;
  }
  PrintInfo Info() const {
    PrintInfo info = PrintInfoOf(cur.data, fft, save);
    info.average = average;
    return info;
  }

  // A PDF printer on a custom sheet with no margins, so the printable area is the sheet.
  static void PdfOn(QPrinter& printer, const fs::path& file, int dpi, QSizeF sheetMm, bool landscape = false) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(file.string()));
    printer.setResolution(dpi);
    printer.setPageSize(QPageSize(sheetMm, QPageSize::Millimeter));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  }
  bool PrintDirect(const fs::path& file, int dpi, QSizeF sheetMm, bool landscape = false) {
    QPrinter printer(QPrinter::HighResolution);
    PdfOn(printer, file, dpi, sheetMm, landscape);
    return TmyPrint(Host().Graph(), printer, fft).Print(Info());
  }
  // As the print command writes a PDF: at 600 dpi, staged, its text maps corrected.
  bool PrintAsCommand(const fs::path& file, QSizeF sheetMm, bool landscape = false) {
    QPrinter printer(QPrinter::HighResolution);
    PdfOn(printer, file, kPdfDpi, sheetMm, landscape);
    return PrintPage(printer, Host().Graph(), fft, Info()).status == PrintStatus::Printed;
  }

  AdUnitSetting ad;
  FftSetting fft;
  SaveSetting save;
  SpectrumAverage average;  // how the spectrum printed was averaged
  Measurement cur;
  MeasureData none;
  std::unique_ptr<GraphHost> host;
  TempDir dir;
};

// The worked example's printable width; 254 mm down is a whole 6000 pixels, so the
// rendered page's rows fall on the printer's.
const QSizeF kWorkedExampleSheet(200, 254);

TEST_F(MyprintTest, TheFourteenLinesReadBackFromThePdf) {
  const struct {
    void (*change)(FftSetting&, SaveSetting&);
    std::vector<std::string> lines;
  } cases[] = {
      {[](FftSetting&, SaveSetting&) {},
       {"< Zemtra >", "データ数：4096", "サンプリング：4.8ksps", "周波数分解能：1.172Hz", "dB表示：絶対値表示[dBV]",
        "窓関数による減衰の補正計算：なし", "窓関数：ハニング窓", "FFT計算 DCカット：有り", "信号波形 DCカット：なし",
        "ピーク値[uVrms]：707.000", "ピーク値[dBV]：-63.01", "ピーク値[Hz]：600.000", "測定：2026/12/08 19:50:07",
        "ファイル名：/data/run1.DTA", "0dBV", "-80dBV", "0.1Hz", "1kHz"}},
      {[](FftSetting& f, SaveSetting& s) {
         f.whichWindowFunc = 3;
         f.fWinFuncAdjust = 1;
         f.fDCCut_FFT = 0;
         f.fDCCut_SigGraph = 1;
         f.fAbsoGraph = 0;
         s = SaveSetting{};
       },
       {"窓関数：フラットトップ", "窓関数による減衰の補正計算：有り", "FFT計算 DCカット：なし",
        "信号波形 DCカット：有り", "dB表示：相対値表示", "ピーク値[dB]：0.00", "測定：\n", "ファイル名：\n"}},
      {[](FftSetting& f, SaveSetting&) { f.whichWindowFunc = 0; }, {"窓関数：矩形波窓"}},
      {[](FftSetting&, SaveSetting& s) { s.DataFileName = "\x83\x66\x81\x5b\x83\x5e.DTA"; },  // Shift-JIS
       {"ファイル名：データ.DTA"}},
      {[](FftSetting& f, SaveSetting&) { f.whichWindowFunc = 2; }, {"窓関数：ハミング窓"}},
      {[](FftSetting& f, SaveSetting&) { f.whichWindowFunc = 7; }, {"窓関数：矩形波窓"}},
      // Glyphs the fonts share with radicals, a space and ligatures read back as drawn.
      {[](FftSetting&, SaveSetting& s) { s.DataFileName = "/見本/長い一日 profile_fifty_flat.DTA"; },
       {"ファイル名：/見本/長い一日 profile_fifty_flat.DTA", "dB表示：絶対値表示[dBV]"}},
  };
  int page = 0;
  for (const auto& c : cases) {
    fft = FftSetting{};
    save.DataFileName = "/data/run1.DTA";
    save.StartDateTime = "2026/12/08 19:50:07";
    c.change(fft, save);
    host.reset();
    const fs::path pdf = dir / ("page" + std::to_string(++page) + ".pdf");
    ASSERT_TRUE(PrintAsCommand(pdf, kWorkedExampleSheet));
    EXPECT_EQ(PdfComplaints(pdf), "");
    const std::string text = PdfText(pdf);
    for (const std::string& line : c.lines) EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
  }
}

TEST_F(MyprintTest, WorkedExamplePageToThePixel) {
  const fs::path pdf = dir / "page.pdf";
  ASSERT_TRUE(PrintDirect(pdf, 600, kWorkedExampleSheet));
  const QImage page =
      QImage(QString::fromStdString(RenderPage(pdf, 600, 4000).string())).convertToFormat(QImage::Format_Grayscale8);
  ASSERT_FALSE(page.isNull());
  const auto ink = [&](int x, int y) { return page.constScanLine(y)[x] == kInk; };
  // The first inked column of row y from x on, or -1.
  const auto firstInk = [&](int y, int x) {
    const uchar* row = page.constScanLine(y);
    const uchar* found = std::find(row + x, row + page.width(), kInk);
    return found == row + page.width() ? -1 : static_cast<int>(found - row);
  };
  // Each plot is framed one pixel outside its rectangle: waveform (472, 118)–(4606, 1565),
  // spectrum (472, 1801)–(4606, 3248).
  for (const auto& [top, bottom] : {std::pair{118, 1565}, std::pair{1801, 3248}}) {
    for (int y = top - 1; y <= bottom; ++y) {
      EXPECT_TRUE(ink(471, y) && ink(4606, y)) << "left and right frame at y " << y;
      EXPECT_FALSE(ink(470, y) || ink(4607, y)) << "nothing just outside the frame at y " << y;
    }
    for (int x = 471; x <= 4606; ++x) {
      EXPECT_TRUE(ink(x, top - 1) && ink(x, bottom)) << "top and bottom frame at x " << x;
      EXPECT_FALSE(ink(x, top - 2)) << "nothing above the frame at x " << x;
    }
  }
  // The text block's first line has its top-left corner at (472, 3838): its ink starts
  // within the line's step of 150 pixels, at the block's left edge, and nothing stands
  // between the frequency labels and it.
  constexpr int kTextTop = 3838, kLineStep = 150, kTextLeft = 472;
  int firstInkRow = -1;
  for (int y = 3450; y < kTextTop + kLineStep && firstInkRow < 0; ++y) firstInkRow = firstInk(y, 0) >= 0 ? y : -1;
  int leftmostInk = page.width();
  for (int y = kTextTop; y < kTextTop + kLineStep; ++y) {
    const int x = firstInk(y, 0);
    if (x >= 0) leftmostInk = std::min(leftmostInk, x);
  }
  EXPECT_GE(firstInkRow, kTextTop);
  EXPECT_LT(firstInkRow, kTextTop + kLineStep / 2);
  EXPECT_GE(leftmostInk, kTextLeft);
  EXPECT_LT(leftmostInk, kTextLeft + 30) << "the '<' starts at the block's left edge";
}

TEST_F(MyprintTest, LandscapeLinesShrinkToFitAndALongFileNameIsElidedInEitherOrientation) {
  save.StartDateTime = "2026/12/08 19:50:07 (after the second warm-up)";
  const std::string name = "noise-0001.DTA";
  save.DataFileName = "/measurements/2026/december/shorted-inputs/gain-128/sinc4-chopped/overnight/" + name;
  const QSizeF a4(210, 297);
  for (const bool landscape : {true, false}) {
    const fs::path pdf = dir / (landscape ? "across.pdf" : "down.pdf");
    ASSERT_TRUE(PrintAsCommand(pdf, a4, landscape));
    const auto words = PdfWords(pdf);
    const auto find = [&](const std::string& start) { return FindWord(words, start); };
    // Where the line that starts with this word ends on the page.
    const auto lineEnd = [&](const PdfWord& first) {
      double end = first.xMax;
      for (const PdfWord& word : words) {
        if (std::abs(word.yMin - first.yMin) < 1) end = std::max(end, word.xMax);
      }
      return end;
    };
    const double pageWidthPt = (landscape ? 297 : 210) * 72 / 25.4;
    const PdfWord samples = find("データ数");  // a line that fits at 12 pt
    const PdfWord started = find("測定");
    const PdfWord file = find("ファイル名");
    if (landscape) {
      EXPECT_LE(lineEnd(started), pageWidthPt) << "the long line ends on the page";
      EXPECT_LT(started.Height(), samples.Height() * 0.9) << "it shrank to fit";
      EXPECT_GT(started.Height(), samples.Height() * 0.5) << "but no further than needed";
    } else {
      EXPECT_NEAR(started.Height(), samples.Height(), 0.1) << "portrait lines keep their size";
    }
    EXPECT_LE(lineEnd(file), pageWidthPt) << "the file-name line ends on the page";
    EXPECT_NEAR(file.Height(), samples.Height(), 0.1) << "it keeps its size";
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("ファイル名：/measure"), std::string::npos) << text;
    EXPECT_NE(text.find("…/" + name), std::string::npos) << "the file's own name stays whole in\n" << text;
  }
}

TEST_F(MyprintTest, AnAveragedSpectrumSaysSoOnALineUnderTheFileName) {
  save.DataFileName = "/data/run1.DTA";
  average = {SpectrumAveraging::PeakHold, 7, 0, 0};
  const QSizeF a4(210, 297);
  for (const bool landscape : {true, false}) {
    const fs::path pdf = dir / (landscape ? "across.pdf" : "down.pdf");
    ASSERT_TRUE(PrintAsCommand(pdf, a4, landscape));
    const auto words = PdfWords(pdf);
    const auto find = [&](const std::string& start) { return FindWord(words, start); };
    const PdfWord file = find("ファイル名");
    const PdfWord note = find("スペクトル：ピークホールド（7回）");
    EXPECT_GT(note.yMin, file.yMin + file.Height() * 0.9) << "the line after the file name's";
    EXPECT_LT(note.yMin + note.Height(), (landscape ? 210 : 297) * 72 / 25.4) << "on the page";
  }
  average = {};
  ASSERT_TRUE(PrintAsCommand(dir / "single.pdf", a4));
  EXPECT_EQ(PdfText(dir / "single.pdf").find("スペクトル："), std::string::npos) << "a single acquisition's: none";
}

TEST_F(MyprintTest, BitmapIsCopiedOneToOneAndCappedAboveSixHundredDpi) {
  const struct {
    int dpi;
    const char* why;
  } cases[] = {{600, "one bitmap pixel per printer pixel"}, {1200, "drawn at 600 dpi and scaled up"}};
  for (const auto& c : cases) {
    const fs::path pdf = dir / ("at" + std::to_string(c.dpi) + ".pdf");
    ASSERT_TRUE(PrintDirect(pdf, c.dpi, kWorkedExampleSheet)) << c.why;
    const auto images = PdfImages(pdf);
    ASSERT_EQ(images.size(), 2U) << "waveform and spectrum";
    for (const PdfImage& image : images) {
      EXPECT_EQ(image.width, 4134) << c.why;
      EXPECT_EQ(image.height, 1447) << c.why;
    }
  }
}

TEST_F(MyprintTest, FailingPrintersReportFailureAndLeaveNothingBehind) {
  const std::string failed = "印刷できませんでした";
  {  // a PDF in a directory that does not exist
    QPrinter printer(QPrinter::HighResolution);
    PdfOn(printer, dir / "missing" / "page.pdf", 600, kWorkedExampleSheet);
    const PrintResult result = PrintPage(printer, Host().Graph(), fft, Info());
    EXPECT_EQ(result.status, PrintStatus::Failed);
    EXPECT_EQ(result.message, failed);
  }
  {  // a directory that refuses new files
    const fs::path locked = dir / "locked";
    fs::create_directory(locked);
    const LockedDirectory guard(locked);
    ASSERT_TRUE(guard.Holds());
    ScriptedPrompter prompter;
    EXPECT_EQ(PrintPdfFile((locked / "page.pdf").string(), false, cur.data, ad, fft, save, prompter),
              WriteResult::Failed);
  }
  {  // a sheet with no room for a graph: no bitmap can be made, the old file stays
    WriteBytes(dir / "old.pdf", "earlier page");
    QPrinter printer(QPrinter::HighResolution);
    PdfOn(printer, dir / "old.pdf", 600, QSizeF(20, 20));
    EXPECT_EQ(PrintPage(printer, Host().Graph(), fft, Info()).status, PrintStatus::Failed);
    EXPECT_EQ(ReadBytes(dir / "old.pdf"), "earlier page");
    EXPECT_EQ(printer.outputFileName(), QString::fromStdString((dir / "old.pdf").string())) << "printer unchanged";
  }
  auto entries = dir.Entries();
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"locked", "old.pdf"})) << "no temporary file, no partial page";
}

TEST_F(MyprintTest, CommandsGoThroughTheDialogs) {
  ScriptedPrompter prompter;
  QPrinter printer(QPrinter::HighResolution);
  const fs::path pdf = dir / "chosen.pdf";

  EXPECT_EQ(PrintCommand(prompter, printer, Host().Graph(), fft, Info()).status, PrintStatus::Cancelled);
  EXPECT_FALSE(PageSetupCommand(prompter, printer));
  EXPECT_EQ(prompter.printDialogCount, 2);

  prompter.printDialogs.push_back([&](QPrinter& p) {
    p.setPageOrientation(QPageLayout::Landscape);
    return true;
  });
  prompter.printDialogs.push_back([&](QPrinter& p) {
    p.setOutputFileName(QString::fromStdString(pdf.string()));
    return true;
  });
  EXPECT_TRUE(PageSetupCommand(prompter, printer));
  const PrintResult printed = PrintCommand(prompter, printer, Host().Graph(), fft, Info());
  EXPECT_EQ(printed.status, PrintStatus::Printed);
  EXPECT_TRUE(printed.message.empty());
  EXPECT_EQ(printer.resolution(), kPdfDpi);
  EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape) << "the setup holds for the print";
  EXPECT_NE(PdfText(pdf).find("データ数：4096"), std::string::npos);
}

}  // namespace
