#include "display/FftSettingRules.h"

namespace {
constexpr int kFewestSamples = 1024;
}  // namespace

namespace {

bool BottomValid(const FftSetting& setting) {
  return setting.index_dB_min >= kLowestDbBottom && setting.index_dB_min <= kHighestDbBottom;
}

}  // namespace

bool CheckSetting(const FftSetting& setting) {
  const bool bottomValid = BottomValid(setting);
  if (setting.fAbsoGraph == 1) {
    return setting.index_dB_max < setting.index_dB_min && setting.index_dB_max <= kHighestDbTop && bottomValid;
  }
  return setting.index_dB_max == kRelativeDbTop && bottomValid;
}

std::string_view DbRangeKeyAtFault(const FftSetting& setting) {
  return BottomValid(setting) ? "index_dB_max" : "index_dB_min";
}

void SetDefault(FftSetting& setting, SaveSetting& save) {
  setting = FftSetting{};
  save = SaveSetting{};
}

int GetDataCount(int dataCountSel) {
  // The last choice and anything outside the list give the largest measurement.
  if (dataCountSel < 0 || dataCountSel >= kDataCountChoices - 1) return kMaxSamples;
  return kFewestSamples << dataCountSel;
}
