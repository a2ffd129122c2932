#include "display/PeakReadout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "display/GraphGeometry.h"
#include "ui/NumberFormat.h"

AmplitudeText FormatAmplitude(float volts) {
  struct Row {
    double atLeast;
    double factor;
    const char* unit;
  };
  constexpr Row kRows[] = {{1.0, 1.0, "Vrms"}, {0.001, 1e3, "mVrms"}, {1e-6, 1e6, "uVrms"}};
  for (const auto& row : kRows) {
    if (volts >= row.atLeast) return {Format0_000(volts * row.factor), row.unit};
  }
  return {Format0_000(volts * 1e9), "nVrms"};
}

bool BinInSpectrum(const MeasureData& data, int bin) {
  return data.spectrum != nullptr && bin >= 1 && bin < data.ad_dnum / 2 && bin < kSpectrumCapacity;
}

PeakTexts PeakTextsOf(const MeasureData& data, int bin, float displayDb) {
  if (!BinInSpectrum(data, bin)) return {kNoReadout, kNoReadout, kNoReadout, ""};
  AmplitudeText amplitude = FormatAmplitude(data.spectrum[bin]);
  const float frequency = static_cast<float>(bin) * data.deltaF;
  return {std::move(amplitude.value), Format0_00(displayDb), Format0_000(frequency), std::move(amplitude.unit)};
}

float DisplayDbOfBin(const MeasureData& data, int bin, const FftSetting& setting) {
  const float bottom = DbBottomOf(setting);
  if (!BinInSpectrum(data, bin)) return bottom;
  const float peak = setting.fAbsoGraph ? 0.0F : LargestAmplitude(data.spectrum, data.ad_dnum / 2);
  return DisplayDb(data.spectrum[bin], bottom, DbThreshold(bottom), setting.fAbsoGraph != 0, peak);
}

PeakTexts PeakTextsOf(const MeasureData& data, int bin, const FftSetting& setting) {
  return PeakTextsOf(data, bin, DisplayDbOfBin(data, bin, setting));
}

int FindPeakBin(const MeasureData& data) {
  int peakBin = 1;
  float peak = 0.0F;
  const int binCount = data.spectrum != nullptr ? std::min(data.ad_dnum / 2, kSpectrumCapacity) : 0;
  for (int i = 1; i < binCount; ++i) {
    if (data.spectrum[i] > peak) {
      peak = data.spectrum[i];
      peakBin = i;
    }
  }
  return peakBin;
}

namespace {

// A bin number from a real one, or -1 when it is not a number or beyond any int.
int BinOf(double bin) {
  if (!(bin >= -1.0 && bin <= std::numeric_limits<int>::max())) return -1;
  return static_cast<int>(bin);
}

}  // namespace

int BinAtX(int width, int x, const FftSetting& setting, float freqStep) {
  const auto range = FreqRangeOf(setting);
  if (!range || width <= 0 || !(freqStep > 0.0F)) return -1;
  if (setting.fLogGraph == 0) {
    const double f = static_cast<double>(x) * range->max / width;
    return BinOf(std::floor(f / freqStep + 0.5));
  }
  const float lmin = std::log10(range->min);
  const float lmax = std::log10(range->max);
  if (lmin == lmax) return -1;
  const float k = 1.0F / (lmax - lmin);
  const float level = lmin + (static_cast<float>(x) / k) / static_cast<float>(width);
  const float f = std::pow(10.0F, level);
  return BinOf(std::trunc(static_cast<double>(f / freqStep)));
}
