// What the converter settings dialog shows and takes, as plain values: the items of
// its three lists and its two radio pairs. The dialog works on a copy of the setting
// and hands it back only on Set.
#pragma once

#include "model/Records.h"

inline constexpr int kNoItem = -1;  // a list without a selection

struct AmpSettingChoice {
  int rateItem = kNoItem;     // data-rate index 0 … 12
  int gainItem = kNoItem;     // gain index 0 … 5
  int channelItem = kNoItem;  // channel 0 or 1
  bool sinc3 = false;         // Sinc3 rather than Sinc4
  bool bufOn = false;         // input buffer on

  friend bool operator==(const AmpSettingChoice&, const AmpSettingChoice&) = default;
};

// The choice that shows a setting: a field outside its table selects no item, and
// any channel but 1 shows channel 0.
AmpSettingChoice ChoiceOf(const AdUnitSetting& setting);

// The setting with the choice taken over: a list without a valid item keeps its
// field, Gain follows a chosen GainSel, and the reference is 0 / 2.5 V. chop_on is kept (the
// dialog has no control for it).
AdUnitSetting ApplyChoice(AdUnitSetting setting, const AmpSettingChoice& choice);
