#include "display/FftSettingEdit.h"

#include <algorithm>

#include "display/FftSettingRules.h"

namespace {

// The two ends of a range never meet: the end not above a new start moves one step
// above it, or the start not below a new end one step below it.
void PushEndAbove(int start, int& end) {
  if (start >= end) end = start + 1;
}
void PushStartBelow(int& start, int end) {
  if (start >= end) start = end - 1;
}

}  // namespace

FftSetting ShownSetting(FftSetting setting) {
  setting.index_dB_min = std::max(setting.index_dB_min, kLowestDbBottom);
  if (setting.fAbsoGraph != 1) setting.index_dB_max = kRelativeDbTop;
  return setting;
}

void ChooseFreqStart(FftSetting& setting, int index) {
  setting.index_FreqS = index;
  PushEndAbove(setting.index_FreqS, setting.index_FreqE);
}

void ChooseFreqEnd(FftSetting& setting, int index) {
  setting.index_FreqE = index;
  if (setting.fLogGraph == 1) PushStartBelow(setting.index_FreqS, setting.index_FreqE);
}

void ChooseDbTop(FftSetting& setting, int index) {
  if (setting.fAbsoGraph != 1) return;
  setting.index_dB_max = index;
  PushEndAbove(setting.index_dB_max, setting.index_dB_min);
}

void ChooseDbBottom(FftSetting& setting, int index) {
  setting.index_dB_min = index;
  if (setting.fAbsoGraph == 1) PushStartBelow(setting.index_dB_max, setting.index_dB_min);
}

void ChooseAbsolute(FftSetting& setting, bool absolute) {
  setting.fAbsoGraph = absolute ? 1 : 0;
  if (!absolute) setting.index_dB_max = kRelativeDbTop;
}

FftSetting StoredSetting(FftSetting setting) {
  setting.DataCountMax = GetDataCount(setting.DataCountSel);
  PushStartBelow(setting.index_FreqS, setting.index_FreqE);
  return setting;
}
