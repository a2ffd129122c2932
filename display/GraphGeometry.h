// The geometry of the two graphs, free of any toolkit: the placement of the paint
// boxes, the frequency and dB scales of the spectrum, the grids of both graphs, the
// spectrum's bin ranges and displayed dB values, and the waveform's ranges and
// vertical scale. All pixel positions are real values truncated toward zero.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/Records.h"

// The selectable display frequencies in Hz, chosen by the frequency indices.
inline constexpr int kFreqCount = 15;
inline constexpr std::array<float, kFreqCount> FrequencyTable{
    0.1F, 0.2F, 0.5F, 1.0F, 2.0F, 5.0F, 10.0F, 20.0F, 50.0F, 100.0F, 200.0F, 500.0F, 1000.0F, 1500.0F, 2400.0F};
// dB index k stands for 20 - 10k dB, k = 0 … 20.
inline constexpr int kDbLevelCount = 21;

// The host window's outer size is its central area plus this frame allowance.
inline constexpr int kFrameExtraWidth = 8;
inline constexpr int kFrameExtraHeight = 46;

// Sample period in ms of a data-rate index (0 outside the rate table).
using SamplePeriodFn = float (*)(int spsSel);

// A rectangle by its top-left corner and size, in pixels.
struct BoxRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const BoxRect&, const BoxRect&) = default;
};

// Where the two paint boxes go in a window of outer size W × H.
struct GraphLayout {
  BoxRect spectrum;
  BoxRect wave;  // meaningful only when waveShown
  bool waveShown = false;
};
GraphLayout ArrangeBoxes(int outerWidth, int outerHeight, bool waveShown);

// A real coordinate truncated toward zero, held within ±2^20 so that no value
// (however far off the bitmap, or NaN) makes the conversion undefined.
int TruncToPixel(double value);

// The displayed frequency range: FreqMin and FreqMax. None when an index lies outside
// the table or the start is not below the end.
struct FreqRange {
  float min = 0.0F;
  float max = 0.0F;
};
std::optional<FreqRange> FreqRangeOf(const FftSetting& setting);

// The dB index at the top of the graph: index_dB_max in absolute display; in relative
// display always 0 dB, whatever a file holds, so that labels and curve agree.
int DbTopIndexOf(const FftSetting& setting);

// The displayed level range, from the top index to index_dB_min. None when the number
// of 10 dB divisions is not positive or an index lies outside the 21 levels.
struct DbRange {
  float top = 0.0F;
  float bottom = 0.0F;
  int divisions = 0;
};
float DbBottomOf(const FftSetting& setting);  // 20 - 10 * index_dB_min
std::optional<DbRange> DbRangeOf(const FftSetting& setting);

// Frequency and dB mapping of a spectrum bitmap of width × height pixels.
class SpectrumScale {
 public:
  // None for invalid settings (see FreqRangeOf, DbRangeOf) or an empty bitmap.
  static std::optional<SpectrumScale> Of(const FftSetting& setting, int width, int height);

  bool IsLog() const { return log_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  FreqRange Freq() const { return freq_; }
  DbRange Db() const { return db_; }
  float Lmin() const { return lmin_; }
  float K() const { return k_; }  // 1 / (Lmax - Lmin)

  // x of frequency f (Hz) on the selected scale.
  int X(float f) const {
    // log10 as ln · log10(e): the same double-precision value to an ulp, at a fraction of the cost.
    constexpr double kLog10E = 0.43429448190325182765;
    if (log_) return TruncToPixel(static_cast<double>(wf_) * (std::log(static_cast<double>(f)) * kLog10E - lmin_) * k_);
    const float product = wf_ * f;  // rounded to single precision before the division
    return TruncToPixel(product / freq_.max);
  }
  // y of a level in dB.
  int Y(float dB) const {
    const float product = hf_ * (db_.top - dB);
    return TruncToPixel(product / dbSpan_);
  }

 private:
  SpectrumScale() = default;
  bool log_ = false;
  int width_ = 0;
  int height_ = 0;
  float wf_ = 0.0F;
  float hf_ = 0.0F;
  FreqRange freq_;
  DbRange db_;
  float lmin_ = 0.0F;
  float k_ = 0.0F;
  float dbSpan_ = 0.0F;  // 10 * divisions
};

// A grid line at a pixel position; main lines take the main-axis colour.
struct GridLine {
  int pos = 0;
  bool main = false;
  friend bool operator==(const GridLine&, const GridLine&) = default;
};

// Horizontal dB lines y = (height * i) / count, i = 1 … count - 1 (none below 2).
std::vector<int> DbLineYs(int height, int count);
// Number of horizontal lines' divisions for D 10 dB divisions on each scale.
int LinearDbLineCount(int divisions);
int LogDbLineCount(int divisions);
// Step of the linear frequency grid in Hz for an axis ending at freqMax.
float LinearGridStep(float freqMax);
// The next line of the logarithmic grid above f: 1, 1.5, 2, 3 … 9 times a power of ten.
float NextLogGridFreq(float f);

// The empty spectrum grid of a scale: horizontal y positions (sub-axis colour) and
// vertical lines.
struct SpectrumGrid {
  std::vector<int> hLines;
  std::vector<GridLine> vLines;
};
SpectrumGrid SpectrumGridOf(const SpectrumScale& scale);

// The waveform grid: 15 horizontal lines (centre line first, main lines at one and five
// sixths of the height) and the x positions of 19 time lines; none when waveTime ≤ 0.
inline constexpr int kWaveDivisions = 5;
inline constexpr int kWaveTimeDivisions = 20;
std::vector<GridLine> WaveAmplitudeLines(int height);
std::vector<int> WaveTimeLineXs(int width, float waveTimeMs);

// Points first … last of a spectrum curve (last - first segments); none when the
// record cannot be drawn (no usable frequency step) or holds fewer than two points.
struct BinRange {
  int first = 0;
  int last = 0;
  friend bool operator==(const BinRange&, const BinRange&) = default;
};
std::optional<BinRange> LinearBinRange(float freqMax, float freqStep, int binCount);
std::optional<BinRange> LogBinRange(FreqRange range, float freqStep, int binCount);

// Largest amplitude among bins 1 … binCount - 1 (0 for none).
float LargestAmplitude(const float* amplitude, int binCount);
// Amplitudes above this ratio (volts, or fraction of the peak) get a level; the others
// sit on the bottom of the scale.
float DbThreshold(float bottom);
// The displayed level of one amplitude: dBV (absolute) or dB relative to peakAmp.
inline float DisplayDb(float a, float bottom, float threshold, bool absolute, float peakAmp) {
  if (absolute) return (a > 0.0F && a > threshold) ? 20.0F * std::log10(a) : bottom;
  const float ratio = a / peakAmp;
  return (a > 0.0F && ratio > threshold) ? 20.0F * std::log10(ratio) : bottom;
}
// out[0] = bottom, out[i] = DisplayDb of bin i for i = 1 … binCount - 1.
void ConvertToDisplayDb(const float* amplitude, int binCount, float bottom, bool absolute, float peakAmp, float* out);

// The waveform's vertical ranges.
inline constexpr float kNoDataVoltMax = 0.001F;
inline constexpr float kNoDataVoltMin = -0.001F;
inline constexpr std::int32_t kNoDataCodeMax = 0x800034;
inline constexpr std::int32_t kNoDataCodeMin = 0x7FFFD0;
struct VoltRange {
  float max = kNoDataVoltMax;
  float min = kNoDataVoltMin;
};
struct CodeRange {
  std::int32_t max = kNoDataCodeMax;
  std::int32_t min = kNoDataCodeMin;
};
// One record's range (no-data range when empty); dcCut removes the record's mean.
VoltRange VoltRangeOf(const MeasureData& data, bool dcCut);
CodeRange CodeRangeOf(const MeasureData& data);
// The range over the records that hold samples (no-data range when neither does).
VoltRange JointVoltRange(const MeasureData& a, const MeasureData& b, bool dcCut);
CodeRange JointCodeRange(const MeasureData& a, const MeasureData& b);

// Vertical scale of the waveform: the range fills the middle two thirds of the height.
struct WaveScale {
  float span = 0.0F;    // (max - min) * 1.5
  float bottom = 0.0F;  // value at the bottom edge
  // y of value v (volts or code) of a record whose offset (mean, with DC cut) is
  // removed; a zero span puts every sample on the half-height line.
  int Y(float v, float offset, int height) const {
    if (span == 0.0F) return height / 2;
    const float rel = (v - bottom - offset) / span;
    return TruncToPixel(static_cast<float>(height) * (1.0F - rel));
  }
};
WaveScale WaveScaleOf(VoltRange range);
WaveScale WaveScaleOf(CodeRange range);

// x of sample i of a waveform drawn alone, whose time axis holds axisCount samples
// across width pixels: (W·i)/N. A finished record fills the axis; the samples of an
// acquisition under way (i < received) fill its left part.
int WaveSampleX(int width, int i, int axisCount);

// Duration of a record in ms: sample period of its data rate × its sample count.
float RecordSpanMs(const MeasureData& data, SamplePeriodFn samplePeriod);

// Converter codes in microvolts with the fixed 2.5 V reference; 0 for a gain ≤ 0.
double CodeToMicrovolt(std::int32_t code, std::int32_t gain);
// A span of digits (a difference of codes or a deviation, not necessarily whole).
double CodeSpanToMicrovolt(double digits, std::int32_t gain);
