#include "adc/AmpSettingChoice.h"

#include "model/UnitTables.h"

namespace {

constexpr int kChannelCount = 2;
constexpr std::uint32_t kVrefSel = 0;
constexpr float kVref = 2.5F;

bool InTable(int item, int count) { return item >= 0 && item < count; }

int ItemOrNone(std::int64_t value, int count) {
  return value >= 0 && value < count ? static_cast<int>(value) : kNoItem;
}

}  // namespace

AmpSettingChoice ChoiceOf(const AdUnitSetting& setting) {
  return {.rateItem = ItemOrNone(setting.spsSel, kRateCount),
          .gainItem = ItemOrNone(setting.GainSel, kGainCount),
          .channelItem = setting.ch_sel == 1 ? 1 : 0,
          .sinc3 = setting.sinc3 == 1,
          .bufOn = setting.buf_on == 1};
}

AdUnitSetting ApplyChoice(AdUnitSetting setting, const AmpSettingChoice& choice) {
  if (InTable(choice.rateItem, kRateCount)) setting.spsSel = choice.rateItem;
  if (InTable(choice.gainItem, kGainCount)) {
    setting.GainSel = static_cast<std::uint32_t>(choice.gainItem);
    setting.Gain = GainOf(setting.GainSel);
  }
  if (InTable(choice.channelItem, kChannelCount)) setting.ch_sel = choice.channelItem;
  setting.vrefSel = kVrefSel;
  setting.vref = kVref;
  setting.sinc3 = choice.sinc3 ? 1 : 0;
  setting.buf_on = choice.bufOn ? 1 : 0;
  return setting;
}
