// The waveform of an acquisition under way: its record of the samples so far and
// where its points go on the whole measurement's time axis.
#include <gtest/gtest.h>

#include <memory>

#include "analysis/Analysis.h"
#include "display/GraphGeometry.h"
#include "display/WaveSoFar.h"

namespace {

constexpr int kTotal = 1024;
constexpr int kWidth = 475;

// The acquisition's code array: a ramp in the first half, then what a previous,
// larger measurement left behind.
struct Acquisition {
  std::unique_ptr<MeasureBuffers> buffers = std::make_unique<MeasureBuffers>();
  Acquisition() {
    for (int i = 0; i < kTotal; ++i) buffers->adCode[i] = i < kTotal / 2 ? 8388608 + 10 * i : 16000000;
  }
};

TEST(WaveSoFarTest, TheValueRangeIsThatOfTheSamplesSoFar) {
  const Acquisition acquisition;
  AdUnitSetting setting;
  setting.spsSel = 3;
  setting.sinc3 = 1;
  setting.Gain = 8;
  WaveSoFar soFar;
  const struct {
    int received;
    std::int32_t max;  // code range of the received samples only
  } rows[] = {
      {1, 8388608}, {100, 8388608 + 990}, {512, 8388608 + 5110},  // the stale codes beyond are not looked at
  };
  for (const auto& r : rows) {
    const MeasureData& record = soFar.Take(acquisition.buffers->adCode, r.received, setting);
    EXPECT_EQ(record.ad_dnum, r.received);
    EXPECT_EQ(record.spsSel, 3u) << "the measurement's rate: the time axis";
    EXPECT_EQ(record.sinc3, 1);
    const CodeRange codes = CodeRangeOf(record);
    EXPECT_EQ(codes.max, r.max) << r.received;
    EXPECT_EQ(codes.min, 8388608) << r.received;
    // The volts as the finish converts a record of these samples.
    MeasureBuffers finished;
    MeasureData expected;
    finished.Bind(expected);
    for (int i = 0; i < r.received; ++i) expected.adCode[i] = acquisition.buffers->adCode[i];
    expected.ad_dnum = r.received;
    CodeToVolt(expected, setting);
    for (const bool dcCut : {false, true}) {
      EXPECT_EQ(VoltRangeOf(record, dcCut).max, VoltRangeOf(expected, dcCut).max) << r.received << dcCut;
      EXPECT_EQ(VoltRangeOf(record, dcCut).min, VoltRangeOf(expected, dcCut).min) << r.received << dcCut;
    }
    EXPECT_EQ(record.volt[r.received - 1], expected.volt[r.received - 1]);
  }
  const MeasureData& none = soFar.Take(acquisition.buffers->adCode, 0, setting);
  EXPECT_FALSE(none.HasData());
  EXPECT_EQ(CodeRangeOf(none).max, kNoDataCodeMax) << "before the first record: the no-data range";
  EXPECT_EQ(VoltRangeOf(none, false).max, kNoDataVoltMax);
  EXPECT_EQ(soFar.Take(acquisition.buffers->adCode, kSampleCapacity + 1, setting).ad_dnum, kSampleCapacity)
      << "never beyond the arrays";
}

TEST(WaveSoFarTest, ThePointsLieOnTheWholeMeasurementsTimeAxis) {
  const struct {
    int i;
    int axis;
    int x;
    const char* reason;
  } rows[] = {
      {0, kTotal, 0, "the curve starts at the left edge"},
      {255, kTotal, 118, "a quarter in: the last point a quarter across (475·255/1024)"},
      {511, kTotal, 237, "half in: short of the middle (237.5)"},
      {kTotal - 1, kTotal, 474, "the finished record's last point"},
      {kTotal, kTotal, kWidth, "the axis ends at the right edge"},
      {65535, 65536, 474, "no overflow with the largest record"},
      {3, 0, 0, "no axis: nothing spreads"},
  };
  for (const auto& r : rows) EXPECT_EQ(WaveSampleX(kWidth, r.i, r.axis), r.x) << r.reason;
}

}  // namespace
