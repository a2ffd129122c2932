#include "ui/StatusTexts.h"

#include <cmath>

#include "model/TextCatalogue.h"
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

std::string NotFoundText(const std::string& unitName) { return Localized(message_text::kNotFound, {unitName}); }

std::string NoResponseText(const std::string& unitName) { return Localized("%1応答しませんでした", {unitName}); }

std::string ProgressText(std::int64_t sampleNumber, std::int64_t code) {
  return Localized("データ番号：%1 / AD変換値：%2", {FormatInteger(sampleNumber), FormatInteger(code)});
}

std::string StatsDigitsText(std::int32_t largest, std::int32_t smallest, float deviation) {
  const std::string deviationText = deviation >= kWholeDigitsFrom ? Format0(deviation) : Format0_0(deviation);
  return Localized("最大値：%1 / 最小値：%2 / pp値：%3 digit / 標準偏差：%4 digit",
                   {FormatInteger(largest), FormatInteger(smallest),
                    FormatInteger(static_cast<std::int64_t>(largest) - smallest), deviationText});
}

std::string StatsVoltsText(float deviation, float smallest, float largest) {
  return Localized("最大値：%1　/最小値：%2　/p-p値：%3 / 標準偏差：%4",
                   {FormatMicrovolts(largest), FormatMicrovolts(smallest),
                    FormatMicrovolts(static_cast<double>(largest) - smallest), FormatMicrovolts(deviation)});
}

std::string FormatMicrovolts(double microvolts) {
  const double whole = std::trunc(std::fabs(microvolts));
  if (whole >= kMicrovoltsPerVolt) return Format0_000(microvolts / kMicrovoltsPerVolt) + " V";
  if (whole >= kMicrovoltsPerMillivolt) return Format0_000(microvolts / kMicrovoltsPerMillivolt) + " mV";
  if (whole >= 1.0) return Format0_000(microvolts) + " uV";
  return Format0_000(microvolts * kNanovoltsPerMicrovolt) + " nV";
}
