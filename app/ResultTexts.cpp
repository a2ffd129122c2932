#include "app/ResultTexts.h"

#include <array>

#include "display/GraphGeometry.h"
#include "files/PrintPage.h"
#include "model/TextCatalogue.h"
#include "model/UnitTables.h"
#include "ui/NumberFormat.h"
#include "ui/StatusTexts.h"

namespace {

struct RmsUnit {
  double above;  // strict lower bound of the band
  double factor;
  const char* unit;
};

constexpr std::array<RmsUnit, 3> kRmsUnits{{
    {0.1, 1.0, "Vrms"},
    {0.001, 1e3, "mVrms"},
    {0.000001, 1e6, "uVrms"},
}};
constexpr double kNanoFactor = 1e9;
constexpr float kMsPerSecond = 1000.0F;

constexpr std::array<const char*, 4> kWindowTexts{"窓関数=矩形波窓(補正なし)", "窓関数=ハニング窓", "窓関数=ハミング窓",
                                                  "窓関数=フラットトップ窓"};

}  // namespace

ScaledText RmsReadout(float volts) {
  const double v = volts;
  for (const auto& band : kRmsUnits) {
    if (v > band.above) return {Format0_000(v * band.factor), band.unit};
  }
  return {Format0_000(v * kNanoFactor), "nVrms"};
}

std::string FreqInfoText(const MeasureData& data, int measSpsSel, const FftSetting& setting) {
  if (!data.HasData()) return {};
  const float deltaF = kMsPerSecond / (SamplePeriodMs(measSpsSel) * static_cast<float>(data.ad_dnum));
  std::string text = Localized("Δｆ= %1", {FreqStepText(deltaF)});
  text += " / ";
  text += Localized(setting.fAbsoGraph == 1 ? "絶対値[dBV] 表示" : "相対値[dB] 表示");
  const int window = setting.whichWindowFunc;
  if (window >= 0 && window < static_cast<int>(kWindowTexts.size())) {
    text += " / ";
    text += Localized(kWindowTexts[static_cast<std::size_t>(window)]);
    if (window != 0 && setting.fWinFuncAdjust == 1) text += Localized("(補正あり)");
  }
  return text;
}

SignalStatistics StatisticsOf(const MeasureData& data, std::int32_t gain, bool inVolts, float deviationDigits) {
  const CodeRange range = CodeRangeOf(data);
  SignalStatistics stats{range.max, range.min, deviationDigits, {}};
  if (inVolts) {
    stats.text = StatsVoltsText(static_cast<float>(CodeSpanToMicrovolt(deviationDigits, gain)),
                                static_cast<float>(CodeToMicrovolt(range.min, gain)),
                                static_cast<float>(CodeToMicrovolt(range.max, gain)));
  } else {
    stats.text = StatsDigitsText(range.max, range.min, deviationDigits);
  }
  return stats;
}
