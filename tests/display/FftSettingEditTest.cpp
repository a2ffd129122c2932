// The settings dialog's rules on the working copy, without widgets.
#include <gtest/gtest.h>

#include "display/FftSettingEdit.h"
#include "display/FftSettingRules.h"

namespace {

struct Range {
  int freqS, freqE, dbTop, dbBottom;
  friend bool operator==(const Range&, const Range&) = default;
};

FftSetting With(bool log, bool absolute, const Range& r) {
  FftSetting s;
  s.fLogGraph = log ? 1 : 0;
  s.fAbsoGraph = absolute ? 1 : 0;
  s.index_FreqS = r.freqS;
  s.index_FreqE = r.freqE;
  s.index_dB_max = r.dbTop;
  s.index_dB_min = r.dbBottom;
  return s;
}

Range RangeOf(const FftSetting& s) { return {s.index_FreqS, s.index_FreqE, s.index_dB_max, s.index_dB_min}; }

TEST(FftSettingEdit, ConsistencyRules) {
  enum Choice { Start, End, Top, Bottom, Absolute };
  const struct {
    bool log, absolute;
    Range before;
    Choice choice;
    int value;
    Range after;
    const char* reason;
  } rows[] = {
      {true, true, {0, 12, 2, 10}, Start, 12, {12, 13, 2, 10}, "1 kHz as start forces 1.5 kHz as end"},
      {true, true, {0, 14, 2, 10}, Start, 12, {12, 14, 2, 10}, "an end above the start stays"},
      {false, true, {0, 8, 2, 10}, Start, 9, {9, 10, 2, 10}, "the start rule holds on the linear axis too"},
      {true, true, {8, 14, 2, 10}, End, 6, {5, 6, 2, 10}, "10 Hz as end moves a start of 10 Hz or above to 5 Hz"},
      {true, true, {3, 14, 2, 10}, End, 6, {3, 6, 2, 10}, "a start below the end stays"},
      {false, true, {8, 14, 2, 10}, End, 6, {8, 6, 2, 10}, "linear axis: the start does not move"},
      {true, true, {0, 14, 2, 10}, Top, 10, {0, 14, 10, 11}, "top at the bottom pushes the bottom down"},
      {true, true, {0, 14, 2, 10}, Top, 16, {0, 14, 16, 17}, "lowest top"},
      {true, true, {0, 14, 2, 10}, Top, 5, {0, 14, 5, 10}, "top above the bottom"},
      {true, false, {0, 14, 2, 10}, Top, 5, {0, 14, 2, 10}, "relative: the top stays at 0 dB"},
      {true, true, {0, 14, 6, 10}, Bottom, 5, {0, 14, 4, 5}, "bottom above the top pushes the top up"},
      {true, true, {0, 14, 2, 10}, Bottom, 20, {0, 14, 2, 20}, "lowest bottom"},
      {true, false, {0, 14, 2, 10}, Bottom, 3, {0, 14, 2, 3}, "relative: only the bottom moves"},
      {true, true, {0, 14, 6, 10}, Absolute, 0, {0, 14, 2, 10}, "relative display puts the top at 0 dB"},
      {true, false, {0, 14, 2, 10}, Absolute, 1, {0, 14, 2, 10}, "back to absolute keeps 0 dB"},
  };
  for (const auto& r : rows) {
    FftSetting s = With(r.log, r.absolute, r.before);
    switch (r.choice) {
      case Start:
        ChooseFreqStart(s, r.value);
        break;
      case End:
        ChooseFreqEnd(s, r.value);
        break;
      case Top:
        ChooseDbTop(s, r.value);
        break;
      case Bottom:
        ChooseDbBottom(s, r.value);
        break;
      case Absolute:
        ChooseAbsolute(s, r.value == 1);
        break;
    }
    EXPECT_EQ(RangeOf(s), r.after) << r.reason;
    if (r.choice == Absolute) {
      EXPECT_EQ(s.fAbsoGraph, r.value) << r.reason;
    }
  }
}

TEST(FftSettingEdit, ShownAndStoredSettings) {
  const struct {
    bool shown;  // ShownSetting, else StoredSetting
    bool absolute;
    Range before, after;
    const char* reason;
  } rows[] = {
      {true, true, {0, 14, 0, 1}, {0, 14, 0, 3}, "a bottom above -10 dB shows as -10 dB"},
      {true, false, {0, 14, 7, 12}, {0, 14, 2, 12}, "relative display shows a 0 dB top"},
      {true, true, {0, 14, 7, 12}, {0, 14, 7, 12}, "absolute display keeps its top"},
      {false, true, {10, 8, 2, 10}, {7, 8, 2, 10}, "a start above the end becomes one below the end"},
      {false, true, {9, 9, 2, 10}, {8, 9, 2, 10}, "a start at the end becomes one below it"},
      {false, true, {3, 9, 2, 10}, {3, 9, 2, 10}, "a valid pair is stored as it stands"},
  };
  for (const auto& r : rows) {
    const FftSetting s = With(false, r.absolute, r.before);
    EXPECT_EQ(RangeOf(r.shown ? ShownSetting(s) : StoredSetting(s)), r.after) << r.reason;
  }
}

TEST(FftSettingEdit, StoredCountFollowsTheSelection) {
  for (const int sel : {2, -1}) {
    FftSetting s;
    s.DataCountSel = sel;
    s.DataCountMax = 0;
    EXPECT_EQ(StoredSetting(s).DataCountMax, GetDataCount(sel)) << sel;
  }
}

}  // namespace
