#include "display/GraphGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "display/FftSettingRules.h"

namespace {

// Box placement in the window: margins and the space the labels and the panel take.
constexpr int kBoxTop = 16;
constexpr int kBoxLeft = 56;
constexpr int kBoxWidthAllowance = 196;      // labels left, results panel right
constexpr int kTwoBoxHeightAllowance = 145;  // both boxes with their labels
constexpr int kSpecBoxGap = 41;              // from the waveform box's height to the spectrum box's top
constexpr int kOneBoxHeightAllowance = 120;

constexpr double kPixelLimit = 1 << 20;

constexpr int kMaxFreqIndex = kFreqCount - 1;
constexpr int kMaxDbIndex = kDbLevelCount - 1;
constexpr float kTopLevelDb = 20.0F;  // level of dB index 0
constexpr float kDbPerIndex = 10.0F;

// Microvolts per code at gain 1: 2.5 V reference over 2^23 codes.
constexpr double kMicrovoltPerCode = 2500000.0 / 8388608.0;
constexpr std::int32_t kMidScaleCode = 8388608;
constexpr std::int32_t kCodeAboveRange = 0x1000000;

bool FreqIndexValid(int index) { return index >= 0 && index <= kMaxFreqIndex; }
bool DbIndexValid(int index) { return index >= 0 && index <= kMaxDbIndex; }

}  // namespace

GraphLayout ArrangeBoxes(int outerWidth, int outerHeight, bool waveShown) {
  GraphLayout layout;
  layout.waveShown = waveShown;
  const int width = outerWidth - kBoxWidthAllowance;
  if (waveShown) {
    const int height = (outerHeight - kTwoBoxHeightAllowance) / 2;
    layout.wave = {kBoxLeft, kBoxTop, width, height};
    layout.spectrum = {kBoxLeft, height + kSpecBoxGap, width, height};
  } else {
    layout.spectrum = {kBoxLeft, kBoxTop, width, outerHeight - kOneBoxHeightAllowance};
  }
  return layout;
}

int TruncToPixel(double value) {
  if (!(value > -kPixelLimit)) return static_cast<int>(-kPixelLimit);
  if (!(value < kPixelLimit)) return static_cast<int>(kPixelLimit);
  return static_cast<int>(value);
}

std::optional<FreqRange> FreqRangeOf(const FftSetting& setting) {
  if (!FreqIndexValid(setting.index_FreqS) || !FreqIndexValid(setting.index_FreqE)) return std::nullopt;
  if (setting.index_FreqS >= setting.index_FreqE) return std::nullopt;
  return FreqRange{FrequencyTable[static_cast<std::size_t>(setting.index_FreqS)],
                   FrequencyTable[static_cast<std::size_t>(setting.index_FreqE)]};
}

float DbBottomOf(const FftSetting& setting) {
  return kTopLevelDb - kDbPerIndex * static_cast<float>(setting.index_dB_min);
}

int DbTopIndexOf(const FftSetting& setting) { return setting.fAbsoGraph ? setting.index_dB_max : kRelativeDbTop; }

std::optional<DbRange> DbRangeOf(const FftSetting& setting) {
  const int topIndex = DbTopIndexOf(setting);
  if (!DbIndexValid(topIndex) || !DbIndexValid(setting.index_dB_min)) return std::nullopt;
  const int divisions = setting.index_dB_min - topIndex;
  if (divisions <= 0) return std::nullopt;
  const float top = kTopLevelDb - kDbPerIndex * static_cast<float>(topIndex);
  return DbRange{top, DbBottomOf(setting), divisions};
}

std::optional<SpectrumScale> SpectrumScale::Of(const FftSetting& setting, int width, int height) {
  const auto freq = FreqRangeOf(setting);
  const auto db = DbRangeOf(setting);
  if (!freq || !db || width <= 0 || height <= 0) return std::nullopt;
  SpectrumScale scale;
  scale.log_ = setting.fLogGraph != 0;
  scale.width_ = width;
  scale.height_ = height;
  scale.wf_ = static_cast<float>(width);
  scale.hf_ = static_cast<float>(height);
  scale.freq_ = *freq;
  scale.db_ = *db;
  scale.lmin_ = std::log10(freq->min);
  scale.k_ = 1.0F / (std::log10(freq->max) - scale.lmin_);
  scale.dbSpan_ = kDbPerIndex * static_cast<float>(db->divisions);
  return scale;
}

std::vector<int> DbLineYs(int height, int count) {
  std::vector<int> ys;
  for (int i = 1; i < count; ++i) ys.push_back(height * i / count);
  return ys;
}

int LinearDbLineCount(int divisions) { return divisions; }

int LogDbLineCount(int divisions) {
  constexpr int kFiveDbLines = 6, kTwoAndHalfDbLines = 8, kOneDbLinesPerDivision = 10;
  if (divisions >= 4) return divisions;
  if (divisions == 3) return kFiveDbLines;
  if (divisions == 2) return kTwoAndHalfDbLines;
  return kOneDbLinesPerDivision * divisions;
}

float LinearGridStep(float freqMax) {
  struct Row {
    float atLeast;
    float step;
  };
  constexpr std::array<Row, 7> kSteps{{{2400.0F, 200.0F},
                                       {1000.0F, 100.0F},
                                       {500.0F, 50.0F},
                                       {200.0F, 20.0F},
                                       {100.0F, 10.0F},
                                       {50.0F, 5.0F},
                                       {20.0F, 2.0F}}};
  for (const auto& row : kSteps) {
    if (freqMax >= row.atLeast) return row.step;
  }
  return 1.0F;
}

float NextLogGridFreq(float f) {
  constexpr std::array<float, 9> kMantissas{1.5F, 2.0F, 3.0F, 4.0F, 5.0F, 6.0F, 7.0F, 8.0F, 9.0F};
  constexpr float kDecade = 10.0F;
  constexpr float kTenth = 0.1F;
  const bool belowOne = f < 1.0F;
  const float m = belowOne ? kDecade * f : f;
  const int e = static_cast<int>(std::log10(m));
  const float p = static_cast<float>(std::pow(10.0, e));
  const float r = m / p;
  float mantissa = kDecade;
  for (float candidate : kMantissas) {
    if (candidate > r) {
      mantissa = candidate;
      break;
    }
  }
  const float next = p * mantissa;
  return belowOne ? next * kTenth : next;
}

namespace {

bool IsPowerOfTen(float f) {
  const float tenF = 10.0F * f;
  const int e = static_cast<int>(std::log10(tenF));
  return tenF == static_cast<float>(std::pow(10.0, e));
}

std::vector<GridLine> LogFreqLines(const SpectrumScale& scale) {
  std::vector<GridLine> lines;
  const FreqRange range = scale.Freq();
  if (std::log10(range.min) == std::log10(range.max)) return lines;
  float f = range.min;
  while (f < range.max) {
    const float next = NextLogGridFreq(f);
    if (!(next > f)) break;  // float rounding must never stall the walk
    f = next;
    if (f < range.max) lines.push_back({scale.X(f), IsPowerOfTen(f)});
  }
  return lines;
}

std::vector<GridLine> LinearFreqLines(const SpectrumScale& scale) {
  std::vector<GridLine> lines;
  const float fmax = scale.Freq().max;
  const float step = LinearGridStep(fmax);
  for (float f = step; f < fmax; f += step) lines.push_back({scale.X(f), false});
  return lines;
}

}  // namespace

SpectrumGrid SpectrumGridOf(const SpectrumScale& scale) {
  const int divisions = scale.Db().divisions;
  if (scale.IsLog()) return {DbLineYs(scale.Height(), LogDbLineCount(divisions)), LogFreqLines(scale)};
  return {DbLineYs(scale.Height(), LinearDbLineCount(divisions)), LinearFreqLines(scale)};
}

std::vector<GridLine> WaveAmplitudeLines(int height) {
  const float step = static_cast<float>(height) / static_cast<float>(3 * kWaveDivisions);
  const float half = static_cast<float>(height) * 0.5F;
  constexpr int kLinesEachSide = 3 * kWaveDivisions / 2;  // trunc(1.5 n)
  std::vector<GridLine> lines{{height / 2, true}};
  for (int i = 1; i <= kLinesEachSide; ++i) {
    const float offset = static_cast<float>(i) * step;
    const bool main = i == kWaveDivisions;
    lines.push_back({TruncToPixel(half - offset), main});
    lines.push_back({TruncToPixel(half + offset), main});
  }
  return lines;
}

std::vector<int> WaveTimeLineXs(int width, float waveTimeMs) {
  std::vector<int> xs;
  if (!(waveTimeMs > 0.0F)) return xs;
  for (int i = 1; i < kWaveTimeDivisions; ++i) {
    // (i · span) / 20: multiplied before divided, as the time axis defines it.
    const float t = static_cast<float>(i) * waveTimeMs / static_cast<float>(kWaveTimeDivisions);
    xs.push_back(TruncToPixel(static_cast<float>(width) * t / waveTimeMs));
  }
  return xs;
}

namespace {

bool StepUsable(float freqStep) { return freqStep > 0.0F && std::isfinite(freqStep); }

// Smallest j in [from, limit] with j * step ≥ f, or limit.
int FirstBinAtOrAbove(float f, float step, int from, int limit) {
  int j = from;
  while (j < limit && static_cast<float>(j) * step < f) ++j;
  return j;
}

}  // namespace

std::optional<BinRange> LinearBinRange(float freqMax, float freqStep, int binCount) {
  if (!StepUsable(freqStep) || binCount < 3) return std::nullopt;
  const double ratio = static_cast<double>(freqMax / freqStep);
  const int last = ratio >= binCount - 1 ? binCount - 1 : static_cast<int>(ratio);
  if (last < 2) return std::nullopt;
  return BinRange{1, last};
}

std::optional<BinRange> LogBinRange(FreqRange range, float freqStep, int binCount) {
  if (!StepUsable(freqStep) || binCount < 3) return std::nullopt;
  const int limit = binCount - 1;
  int first = FirstBinAtOrAbove(range.min, freqStep, 1, limit);
  if (first > 1) --first;
  const int last = FirstBinAtOrAbove(range.max, freqStep, first, limit);
  if (last <= first) return std::nullopt;
  return BinRange{first, last};
}

float LargestAmplitude(const float* amplitude, int binCount) {
  float largest = 0.0F;
  for (int i = 1; i < binCount; ++i) largest = std::max(largest, amplitude[i]);
  return largest;
}

float DbThreshold(float bottom) { return std::pow(10.0F, bottom * 0.05F); }

void ConvertToDisplayDb(const float* amplitude, int binCount, float bottom, bool absolute, float peakAmp, float* out) {
  const float threshold = DbThreshold(bottom);
  out[0] = bottom;
  for (int i = 1; i < binCount; ++i) out[i] = DisplayDb(amplitude[i], bottom, threshold, absolute, peakAmp);
}

VoltRange VoltRangeOf(const MeasureData& data, bool dcCut) {
  if (!data.HasData()) return {};
  const float offset = dcCut ? data.voltMean : 0.0F;
  return {data.voltMax - offset, data.voltMin - offset};
}

CodeRange CodeRangeOf(const MeasureData& data) {
  if (!data.HasData()) return {};
  CodeRange range{0, kCodeAboveRange};
  for (int i = 0; i < data.ad_dnum; ++i) {
    range.max = std::max(range.max, data.adCode[i]);
    range.min = std::min(range.min, data.adCode[i]);
  }
  return range;
}

VoltRange JointVoltRange(const MeasureData& a, const MeasureData& b, bool dcCut) {
  if (!a.HasData()) return VoltRangeOf(b, dcCut);
  if (!b.HasData()) return VoltRangeOf(a, dcCut);
  const VoltRange ra = VoltRangeOf(a, dcCut);
  const VoltRange rb = VoltRangeOf(b, dcCut);
  return {std::max(ra.max, rb.max), std::min(ra.min, rb.min)};
}

CodeRange JointCodeRange(const MeasureData& a, const MeasureData& b) {
  if (!a.HasData()) return CodeRangeOf(b);
  if (!b.HasData()) return CodeRangeOf(a);
  const CodeRange ra = CodeRangeOf(a);
  const CodeRange rb = CodeRangeOf(b);
  return {std::max(ra.max, rb.max), std::min(ra.min, rb.min)};
}

namespace {
constexpr float kSpanFactor = 1.5F;
}

WaveScale WaveScaleOf(VoltRange range) {
  const float span = (range.max - range.min) * kSpanFactor;
  return {span, (range.max + range.min) * 0.5F - span * 0.5F};
}

WaveScale WaveScaleOf(CodeRange range) {
  // Codes read from files may lie anywhere in 32 bits: form sum and difference wide.
  const auto difference = static_cast<std::int64_t>(range.max) - range.min;
  const auto sum = static_cast<std::int64_t>(range.max) + range.min;
  const float span = static_cast<float>(difference) * kSpanFactor;
  return {span, static_cast<float>(sum) * 0.5F - span * 0.5F};
}

int WaveSampleX(int width, int i, int axisCount) {
  return axisCount > 0 ? static_cast<int>(static_cast<std::int64_t>(width) * i / axisCount) : 0;
}

float RecordSpanMs(const MeasureData& data, SamplePeriodFn samplePeriod) {
  return samplePeriod(static_cast<int>(data.spsSel)) * static_cast<float>(data.ad_dnum);
}

double CodeSpanToMicrovolt(double digits, std::int32_t gain) {
  return gain > 0 ? digits * kMicrovoltPerCode / gain : 0.0;
}

double CodeToMicrovolt(std::int32_t code, std::int32_t gain) {
  return CodeSpanToMicrovolt(static_cast<double>(code) - kMidScaleCode, gain);
}
