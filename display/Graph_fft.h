// TGraph_FFT: the spectrum graph and the signal waveform graph of the main window.
// Each graph is drawn into an off-screen bitmap owned here and copied in one piece,
// inside a 1-pixel black frame, into its paint box; the same drawing serves printing
// into a bitmap the printer supplies. The axis values are labels of the host that this
// class fills, places and shows. The maths lives in GraphGeometry, AxisLabels and
// PeakReadout; this class only draws and sets the host's parts (GraphParts), so that
// drawing needs QtGui alone. The peak readout fills the window's widgets: it is defined
// in GraphReadout.cpp, part of the widgets library.
#pragma once

#include <QImage>
#include <QLine>
#include <QPoint>
#include <QSize>
#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "display/AxisLabels.h"
#include "display/GraphGeometry.h"
#include "display/GraphParts.h"
#include "model/Records.h"

class QLabel;
class QLineEdit;
class QPainter;

// The peak panel: three read-only fields and the unit of the shown amplitude (the
// printed page reads it).
struct PeakFields {
  QLineEdit* EditPeakVolt = nullptr;
  QLineEdit* EditPeakdB = nullptr;
  QLineEdit* EditPeakHz = nullptr;
  std::string unit;
};

class TGraph_FFT {
 public:
  // The label array's order: 15 frequency labels, 21 dB labels, then LabelVoltmax,
  // LabelVoltzero, LabelVoltmin, LabelVoltUnit, LabelTimeS, LabelTimeE.
  static constexpr int kLabelCount = kFreqCount + kDbLevelCount + kWaveLabelCount;

  // areaSize gives the size of the host's central area (it + the frame allowance is the
  // outer size the layout uses); samplePeriod is the converter's rate table. All
  // references must outlive the graph. Each label becomes as high as its font's pixel
  // size. Ends with Resize.
  TGraph_FFT(std::function<QSize()> areaSize, GraphBox& specBox, GraphBox& waveBox, SamplePeriodFn samplePeriod,
             std::span<GraphLabel* const, kLabelCount> labels, const MeasureData& refData, const MeasureData& mainData,
             const AdUnitSetting& adSetting, const FftSetting& fftSetting);
  TGraph_FFT(const TGraph_FFT&) = delete;
  TGraph_FFT& operator=(const TGraph_FFT&) = delete;

  // Recomputes the waveform ranges and sets every label text.
  void UpdateLabels();
  // Places the paint boxes and the labels for the host's size and fWaveGraph.
  void ArrangeGraphs();
  // Takes the paint box sizes; the bitmaps become 2 pixels smaller each way.
  void Resize();
  // Clears boxes and bitmaps and draws the empty grids into the bitmaps.
  void ClearAll();
  // Copies the bitmaps into the paint boxes inside a black frame.
  void Paint();
  // Everything as the main window draws it after a settings change: labels, layout,
  // sizes, empty grids, then the curves of the records that hold samples.
  void RedrawAll();

  // The current spectrum (isRef false) or the reference alone, then copied to the box.
  void DrawSpectrum(bool isRef);
  // The current spectrum with the reference over it, then copied to the box.
  void DrawSpectrumWithRef();
  // The overlay into target in print mode (5-pixel pens); no copy.
  void PrintSpectrum(QImage& target);

  // Peak readout of the current record: highest bin, next higher, next lower, a given bin.
  void ShowPeak(const MeasureData& record, PeakFields& fields, QLabel& unitLabel);
  void PeakForward(const MeasureData& record, PeakFields& fields, QLabel& unitLabel);
  void PeakBack(const MeasureData& record, PeakFields& fields, QLabel& unitLabel);
  void ShowBin(int bin, PeakFields& fields, QLabel& unitLabel);
  // Bin under x of a spectrum box boxWidth wide on the selected frequency scale, or -1.
  int BinAtX(int boxWidth, int x) const;

  // The current record (isRef false) or the reference alone, then copied to the box.
  void DrawWave(bool isRef);
  // Both records on a common time axis, then copied to the box.
  void DrawWaveWithRef();
  // Both records into target in print mode; no copy.
  void PrintWave(QImage& target);
  // An acquisition under way: `soFar` holds the samples received so far of a
  // measurement of `totalSamples`. Drawn as DrawWave draws a record alone, on the
  // whole measurement's time axis (the curve grows from the left), then copied to the
  // box; the value labels show the range of the samples so far and are placed again.
  // The ranges the finished records give (CodeMax, the labels after UpdateLabels)
  // are left as they were. While the scale stays that of the last call, only the new
  // samples are drawn on, which gives the same pixels at a fraction of the cost.
  void DrawWaveSoFar(const MeasureData& soFar, int totalSamples);

  // Code range of the current record (recomputed), in converter codes.
  std::int32_t CodeMax();
  std::int32_t CodeMin();
  // Codes in microvolts at the gain in use.
  double CodeToMicrovolt(std::int32_t code) const;
  double CodeSpanToMicrovolt(double digits) const;

  // The axis texts onto a printer canvas around a printed graph (left, top, right,
  // bottom in printer pixels), s printer pixels per screen pixel.
  void PrintFreqLabels(QPainter& canvas, float s, int left, int top, int right, int bottom);
  void PrintdBLabels(QPainter& canvas, float s, int left, int top, int right, int bottom);
  void PrintVoltLabels(QPainter& canvas, float s, int left, int top, int right, int bottom);
  void PrintTimeLabels(QPainter& canvas, float s, int left, int top, int right, int bottom);

  // State the drawings leave, for the host window and for checks.
  const QImage& SpecBitmap() const { return specBitmap; }
  const QImage& WaveBitmap() const { return waveBitmap; }
  float WaveSpan() const { return waveSpan; }
  float WaveBottom() const { return waveBottom; }
  float WaveTime() const { return waveTime; }
  int BinCount() const { return binCount; }
  float SpecPeakAmp() const { return specPeakAmp; }
  float DisplayDbAt(int bin) const { return displaydB[static_cast<std::size_t>(bin)]; }
  int PeakBin() const { return peakBin; }
  int ReadoutBin() const { return readoutBin; }

 private:
  enum class PenMode { Copy, Mask, Xor };

  // Spectrum: one record into a bitmap; false when it holds nothing to draw.
  bool SpectrumAlone(QImage& bitmap, bool isRef, int penWidth);
  void SpectrumOverlay(QImage& bitmap, int penWidth);
  void SpectrumGridOnly(QImage& bitmap, int penWidth);
  void DrawSpectrumGrid(QPainter& painter, const SpectrumScale& scale, int penWidth);
  void DrawSpectrumCurve(QPainter& painter, const SpectrumScale& scale, const float* dB, float step,
                         const BinRange& range);
  std::optional<BinRange> BinRangeOf(const SpectrumScale& scale) const;

  // Waveform.
  // One record on a time axis of axisCount samples.
  void WaveAlone(const MeasureData& record, std::int32_t penColor, int axisCount);
  void WaveBoth(QImage& bitmap, int penWidth);
  void DrawWaveGrid(QPainter& painter, int width, int height, int penWidth);
  WaveScale TakeRange(const MeasureData& record);
  WaveScale TakeJointRange();
  // Points first … of the record (the segments from point first on).
  void DrawWaveCurve(QPainter& painter, const MeasureData& record, const WaveScale& scale, int width, int height,
                     std::optional<float> commonSpanMs, int axisCount, int first = 0);
  float WaveOffset(const MeasureData& record) const;  // the mean a DC cut removes, else 0

  // Labels.
  static void SetLabelText(GraphLabel* label, const std::string& text);
  void SetFreqLabelTexts();
  void SetDbLabelTexts();
  // The value labels from the ranges held, the time labels 0 … timeEndMs.
  void SetWaveLabelTexts(float timeEndMs);
  float TimeAxisEndMs() const;  // the time axis of the records held
  template <std::size_t N>
  static std::array<LabelSize, N> SizesOf(const std::array<GraphLabel*, N>& labels);

  void ShowReadout(const MeasureData& record, int bin, PeakFields& fields, QLabel& unitLabel);
  static void CopyToBox(GraphBox& box, const QImage& bitmap, int boxWidth, int boxHeight);
  static void SetPen(QPainter& painter, std::int32_t color, int width, PenMode mode);
  // The curve through `points` with the painter's pen and mode.
  void DrawCurve(QPainter& painter);

  std::function<QSize()> areaSize;
  GraphBox& specBox;
  GraphBox& waveBox;
  QImage specBitmap;
  QImage waveBitmap;
  std::array<GraphLabel*, kFreqCount> freqLabels{};
  std::array<GraphLabel*, kDbLevelCount> dBLabels{};
  std::array<GraphLabel*, kWaveLabelCount> waveLabels{};  // in the order of WaveLabel
  SamplePeriodFn samplePeriod;
  int specBoxWidth = 0, specBoxHeight = 0, waveBoxWidth = 0, waveBoxHeight = 0;
  const FftSetting& fftSetting;
  const AdUnitSetting& adSetting;
  const MeasureData& mainData;
  const MeasureData& refData;
  std::int32_t codeMax = kNoDataCodeMax;
  std::int32_t codeMin = kNoDataCodeMin;
  float voltMax = kNoDataVoltMax;
  float voltMin = kNoDataVoltMin;
  float waveSpan = 0.0F;
  float waveBottom = 0.0F;
  float waveTime = 0.0F;
  int binCount = 0;
  float freqStep = 0.0F;
  float specPeakAmp = 0.0F;
  std::vector<float> displaydB;     // kSpectrumCapacity entries, sized once
  std::vector<float> refDisplaydB;  // kSpectrumCapacity entries, sized once
  int peakBin = 1;
  int readoutBin = 1;
  std::vector<QPoint> points;   // one curve's vertices, reserved once for the largest record
  std::vector<QLine> segments;  // a wide curve's segments (printing)
  // What the waveform bitmap shows of an acquisition under way; reset by every other
  // drawing into it.
  struct WaveSoFarShown {
    int samples = 0;
    int totalSamples = 0;
    float span = 0.0F;
    float bottom = 0.0F;
    float offset = 0.0F;
  };
  std::optional<WaveSoFarShown> soFarShown;
};
