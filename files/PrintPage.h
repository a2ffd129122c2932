// The printed page without a printer: where the graphs and the text block go for a
// printer's metrics, how large the work bitmap is, and the fourteen text lines. All
// positions are printer pixels; "/" on integers truncates toward zero.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "display/AxisLabels.h"
#include "model/Records.h"

// The screen's pixels per inch, against which the printer's scale s is taken.
inline constexpr int kScreenDpi = 96;
// The work bitmap is drawn at most at this resolution and scaled up when copied, so a
// fine printer on a large sheet does not need a bitmap of gigabytes.
inline constexpr int kMaxBitmapDpi = 600;
// The text block's font, and the smallest size a line may shrink to where it would
// not fit beside the graph.
inline constexpr double kTextPoints = 12.0;
inline constexpr double kMinTextPoints = 6.0;
inline constexpr int kTextLineCount = 14;

// What the layout needs of the printer: resolution and printable area.
struct PrinterMetrics {
  int dpiX = 0;
  int dpiY = 0;
  int widthMm = 0;   // printable width in millimetres
  int heightMm = 0;  // printable height in millimetres
  bool landscape = false;
};

// trunc(mm / 25.4 × dpi), formed in extended precision.
int MmToPixel(int mm, int dpi);

struct PageLayout {
  int left = 0;         // L
  int top = 0;          // T
  int graphWidth = 0;   // GW
  int graphHeight = 0;  // GH
  int plotLeft = 0;     // PL; the 15 mm from L hold the dB or amplitude labels
  int plotWidth = 0;    // PW
  int plotRight = 0;    // PR
  int plotHeight = 0;   // PH of each graph
  std::optional<PageRect> wave;
  PageRect spectrum;
  int bitmapWidth = 0;  // the work bitmap: PW × PH, or less above kMaxBitmapDpi
  int bitmapHeight = 0;
  int textX = 0;  // top-left corner of the first text line
  int textY = 0;
  int lineStep = 0;  // D, from the 12-point font
  // Landscape: the width from textX to the printable area's right edge, which the
  // lines must fit. Portrait: none (the lines keep their size).
  std::optional<int> textRoom;
  // Either orientation: the width from textX to the printable area's right edge, which
  // the file-name line is fitted to.
  int fileNameRoom = 0;
  friend bool operator==(const PageLayout&, const PageLayout&) = default;
};

// The page for a printer's metrics, with or without the waveform above the spectrum.
PageLayout LayOutPage(const PrinterMetrics& metrics, bool withWave);

// Printer pixels per screen pixel: dpiY over the screen's 96.
float PrintScale(const PrinterMetrics& metrics);

// The point size for one text line that must fit `room` pixels: 12 when it fits (or
// there is no limit), else the largest size on a quarter-point grid at or below the
// proportional estimate that fits, never below 6. widthAt measures the line at a size.
double FitTextPoints(const std::function<int(double points)>& widthAt, std::optional<int> room);

// The file-name line (line 14) fitted to `room` pixels, and the size it is set in.
struct FittedLine {
  std::string text;
  double points = kTextPoints;
  friend bool operator==(const FittedLine&, const FittedLine&) = default;
};

// "ファイル名：" + path as it fits `room` at 12 points: when the whole path does not,
// its directories are elided in the middle ("/data/…/run1.DTA") so that the file's own
// name stays whole. Where even "…" and the name do not fit, that line shrinks as
// FitTextPoints shrinks one, and below the smallest size the name too is elided in its
// middle. widthAt measures a text at a size.
FittedLine FitFileNameLine(const std::string& path, const std::function<int(const std::string&, double)>& widthAt,
                           int room);

// What the print command fills and the page shows besides the graphs.
struct PrintInfo {
  int samples = 0;
  const FftSetting& fft;
  const SaveSetting& save;
  std::string rateText;      // "5sps" … "4.8ksps"
  std::string freqStepText;  // deltaF as "0.000" + "Hz"
  std::string peakVolt;      // the peak readout's three texts as shown
  std::string peakDb;
  std::string peakHz;
  std::string peakVoltUnit;  // "Vrms", "mVrms", "uVrms" or "nVrms"
  SpectrumAverage average;   // a spectrum of several acquisitions: a line after the fourteen
};

// "0.073Hz": a frequency step as the page shows it.
std::string FreqStepText(float deltaF);

// The print information of an analysed record as the main window would show it after
// the measurement: its largest line in the peak readout.
PrintInfo PrintInfoOf(const MeasureData& data, const FftSetting& fft, const SaveSetting& save);

// The line under the fourteen for a spectrum averaged over several acquisitions:
// "スペクトル：RMS平均（10回）", "スペクトル：ピークホールド（10回）",
// "スペクトル：指数平均（直近8回、計57回）"; empty for None.
std::string SpectrumAverageLine(const SpectrumAverage& average);

// The fourteen lines of the text block, in order; line 14 whole, as FitFileNameLine
// fits it.
std::array<std::string, kTextLineCount> PrintTextLines(const PrintInfo& info);
