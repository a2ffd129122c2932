#include <gtest/gtest.h>

#include "display/FftSettingRules.h"

namespace {

TEST(CheckSetting, DbRanges) {
  const struct {
    int absolute, top, bottom;
    bool valid;
    const char* reason;
  } rows[] = {
      {1, 2, 10, true, "defaults"},
      {1, 0, 3, true, "highest top, highest allowed bottom"},
      {1, 16, 17, true, "lowest top"},
      {1, 17, 18, false, "top below 16"},
      {1, 10, 10, false, "empty range"},
      {1, 11, 10, false, "inverted range"},
      {1, 2, 21, false, "bottom beyond -180 dB"},
      {1, 1, 2, false, "bottom above 3"},
      {0, 2, 3, true, "relative: top at 0 dB"},
      {0, 1, 10, false, "relative: top must be 0 dB"},
      {0, 2, 21, false, "relative: bottom out of range"},
  };
  for (const auto& r : rows) {
    FftSetting s;
    s.fAbsoGraph = static_cast<std::uint8_t>(r.absolute);
    s.index_dB_max = r.top;
    s.index_dB_min = r.bottom;
    EXPECT_EQ(CheckSetting(s), r.valid) << r.reason;
  }
}

TEST(GetDataCount, SelectionsAndAnythingElse) {
  const struct { int sel, count; } rows[] = {{0, 1024}, {3, 8192}, {5, 32768}, {6, 65536}, {-1, 65536}, {7, 65536}};
  for (const auto& r : rows) EXPECT_EQ(GetDataCount(r.sel), r.count) << r.sel;
}

TEST(SetDefault, FillsBothRecords) {
  FftSetting s;
  s.fLogGraph = 0;
  s.index_FreqS = 3;
  s.PenColorGraph = 0;
  SaveSetting save{1, "/d/run1.DTA", "2024/01/02 03:04:05"};
  SetDefault(s, save);
  EXPECT_EQ(s, FftSetting{});
  EXPECT_EQ(save, SaveSetting{});
}

}  // namespace
