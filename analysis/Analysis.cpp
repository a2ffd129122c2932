#include "analysis/Analysis.h"

#include <algorithm>
#include <cmath>

#include "model/UnitTables.h"

namespace {

constexpr float kTwoPow23Inverse = 1.1920928955078125e-7F;  // 2^-23
constexpr float kVoltMaxStart = -10.0F;
constexpr float kVoltMinStart = 10.0F;
constexpr float kMsPerSecond = 1000.0F;
constexpr double kSqrt2 = 1.414213562;
constexpr std::int32_t kMinFftLength = 4;  // the shortest transform the engine plans

}  // namespace

bool IsAnalysableCount(std::int32_t n) { return n >= kMinFftLength && n <= kMaxSamples && (n & (n - 1)) == 0; }

bool CheckSignalLevel(MeasureData& data, const AdUnitSetting& setting) {
  const auto* begin = data.adCode;
  const auto* end = data.adCode + std::max(0, data.ad_dnum);
  if (std::any_of(begin, end, [](std::int32_t c) { return c == kCodeLowest || c == kCodeHighest; })) return false;
  CodeToVolt(data, setting);
  return true;
}

float VoltsPerCode(const AdUnitSetting& setting) {
  return setting.vref * kTwoPow23Inverse / static_cast<float>(setting.Gain);
}

void CodeToVolt(MeasureData& data, const AdUnitSetting& setting) {
  const int n = data.ad_dnum;
  if (n <= 0) return;
  const float scale = VoltsPerCode(setting);
  double sum = 0.0;
  float max = kVoltMaxStart;
  float min = kVoltMinStart;
  for (int i = 0; i < n; ++i) {
    // In 64 bits: a code read from a file may lie anywhere in 32 bits.
    const float v = static_cast<float>(static_cast<std::int64_t>(data.adCode[i]) - kCodeZero) * scale;
    data.volt[i] = v;
    sum += v;
    if (v > max) max = v;
    if (v < min) min = v;
  }
  data.voltMax = max;
  data.voltMin = min;
  data.voltMean = static_cast<float>(sum / n);
  data.deltaF = kMsPerSecond / (SamplePeriodMs(static_cast<int>(data.spsSel)) * static_cast<float>(n));
}

void AnalyseSpectrum(TmyFFT& fft, const FftSetting& setting, MeasureData& data, AnalysisWork& work) {
  const int n = data.ad_dnum;
  if (n <= 0) return;
  // Mean removal and window in one pass, scaling and magnitudes in another; each
  // element as DCCut, the window, the RMS scaling and Magnitude one after the other give it.
  float* y = work.windowed;
  const float offset = setting.fDCCut_FFT == 1 ? fft.Mean(n, data.volt) : 0.0F;
  fft.ApplyWindow(setting.whichWindowFunc, n, data.volt, offset, setting.fWinFuncAdjust, y);
  fft.RealFFT(n, 1, y);
  fft.ScaledMagnitude(n, y, kSqrt2, data.spectrum);
}

float SignalRms(const MeasureData& data) {
  double sum = 0.0;
  for (int k = 1; k < data.ad_dnum / 2; ++k) {
    const double line = data.spectrum[k];
    sum += line * line;
  }
  return static_cast<float>(std::sqrt(sum));
}

std::int32_t CodeMean(const MeasureData& data) {
  if (data.ad_dnum <= 0) return 0;
  std::int64_t sum = 0;
  for (int i = 0; i < data.ad_dnum; ++i) sum += data.adCode[i];
  return static_cast<std::int32_t>(sum / data.ad_dnum);
}

float CodeDeviation(const MeasureData& data) {
  if (data.ad_dnum <= 0) return 0.0F;
  const std::int32_t mean = CodeMean(data);
  double sum = 0.0;
  for (int i = 0; i < data.ad_dnum; ++i) {
    const double d = static_cast<double>(data.adCode[i] - mean);
    sum += d * d;
  }
  return static_cast<float>(std::sqrt(sum / data.ad_dnum));
}
