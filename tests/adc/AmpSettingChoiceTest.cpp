// What the converter settings dialog shows and stores, without widgets.
#include <gtest/gtest.h>

#include "adc/AmpSettingChoice.h"

namespace {

AdUnitSetting Edited() {
  AdUnitSetting s;
  s.spsSel = 3;
  s.GainSel = 2;
  s.Gain = 16;
  s.vref = 3.3F;
  s.vrefSel = 1;
  s.sinc3 = 1;
  s.buf_on = 1;
  s.chop_on = 1;
  s.ch_sel = 1;
  return s;
}

TEST(AmpSettingChoice, SetWithoutChangesKeepsAllButTheReference) {
  AdUnitSetting expected = Edited();
  expected.vrefSel = 0;
  expected.vref = 2.5F;
  EXPECT_EQ(ApplyChoice(Edited(), ChoiceOf(Edited())), expected);
}

TEST(AmpSettingChoice, ChoicesAndTheirFields) {
  const struct {
    AmpSettingChoice choice;
    int spsSel, gainSel, gain, channel;
    const char* reason;
  } rows[] = {
      {{12, 5, 0, false, false}, 12, 5, 128, 0, "every list taken over, Gain follows GainSel"},
      {{0, 0, 1, false, false}, 0, 0, 1, 1, "first rate and gain, channel 1"},
      {{kNoItem, kNoItem, kNoItem, false, false}, 3, 2, 16, 1, "lists without a selection keep their fields"},
      {{13, 6, 2, false, false}, 3, 2, 16, 1, "items outside the tables keep their fields"},
  };
  for (const auto& r : rows) {
    const AdUnitSetting s = ApplyChoice(Edited(), r.choice);
    EXPECT_EQ(s.spsSel, r.spsSel) << r.reason;
    EXPECT_EQ(s.GainSel, static_cast<std::uint32_t>(r.gainSel)) << r.reason;
    EXPECT_EQ(s.Gain, r.gain) << r.reason;
    EXPECT_EQ(s.ch_sel, r.channel) << r.reason;
    EXPECT_EQ(s.sinc3 + s.buf_on, 0) << r.reason;
    EXPECT_EQ(s.chop_on, 1) << "the dialog has no control for chopping: " << r.reason;
  }
}

TEST(AmpSettingChoice, FieldsOutsideTheTablesSelectNothing) {
  AdUnitSetting s;
  s.spsSel = 13;
  s.GainSel = 9;
  s.ch_sel = 7;
  EXPECT_EQ(ChoiceOf(s), (AmpSettingChoice{kNoItem, kNoItem, 0, false, false}));
}

}  // namespace
