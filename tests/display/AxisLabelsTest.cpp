#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/AxisLabels.h"
#include "display/DisplaySettings.h"

namespace {

template <std::size_t N>
std::array<LabelSize, N> Uniform(int width, int height) {
  std::array<LabelSize, N> sizes{};
  sizes.fill({width, height});
  return sizes;
}

const BoxRect kSpecBox{56, 224, 624, 183};
const LabelArea kArea{812, 466};  // the smallest window's central area

TEST(FreqLabelTextTest, SparseAndFullLogLists) {
  EXPECT_EQ(std::string(LogFreqLabelTexts(0, 14)[1]), "2") << "0.1 Hz … 2.4 kHz: sparse";
  EXPECT_EQ(std::string(LogFreqLabelTexts(6, 9)[7]), "20Hz") << "10 … 100 Hz, difference 3: full";
  EXPECT_EQ(std::string(LogFreqLabelTexts(6, 10)[7]), "2") << "difference 4: sparse";
}

TEST(FreqLabelTextTest, LinearLists) {
  const auto at2400 = LinearFreqLabelTexts(14);
  ASSERT_EQ(at2400.size(), 7u);
  EXPECT_EQ(std::string(at2400[5]), "2kHz") << "the unit stands on the sixth label";
  EXPECT_EQ(std::string(at2400[6]), "2.4");
  EXPECT_EQ(LinearFreqLabelTexts(7).size(), 5u);
  EXPECT_EQ(std::string(LinearFreqLabelTexts(6).back()), "10Hz");
  EXPECT_TRUE(LinearFreqLabelTexts(5).empty()) << "no list below 10 Hz";
  EXPECT_TRUE(LinearFreqLabelTexts(15).empty()) << "index beyond the table";
}

TEST(DbLabelTextTest, UnitOnBothEnds) {
  FftSetting s = Settings(true, 0, 14, 0, 12);
  EXPECT_EQ(DbLabelText(0, s), "20dBV");
  EXPECT_EQ(DbLabelText(1, s), "10");
  EXPECT_EQ(DbLabelText(12, s), "-100dBV");
  EXPECT_EQ(DbLabelText(20, s), "-180");
  s.fAbsoGraph = 0;
  EXPECT_EQ(DbLabelText(0, s), "20") << "relative display starts at 0 dB, whatever index_dB_max holds";
  EXPECT_EQ(DbLabelText(2, s), "0dB");
  EXPECT_EQ(DbLabelText(12, s), "-100dB");
}

TEST(WaveLabelTextTest, VoltFormatsAndUnits) {
  struct Row {
    VoltRange range;
    WaveValueTexts expected;
  };
  const Row rows[] = {
      {{0.5F, -0.3F}, {"0.50", "0.10", "-0.30", "[V]"}},
      {{0.05F, -0.03F}, {"50.0", "10.0", "-30.0", "[mV]"}},
      {{0.005F, 0.001F}, {"5.00", "3.00", "1.00", "[mV]"}},
      {{-0.0005F, -0.0001F}, {"-0.500", "-0.300", "-0.100", "[mV]"}},
      {{0.00005F, 0.0F}, {"50.0", "25.0", "0.0", "[uV]"}},
      {{0.000005F, -0.000005F}, {"5.00", "0.00", "-5.00", "[uV]"}},
      {{0.0000005F, 0.0F}, {"500.0", "250.0", "0.0", "[nV]"}},
  };
  for (const Row& row : rows) EXPECT_EQ(VoltLabelTexts(row.range), row.expected) << row.expected.max;
  EXPECT_EQ(CodeLabelTexts(CodeRange{}), (WaveValueTexts{"8388660", "8388610", "8388560", "[digit]"})) << "no data";
  EXPECT_EQ(CodeLabelTexts(CodeRange{10, -5}).zero, "2") << "integer halving toward zero";
}

TEST(WaveLabelTextTest, TimeFormats) {
  EXPECT_EQ(FormatTime(0.5F), "500us");
  EXPECT_EQ(FormatTime(1024.0F * 1000.0F / 4800.0F), "213.33ms");
  EXPECT_EQ(FormatTime(65536.0F * 1000.0F / 4800.0F), "13.653s");
  EXPECT_EQ(FormatTime(1000.0F), "1.000s");
  EXPECT_EQ(FormatTime(999.99F), "999.99ms");
}

float PeriodOfIndex(int spsSel) { return spsSel == 1 ? 100.0F : spsSel == 2 ? 50.0F : 0.0F; }

TEST(WaveLabelTextTest, TimeAxisSpanByRecordsPresent) {
  MeasureData cur, ref;
  EXPECT_EQ(TimeAxisSpanMs(cur, ref, 2, 1024, PeriodOfIndex), 51200.0F) << "no data: converter rate";
  cur.ad_dnum = 1024;
  cur.spsSel = 1;
  EXPECT_EQ(TimeAxisSpanMs(cur, ref, 2, 1024, PeriodOfIndex), 102400.0F);
  ref.ad_dnum = 4096;
  ref.spsSel = 2;
  EXPECT_EQ(TimeAxisSpanMs(cur, ref, 2, 1024, PeriodOfIndex), 204800.0F) << "the longer of the two";
}

TEST(FreqLabelPlaceTest, LogStartEndAndCollisions) {
  const FftSetting s = Settings(true, 0, 14);
  const auto places = PlaceFreqLabels(kSpecBox, kArea, Uniform<kFreqCount>(60, 12), s);
  ASSERT_TRUE(places);
  const int top = 224 + 183 + 5;
  EXPECT_EQ((*places)[0], (LabelPlace{56, top, true}));
  EXPECT_EQ((*places)[14], (LabelPlace{56 + 624 - 30, top, true})) << "centred on the right edge";
  EXPECT_FALSE((*places)[1].shown) << "0.2 Hz would start within 20 pixels of the left edge";
  EXPECT_TRUE((*places)[2].shown);
  EXPECT_FALSE((*places)[3].shown) << "1 Hz would overlap 0.5 Hz";
  for (const auto& place : *places) EXPECT_EQ(place.top, top);
}

TEST(FreqLabelPlaceTest, LogLabelsOutsideTheRangeAreHidden) {
  const auto places = PlaceFreqLabels(kSpecBox, kArea, Uniform<kFreqCount>(20, 12), Settings(true, 3, 9));
  ASSERT_TRUE(places);
  EXPECT_FALSE((*places)[2].shown);
  EXPECT_EQ((*places)[3].left, 56);
  EXPECT_TRUE((*places)[9].shown);
  EXPECT_FALSE((*places)[10].shown);
  EXPECT_FALSE(PlaceFreqLabels(kSpecBox, kArea, Uniform<kFreqCount>(20, 12), Settings(true, 9, 3)))
      << "start above end: nothing changes";
}

TEST(FreqLabelPlaceTest, LinearSpreadsOverTheWidth) {
  const auto places = PlaceFreqLabels(kSpecBox, kArea, Uniform<kFreqCount>(20, 12), Settings(false, 0, 14));
  ASSERT_TRUE(places);
  EXPECT_EQ((*places)[0].left, 56);
  EXPECT_EQ((*places)[1].left, 56 + 104 - 10);
  EXPECT_EQ((*places)[6].left, 56 + 624 - 20) << "right-aligned to the edge";
  EXPECT_TRUE((*places)[6].shown);
  EXPECT_FALSE((*places)[7].shown);
  EXPECT_FALSE(PlaceFreqLabels(kSpecBox, kArea, Uniform<kFreqCount>(20, 12), Settings(false, 0, 5)));
}

TEST(DbLabelPlaceTest, StrideByPitch) {
  struct Row {
    double h, p;
    int stride;
  };
  const Row rows[] = {{12, 19.6, 1}, {12, 18.0, 2}, {12, 9.15, 2}, {12, 8.0, 3}, {12, 5.0, 4}, {12, 4.0, 0}};
  for (const Row& row : rows) EXPECT_EQ(DbLabelStride(row.h, row.p), row.stride) << row.p;
}

TEST(DbLabelPlaceTest, FullRangeInTallAndShortBoxes) {
  const FftSetting s = Settings(true, 0, 14, 0, 20);
  const auto tall = PlaceDbLabels({56, 16, 624, 392}, kArea, Uniform<kDbLevelCount>(30, 12), s);
  ASSERT_TRUE(tall);
  for (const auto& place : *tall) EXPECT_TRUE(place.shown);
  EXPECT_EQ((*tall)[0], (LabelPlace{56 - 30 - 2, 16 + 1 - 6, true}));
  EXPECT_EQ((*tall)[1].top, 19 + 16 + 1 - 6) << "trunc(19.6 - 6) + top + 1";
  const auto shortBox = PlaceDbLabels({56, 224, 624, 183}, kArea, Uniform<kDbLevelCount>(30, 12), s);
  ASSERT_TRUE(shortBox);
  for (int i = 0; i < kDbLevelCount; ++i) EXPECT_EQ((*shortBox)[static_cast<std::size_t>(i)].shown, i % 2 == 0) << i;
}

TEST(DbLabelPlaceTest, RelativeDisplayStartsAtZeroDbWhateverTheFileHolds) {
  FftSetting s = Settings(true, 0, 14, 0, 10);  // a data file's top index of +20 dB
  s.fAbsoGraph = 0;
  const auto places = PlaceDbLabels({56, 16, 624, 392}, kArea, Uniform<kDbLevelCount>(30, 12), s);
  ASSERT_TRUE(places);
  EXPECT_FALSE((*places)[0].shown);
  EXPECT_FALSE((*places)[1].shown);
  EXPECT_EQ((*places)[2], (LabelPlace{24, 16 + 1 - 6, true})) << "0 dB on the top edge";
  EXPECT_EQ((*places)[10].top, 16 + 392 + 1 - 6) << "-80 dB on the bottom edge";
  const auto printed = PrintDbLabelPlaces({472, 118, 4606, 1565}, 1.0F, Uniform<kDbLevelCount>(30, 12), s);
  ASSERT_FALSE(printed.empty());
  EXPECT_EQ(printed.front().index, 2) << "printed from 0 dB too";
}

TEST(DbLabelPlaceTest, InvalidRangesPlaceNothing) {
  const auto sizes = Uniform<kDbLevelCount>(30, 12);
  EXPECT_FALSE(PlaceDbLabels(kSpecBox, kArea, sizes, Settings(true, 0, 14, 2, 2)));
  EXPECT_FALSE(PlaceDbLabels(kSpecBox, kArea, sizes, Settings(true, 0, 14, 0, 2))) << "bottom above -10 dB";
  EXPECT_FALSE(PlaceDbLabels(kSpecBox, kArea, sizes, Settings(true, 0, 14, 2, 21))) << "beyond the 21 labels";
  EXPECT_FALSE(PlaceDbLabels(kSpecBox, kArea, sizes, Settings(true, 0, 14, -1, 10)));
}

TEST(WaveLabelPlaceTest, AroundTheWaveformBox) {
  const BoxRect box{56, 16, 624, 183};
  const auto places = PlaceWaveLabels(box, kArea, Uniform<kWaveLabelCount>(40, 12));
  EXPECT_EQ(places[kVoltUnit], (LabelPlace{14, 10, true}));
  EXPECT_EQ(places[kVoltMax].top, 16 + 30 - 6 + 1);
  EXPECT_EQ(places[kVoltZero].top, 16 + 91 - 6);
  EXPECT_EQ(places[kVoltMin].top, 16 + 152 - 6);
  EXPECT_EQ(places[kTimeS], (LabelPlace{56, 201, true}));
  EXPECT_EQ(places[kTimeE], (LabelPlace{56 + 624 - 40, 201, true}));
}

TEST(LabelPlaceTest, NoLabelLeavesTheArea) {
  // Sizes a font may give; a label that would cross an edge is moved in.
  const BoxRect wave{56, 16, 624, 183};
  const auto waveWide = PlaceWaveLabels(wave, kArea, Uniform<kWaveLabelCount>(75, 18));
  EXPECT_EQ(waveWide[kVoltMax].left, 0) << "an eleven-digit code would start at -21";
  EXPECT_EQ(waveWide[kVoltUnit].top, 7) << "unit centred on the top edge: 16 - 9";
  const auto tinyArea = PlaceWaveLabels(wave, {700, 205}, Uniform<kWaveLabelCount>(40, 12));
  EXPECT_EQ(tinyArea[kTimeE], (LabelPlace{640, 193, true})) << "time labels below a bottom edge move up";
  const auto huge = PlaceWaveLabels(wave, {30, 10}, Uniform<kWaveLabelCount>(40, 12));
  EXPECT_EQ(huge[kVoltMin].left, 0) << "larger than the area: at its left edge";
  EXPECT_EQ(huge[kVoltMin].top, 0);

  FftSetting full = Settings(true, 0, 14, 0, 20);
  const auto db = PlaceDbLabels({56, 16, 624, 444}, kArea, Uniform<kDbLevelCount>(60, 18), full);
  ASSERT_TRUE(db);
  EXPECT_EQ((*db)[0].top, 16 + 1 - 9);
  EXPECT_EQ((*db)[20].top, 466 - 18) << "the bottom label would end at 466 + 8";
  for (const auto& place : *db) EXPECT_EQ(place.left, 0) << "-180dBV 60 wide, 54 of room";

  const auto freq = PlaceFreqLabels(kSpecBox, {700, 466}, Uniform<kFreqCount>(60, 12), Settings(true, 0, 14));
  ASSERT_TRUE(freq);
  EXPECT_EQ((*freq)[14].left, 640) << "2.4 kHz centred on the right edge would end at 710";
  const auto linear = PlaceFreqLabels(kSpecBox, {680, 420}, Uniform<kFreqCount>(30, 12), Settings(false, 0, 14));
  ASSERT_TRUE(linear);
  EXPECT_EQ((*linear)[0].top, 420 - 12) << "below the bottom edge: moved up";
}

TEST(PrintLabelPlaceTest, WaveformAndTimeTexts) {
  const PageRect rect{472, 118, 4606, 1565};
  const float s = 6.25F;
  const auto sizes = Uniform<kWaveLabelCount>(40, 12);
  const auto volts = PrintVoltLabelPlaces(rect, s, sizes);
  ASSERT_EQ(volts.size(), 4u);
  EXPECT_EQ(volts[0], (PrintedLabel{kVoltUnit, 472 - 262, 118}));
  EXPECT_EQ(volts[1], (PrintedLabel{kVoltMax, 472 - 262, 118 + 241 - 37}));
  const auto times = PrintTimeLabelPlaces(rect, s, sizes);
  EXPECT_EQ(times[0], (PrintedLabel{kTimeS, 472, 1565 + 12}));
  EXPECT_EQ(times[1], (PrintedLabel{kTimeE, 4606 - 262, 1565 + 12}));
}

TEST(PrintLabelPlaceTest, DbEndsOnlyAndSteps) {
  const PageRect rect{472, 1801, 4606, 3248};
  const auto sizes = Uniform<kDbLevelCount>(30, 12);
  const auto all = PrintDbLabelPlaces(rect, 6.25F, sizes, Settings(true, 0, 14, 2, 10));
  ASSERT_EQ(all.size(), 9u) << "pitch 180.9 printer pixels, labels 75 high";
  EXPECT_EQ(all[1].y, static_cast<int>(1447.0 / 8 + 1801 - 37));
  const auto ends = PrintDbLabelPlaces({472, 1801, 4606, 1861}, 6.25F, sizes, Settings(true, 0, 14, 0, 20));
  ASSERT_EQ(ends.size(), 2u);
  EXPECT_EQ(ends[0], (PrintedLabel{0, 472 - 200, 1801 - 37}));
  EXPECT_EQ(ends[1], (PrintedLabel{20, 472 - 200, 1861 - 37}));
}

TEST(PrintLabelPlaceTest, FreqTexts) {
  const PageRect rect{472, 118, 4606, 3248};
  const auto log = PrintFreqLabelPlaces(rect, 6.25F, Uniform<kFreqCount>(30, 12), Settings(true, 0, 14));
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log.front(), (PrintedLabel{0, 472, 3248 + 31}));
  EXPECT_EQ(log.back(), (PrintedLabel{14, 4606 - 187, 3248 + 31}));
  for (std::size_t i = 1; i + 1 < log.size(); ++i) EXPECT_GT(log[i].x, log[i - 1].x) << "no overlap";
  const auto linear = PrintFreqLabelPlaces(rect, 1.0F, Uniform<kFreqCount>(30, 12), Settings(false, 0, 13));
  ASSERT_EQ(linear.size(), 4u);
  EXPECT_EQ(linear[1].x, 472 + 1378 - 15);
  EXPECT_EQ(linear[3].x, 4606 - 30);
}

}  // namespace
