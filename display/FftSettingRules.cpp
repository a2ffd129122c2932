#include "display/FftSettingRules.h"

namespace {
constexpr int kLowestBottom = 3;
constexpr int kHighestBottom = 20;
constexpr int kHighestTop = 16;
constexpr int kRelativeTop = 2;  // 0 dB
}  // namespace

bool CheckSetting(const FftSetting& setting) {
  const bool bottomValid = setting.index_dB_min >= kLowestBottom && setting.index_dB_min <= kHighestBottom;
  if (setting.fAbsoGraph == 1) {
    return setting.index_dB_max < setting.index_dB_min && setting.index_dB_max <= kHighestTop && bottomValid;
  }
  return setting.index_dB_max == kRelativeTop && bottomValid;
}
