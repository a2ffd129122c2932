#include "display/FftSettingEdit.h"

#include <algorithm>

#include "display/FftSettingRules.h"

FftSetting ShownSetting(FftSetting setting) {
  setting.index_dB_min = std::max(setting.index_dB_min, kLowestDbBottom);
  if (setting.fAbsoGraph != 1) setting.index_dB_max = kRelativeDbTop;
  return setting;
}

void ChooseFreqStart(FftSetting& setting, int index) {
  setting.index_FreqS = index;
  if (setting.index_FreqS >= setting.index_FreqE) setting.index_FreqE = setting.index_FreqS + 1;
}

void ChooseFreqEnd(FftSetting& setting, int index) {
  setting.index_FreqE = index;
  if (setting.fLogGraph == 1 && setting.index_FreqS >= setting.index_FreqE) {
    setting.index_FreqS = setting.index_FreqE - 1;
  }
}

void ChooseDbTop(FftSetting& setting, int index) {
  if (setting.fAbsoGraph != 1) return;
  setting.index_dB_max = index;
  if (setting.index_dB_max >= setting.index_dB_min) setting.index_dB_min = setting.index_dB_max + 1;
}

void ChooseDbBottom(FftSetting& setting, int index) {
  setting.index_dB_min = index;
  if (setting.fAbsoGraph == 1 && setting.index_dB_max >= setting.index_dB_min) {
    setting.index_dB_max = setting.index_dB_min - 1;
  }
}

void ChooseAbsolute(FftSetting& setting, bool absolute) {
  setting.fAbsoGraph = absolute ? 1 : 0;
  if (!absolute) setting.index_dB_max = kRelativeDbTop;
}

FftSetting StoredSetting(FftSetting setting) {
  setting.DataCountMax = GetDataCount(setting.DataCountSel);
  if (setting.index_FreqS >= setting.index_FreqE) setting.index_FreqS = setting.index_FreqE - 1;
  return setting;
}
