#include <gtest/gtest.h>

#include "app/ResultTexts.h"
#include "model/TextCatalogue.h"

namespace {

TEST(RmsReadout, UnitBands) {
  const struct {
    float volts;
    const char* number;
    const char* unit;
  } rows[] = {
      {0.05F, "50.000", "mVrms"},   {0.25F, "0.250", "Vrms"}, {3.2e-6F, "3.200", "uVrms"},
      {0.0F, "0.000", "nVrms"},     {0.1F, "0.100", "Vrms"},  // the float nearest 0.1 lies above 0.1 as a double
      {0.001F, "1.000", "mVrms"},                             // likewise just above 0.001
      {1e-6F, "1000.000", "nVrms"},                           // the float nearest 1e-6 lies below 1e-6: 999.9999975 nV
  };
  for (const auto& r : rows) {
    const auto readout = RmsReadout(r.volts);
    EXPECT_EQ(readout.unit, r.unit) << r.volts;
    EXPECT_EQ(readout.number, r.number) << r.volts;
  }
}

TEST(FreqInfoText, WorkedExampleAndWindows) {
  MeasureData data;
  data.ad_dnum = 1024;
  FftSetting setting;
  setting.whichWindowFunc = 1;
  setting.fWinFuncAdjust = 1;
  EXPECT_EQ(FreqInfoText(data, 12, setting), "Δｆ= 4.688Hz / 絶対値[dBV] 表示 / 窓関数=ハニング窓(補正あり)");
  setting.whichWindowFunc = 0;
  setting.fAbsoGraph = 0;
  EXPECT_EQ(FreqInfoText(data, 12, setting), "Δｆ= 4.688Hz / 相対値[dB] 表示 / 窓関数=矩形波窓(補正なし)")
      << "the rectangle never gets the correction mark";
  setting.whichWindowFunc = 7;
  EXPECT_EQ(FreqInfoText(data, 12, setting), "Δｆ= 4.688Hz / 相対値[dB] 表示") << "unknown window adds nothing";
  data.ad_dnum = 0;
  EXPECT_EQ(FreqInfoText(data, 12, setting), "");
}

TEST(FreqInfoText, InEnglish) {
  MeasureData data;
  data.ad_dnum = 1024;
  FftSetting setting;
  setting.whichWindowFunc = 1;
  setting.fWinFuncAdjust = 1;
  SetTextLanguage(Language::English);
  EXPECT_EQ(FreqInfoText(data, 12, setting), "Δf= 4.688Hz / Absolute [dBV] / Window=Hanning (corrected)");
  SetTextLanguage(Language::Japanese);
}

TEST(StatisticsOf, DigitsAndVolts) {
  std::int32_t codes[4] = {0x800000 + 3000, 0x800000 - 1000, 0x800000, 0x800000 + 1};
  MeasureData data;
  data.adCode = codes;
  data.ad_dnum = 4;
  const auto digits = StatisticsOf(data, 128, false, 1234.5F);
  EXPECT_EQ(digits.codeMax, 0x800000 + 3000);
  EXPECT_EQ(digits.codeMin, 0x800000 - 1000);
  EXPECT_EQ(digits.text, "最大値：8391608 / 最小値：8387608 / pp値：4000 digit / 標準偏差：1235 digit");
  // Gain 1: one digit is 2.5 V / 2^23 = 0.298 µV.
  const auto volts = StatisticsOf(data, 1, true, 0.9F);
  EXPECT_EQ(volts.text, "最大値：894.070 uV　/最小値：-298.023 uV　/p-p値：1.192 mV / 標準偏差：268.221 nV")
      << "a deviation under one digit keeps its value";
}

}  // namespace
