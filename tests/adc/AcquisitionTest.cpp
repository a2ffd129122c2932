// Whole acquisitions from the simulated unit through the link and the protocol, in
// virtual time: every sample arrives, in order, with the code the signal dictates.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "SimulatedBench.h"
#include "adc/UnitSetup.h"
#include "analysis/Analysis.h"

namespace {

constexpr std::chrono::microseconds kPollStep{5000};
constexpr int kMaxPolls = 1'000'000;

AdUnitSetting FastSetting() {
  AdUnitSetting setting;  // 4800 per second, gain 128, Sinc4, channel 0
  setting.spsSel = 12;
  setting.GainSel = 5;
  return setting;
}

struct Acquired {
  bool ok = false;
  std::vector<std::int32_t> codes;
};

// Sets the unit up, acquires count samples polling as the main window does, and stops.
Acquired Acquire(SimulatedBench& bench, const AdUnitSetting& setting, std::uint32_t count) {
  Acquired result;
  if (!RunUnitSetup(bench.adc, setting).Ok() || !bench.adc.StartAcquisition(setting.ch_sel, count)) return result;
  result.codes.resize(count);
  const std::uint32_t perRead = SamplesPerRead(setting.spsSel);
  std::uint32_t index = 0;
  for (int poll = 0; poll < kMaxPolls && index < count; ++poll) {
    bench.clock.Advance(kPollStep);
    std::uint32_t delivered = 0;
    do {
      const std::uint32_t wanted = std::min(perRead, count - index);
      if (!bench.adc.ReadSamples(result.codes.data() + index, wanted, delivered)) {
        result.codes.resize(index + delivered);  // the records before a bad one stay delivered
        bench.adc.StopAcquisition();
        return result;
      }
      index += delivered;
    } while (delivered > 0 && index < count);
  }
  result.codes.resize(index);
  result.ok = index == count && bench.adc.StopAcquisition();
  return result;
}

// The code of a voltage at gain 128, computed here independently of the model.
std::int32_t ExpectedCode(double volts) {
  const double code = std::round(8388608.0 * (1.0 + volts * 128 / 2.5));
  return static_cast<std::int32_t>(std::clamp(code, 0.0, 16777215.0));
}

TEST(Acquisition, FullRecordAt4800MatchesTheSignalExactly) {
  SimulatedBench bench("ch0=dc:1e-3+sine:1000:5e-3,ch1=dc:-3e-3,noise=off");
  const Acquired acquired = Acquire(bench, FastSetting(), 65536);
  ASSERT_TRUE(acquired.ok);
  ASSERT_EQ(acquired.codes.size(), 65536U);
  for (std::size_t n = 0; n < acquired.codes.size(); ++n) {
    const double seconds = static_cast<double>(n) / 4800;
    const double volts = 1e-3 + 5e-3 * std::sin(2.0 * std::numbers::pi * 1000.0 * seconds);
    ASSERT_EQ(acquired.codes[n], ExpectedCode(volts)) << "sample " << n;
  }
  EXPECT_EQ(bench.unit->Firmware().RecordsSent(), 65536U);
}

TEST(Acquisition, ChannelOneAndGainOne) {
  SimulatedBench bench("ch0=dc:1,ch1=dc:-1.25,noise=off");
  AdUnitSetting setting = FastSetting();
  setting.ch_sel = 1;
  setting.GainSel = 0;
  const Acquired acquired = Acquire(bench, setting, 1024);
  ASSERT_TRUE(acquired.ok);
  EXPECT_EQ(acquired.codes.front(), 0x400000);
  EXPECT_EQ(acquired.codes.back(), 0x400000);
}

TEST(Acquisition, SameSeedSameRecordWithTheConvertersNoise) {
  const std::string config = "ch0=dc:1e-3+sine:1000:5e-3+white:1e-6,seed=11";
  SimulatedBench first(config);
  SimulatedBench second(config);
  SimulatedBench other("ch0=dc:1e-3+sine:1000:5e-3+white:1e-6,seed=12");
  const Acquired a = Acquire(first, FastSetting(), 65536);
  const Acquired b = Acquire(second, FastSetting(), 65536);
  const Acquired c = Acquire(other, FastSetting(), 65536);
  ASSERT_TRUE(a.ok && b.ok && c.ok);
  EXPECT_EQ(a.codes, b.codes);
  EXPECT_NE(a.codes, c.codes);
}

TEST(Acquisition, ConvertersNoiseShowsInTheCodes) {
  // A quiet input: what is left is the converter's own noise, 295 nV RMS at 4800
  // per second and gain 128 (Sinc4), about 127 codes.
  SimulatedBench bench("ch0=dc:0,seed=3");
  const Acquired acquired = Acquire(bench, FastSetting(), 16384);
  ASSERT_TRUE(acquired.ok);
  double sum = 0.0;
  double squares = 0.0;
  for (const std::int32_t code : acquired.codes) {
    sum += code;
    squares += static_cast<double>(code) * code;
  }
  const double n = static_cast<double>(acquired.codes.size());
  const double rmsCodes = std::sqrt(squares / n - (sum / n) * (sum / n));
  const double codesPerVolt = 8388608.0 * 128 / 2.5;
  EXPECT_NEAR(rmsCodes, 295e-9 * codesPerVolt, 0.05 * 295e-9 * codesPerVolt);
  EXPECT_NEAR(sum / n - 8388608.0, 75e-6 / 128 * codesPerVolt, 5.0) << "the offset without chopping";
}

TEST(Acquisition, ShortAndPiecemealDeliveriesLoseNothing) {
  const std::string signal = "ch0=dc:1e-3+sine:1000:5e-3+white:1e-6,seed=4";
  SimulatedBench clean(signal);
  const Acquired expected = Acquire(clean, FastSetting(), 4096);
  ASSERT_TRUE(expected.ok);
  for (const char* fault : {",fault=short", ",fault=burst:5", ",fault=burst:300"}) {
    SimulatedBench faulty(signal + fault);
    const Acquired acquired = Acquire(faulty, FastSetting(), 4096);
    EXPECT_TRUE(acquired.ok) << fault;
    EXPECT_EQ(acquired.codes, expected.codes) << fault;
  }
}

TEST(Acquisition, SlowRateOnTheSelfAdvancingVirtualClock) {
  std::string error;
  const std::unique_ptr<D2xx> driver = MakeSimulatedDriver("ch0=dc:2e-3,noise=off,clock=virtual", error);
  ASSERT_NE(driver, nullptr) << error;
  FakeTime time;
  TADC adc(*driver, time.Pump(), time.Clock());
  AdUnitSetting setting = FastSetting();
  setting.spsSel = 0;  // 5 per second: 1024 samples take 205 s of the unit's time
  ASSERT_TRUE(RunUnitSetup(adc, setting).Ok());
  ASSERT_TRUE(adc.StartAcquisition(0, 1024));
  std::vector<std::int32_t> codes(1024);
  std::uint32_t index = 0;
  for (int poll = 0; poll < 10'000 && index < codes.size(); ++poll) {
    std::uint32_t delivered = 0;
    ASSERT_TRUE(adc.ReadSamples(codes.data() + index, 1, delivered));
    index += delivered;
  }
  EXPECT_EQ(index, 1024U);
  EXPECT_EQ(codes.back(), ExpectedCode(2e-3));
}

TEST(Acquisition, OverloadClampsAndTheRecordIsRejected) {
  struct Row {
    const char* config;
    std::int32_t clamped;
  };
  const std::vector<Row> rows = {
      {"ch0=dc:0.02,noise=off", 0xFFFFFF},  // above +2.5 V / 128
      {"ch0=dc:-0.02,noise=off", 0},        // below -2.5 V / 128
      {"ch0=sine:50:0.03", 0xFFFFFF},       // peaks beyond the range, noise on
  };
  for (const Row& row : rows) {
    SimulatedBench bench(row.config);
    Acquired acquired = Acquire(bench, FastSetting(), 1024);
    ASSERT_TRUE(acquired.ok) << row.config;
    EXPECT_NE(std::find(acquired.codes.begin(), acquired.codes.end(), row.clamped), acquired.codes.end()) << row.config;

    MeasureBuffers buffers;
    MeasureData data;
    buffers.Bind(data);
    std::copy(acquired.codes.begin(), acquired.codes.end(), data.adCode);
    data.ad_dnum = 1024;
    data.spsSel = 12;
    EXPECT_FALSE(CheckSignalLevel(data, FastSetting())) << row.config;
  }
}

TEST(Acquisition, GarbledOrUnpluggedStreamFailsTheRead) {
  struct Row {
    const char* config;
    std::size_t fewest;  // good samples delivered before the failure
    std::size_t most;
  };
  const std::vector<Row> rows = {
      {"fault=garble@100", 100, 100},  // the records before the bad one in its block count
      {"fault=garble@0", 0, 0},
      {"fault=unplug@500", 448, 500},  // whatever was read before record 500 was due
  };
  for (const Row& row : rows) {
    SimulatedBench bench(row.config);
    const Acquired acquired = Acquire(bench, FastSetting(), 1024);
    EXPECT_FALSE(acquired.ok) << row.config;
    EXPECT_GE(acquired.codes.size(), row.fewest) << row.config;
    EXPECT_LE(acquired.codes.size(), row.most) << row.config;
  }
}

}  // namespace
