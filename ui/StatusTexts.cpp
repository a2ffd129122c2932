#include "ui/StatusTexts.h"

#include <cmath>

#include "ui/Mymessage.h"
#include "ui/NumberFormat.h"

namespace {
constexpr float kWholeDigitsFrom = 100.0F;  // deviations from here on lose their decimal
constexpr double kMicrovoltsPerVolt = 1e6;
constexpr double kMicrovoltsPerMillivolt = 1e3;
constexpr double kNanovoltsPerMicrovolt = 1e3;
constexpr int kShortTextWidth = 100;  // texts up to this many pixels get the minimum panel
constexpr int kMinPanelWidth = 110;
constexpr int kPanelPadding = 10;
}  // namespace

int PanelWidthFor(int textWidth) { return textWidth <= kShortTextWidth ? kMinPanelWidth : textWidth + kPanelPadding; }

std::string UnitInfoText(const std::string& name, const std::string& version, const std::string& description) {
  return name + "/ " + version + "/ " + description;
}

std::string NotFoundText(const std::string& unitName) { return unitName + message_text::kNotFoundSuffix; }

std::string NoResponseText(const std::string& unitName) { return unitName + "応答しませんでした"; }

std::string ProgressText(std::int64_t sampleNumber, std::int64_t code) {
  return "データ番号：" + FormatInteger(sampleNumber) + " / AD変換値：" + FormatInteger(code);
}

std::string StatsDigitsText(std::int32_t largest, std::int32_t smallest, float deviation) {
  const std::string deviationText = deviation >= kWholeDigitsFrom ? Format0(deviation) : Format0_0(deviation);
  return "最大値：" + FormatInteger(largest) + " / 最小値：" + FormatInteger(smallest) + " / pp値：" +
         FormatInteger(static_cast<std::int64_t>(largest) - smallest) + " digit" + " / 標準偏差：" + deviationText +
         " digit";
}

std::string StatsVoltsText(float deviation, float smallest, float largest) {
  return "最大値：" + FormatMicrovolts(largest) + "　/最小値：" + FormatMicrovolts(smallest) + "　/p-p値：" +
         FormatMicrovolts(static_cast<double>(largest) - smallest) + " / 標準偏差：" + FormatMicrovolts(deviation);
}

std::string FormatMicrovolts(double microvolts) {
  const double whole = std::trunc(std::fabs(microvolts));
  if (whole >= kMicrovoltsPerVolt) return Format0_000(microvolts / kMicrovoltsPerVolt) + " V";
  if (whole >= kMicrovoltsPerMillivolt) return Format0_000(microvolts / kMicrovoltsPerMillivolt) + " mV";
  if (whole >= 1.0) return Format0_000(microvolts) + " uV";
  return Format0_000(microvolts * kNanovoltsPerMicrovolt) + " nV";
}
