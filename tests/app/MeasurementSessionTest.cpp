#include <cmath>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "SessionTestSupport.h"
#include "TestPlatform.h"
#include "app/Results.h"
#include "app/StartTime.h"

namespace {

using StartOutcome = MeasurementSession::StartOutcome;
using FinishOutcome = MeasurementSession::FinishOutcome;

TEST_F(SessionTest, AFinishedMeasurementIsHeldAnalysedAndStamped) {
  Measure();
  const SessionState& s = session.State();
  EXPECT_TRUE(s.fDataValid);
  EXPECT_FALSE(s.fDataSaved);
  EXPECT_FALSE(s.fMeasuring);
  EXPECT_EQ(s.curData.ad_dnum, 1024);
  EXPECT_EQ(s.saveSetting.StartDateTime, StartDateTimeText(kWallTime));
  // 1 mV peak is 707 µV RMS, at 2.5 V / 2^23 / 128 per digit.
  EXPECT_NEAR(s.codeDeviation, 707.107e-6 / (2.5 / 8388608.0 / 128.0), 50.0);
  const MeasurementResults r = ResultsOf(s);
  EXPECT_EQ(r.peakBin, 128);
  EXPECT_EQ(r.rmsText + " " + r.rmsUnit, "433.013 uVrms") << "Hanning without correction: 0.612 × 707.107 µV";
  EXPECT_EQ(r.unitInfo.rfind("QT4418PX/ ", 0), 0U) << r.unitInfo;
  EXPECT_EQ(r.start, s.saveSetting.StartDateTime);
}

TEST_F(SessionTest, AnAveragedSpectrumDescribesTheAverageAndKeepsTheLastSamples) {
  PowerAverage average;
  EXPECT_THROW(session.AdoptAveragedSpectrum(average), std::logic_error) << "no measurement yet";
  Measure();
  const SessionState& s = session.State();
  const std::vector<float> measured(s.curData.spectrum, s.curData.spectrum + 512);
  const std::vector<std::int32_t> codes(s.curData.adCode, s.curData.adCode + 1024);
  std::vector<float> tripled(measured);
  for (float& line : tripled) line *= 3.0F;
  average.Add(measured);
  average.Add(tripled);
  session.AdoptAveragedSpectrum(average);
  EXPECT_NEAR(s.curData.spectrum[128], measured[128] * std::sqrt(5.0F), 1e-6F * measured[128])
      << "the root of the mean square, √((1 + 9) / 2)";
  EXPECT_NEAR(ResultsOf(s).rmsVolts, 433.013e-6F * std::sqrt(5.0F), 1e-8F) << "the RMS is the average's";
  EXPECT_EQ(std::vector<std::int32_t>(s.curData.adCode, s.curData.adCode + 1024), codes);
  EXPECT_TRUE(s.fDataValid);

  PowerAverage other;
  other.Add(std::vector<float>(2048, 1.0F));
  EXPECT_THROW(session.AdoptAveragedSpectrum(other), std::invalid_argument);
  EXPECT_NEAR(s.curData.spectrum[128], measured[128] * std::sqrt(5.0F), 1e-6F * measured[128]) << "left as it was";
}

TEST(StartDateTimeText, LocalTimeInTheShortDateAndLongTimeFormat) {
  const auto previous = Environment("TZ");
  ASSERT_TRUE(UseTimeZone("UTC0"));
  EXPECT_EQ(StartDateTimeText(kWallTime), "2026/12/08 19:50:07");
  EXPECT_EQ(StartDateTimeText(kWallTime + std::chrono::hours(5)), "2026/12/09 00:50:07");

  // ISO 8601 with the offset that held at that moment (summer time included).
  if (!UseTimeZone("CET-1CEST,M3.5.0,M10.5.0/3")) {
    UseTimeZone(previous);
    GTEST_SKIP() << "this C library cannot follow summer-time rules given in TZ";
  }
  const struct {
    const char* text;
    std::optional<std::string> iso;
  } rows[] = {
      {"2026/12/09 18:43:13", "2026-12-09T18:43:13+01:00"},
      {"2026/07/01 00:00:00", "2026-07-01T00:00:00+02:00"},
      {"2026/03/29 02:30:00", std::nullopt},  // skipped when the clocks went forward
      {"2026/02/30 10:00:00", std::nullopt},  // no such day
      {"2026/12/09 18:43", std::nullopt},
      {"2026/12/09 18:43:13 x", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& r : rows) EXPECT_EQ(IsoStartTime(r.text), r.iso) << r.text;
  ASSERT_TRUE(UseTimeZone("<-0330>3:30"));
  EXPECT_EQ(IsoStartTime("2026/12/09 18:43:13"), "2026-12-09T18:43:13-03:30");
  UseTimeZone(previous);
}

// Each failure of the road, after a good measurement at gain 128 and with the
// converter dialog since set to gain 64: what is held afterwards.
TEST_F(SessionTest, FailuresOfTheRoadAndWhatStaysHeld) {
  constexpr std::uint32_t kHeldGain = 5;
  constexpr std::uint32_t kNewGain = 4;
  const struct {
    const char* config;
    bool refuseStart;
    StartOutcome start;
    PollOutcome end;       // for a started acquisition
    FinishOutcome finish;  // for one with every sample in
    bool held;             // the previous measurement is still held, with its settings
    bool abortSent;
    bool linkOpen;
  } rows[] = {
      {"fault=absent", false, StartOutcome::NotFound, {}, {}, true, false, false},
      {"fault=silent", false, StartOutcome::NoResponse, {}, {}, true, false, false},
      {"fault=ng:SG4", false, StartOutcome::SetupFailed, {}, {}, true, false, true},
      {"name=QT4418PY", false, StartOutcome::SetupFailed, {}, {}, true, false, true},
      {kQuietSine, true, StartOutcome::StartRefused, {}, {}, true, true, false},
      {"fault=garble@100", false, StartOutcome::Started, PollOutcome::ReadFailed, {}, false, true, true},
      {"fault=unplug@500", false, StartOutcome::Started, PollOutcome::ReadFailed, {}, false, true, true},
      {"fault=ng:A000400", false, StartOutcome::Started, PollOutcome::ReadFailed, {}, false, true, true},  // stall
      {"ch0=dc:0.05", false, StartOutcome::Started, PollOutcome::AllIn, FinishOutcome::LevelError, false, true, true},
      {kQuietSine, false, StartOutcome::Started, PollOutcome::AllIn, FinishOutcome::Analysed, true, true, true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.config);
    AdUnitSetting edited = session.State().editAdSetting;
    edited.GainSel = kHeldGain;
    session.Settings().SetEditAdSetting(edited);
    Measure();
    edited.GainSel = kNewGain;
    session.Settings().SetEditAdSetting(edited);

    UnitBench bench(r.config, time);
    bench.tap.refuseStart = r.refuseStart;
    const auto polled = time.now;
    ASSERT_EQ(session.Start(bench.adc).outcome, r.start);
    if (r.start == StartOutcome::Started) {
      ASSERT_EQ(PollToEnd(bench), r.end);
      if (r.end == PollOutcome::AllIn) {
        EXPECT_EQ(session.Finish(), r.finish);
      }
    }
    const SessionState& s = session.State();
    EXPECT_FALSE(s.fMeasuring);
    EXPECT_EQ(s.fDataValid, r.held);
    EXPECT_EQ(s.measAdSetting.GainSel, r.start == StartOutcome::Started ? kNewGain : kHeldGain);
    EXPECT_EQ(bench.AbortSent(), r.abortSent);
    EXPECT_EQ(bench.adc.IsOpen(), r.linkOpen);
    ExpectFlagsMatchRecords(r.config);
    if (std::string(r.config) == "fault=ng:A000400") {
      EXPECT_GE(time.now - polled, StallGuard::kStallFloor) << "no stall before a second without records";
    }
  }
}

TEST_F(SessionTest, StopDuringSetUpEndsItAndNoSecondStartRunsInside) {
  Measure();
  UnitBench bench(kQuietSine, time);
  bool nestedRefused = false;
  bool stopped = false;
  time.onPump = [&](int /*pump*/) {
    if (std::exchange(stopped, true)) return;
    try {
      session.Start(bench.adc);
    } catch (const std::logic_error&) {
      nestedRefused = true;
    }
    session.Stop();
  };
  EXPECT_EQ(session.Start(bench.adc).outcome, StartOutcome::Stopped);
  EXPECT_TRUE(nestedRefused);
  EXPECT_FALSE(bench.adc.IsOpen());
  EXPECT_EQ(std::count(bench.tap.wire.begin(), bench.tap.wire.end(), "S4\r"), 0) << "nothing sent after the stop";
  EXPECT_TRUE(session.State().fDataValid) << "the held measurement stays";
}

TEST_F(SessionTest, StopDuringTheAcquisitionDropsItsSamples) {
  Measure();
  UnitBench bench(kQuietSine, time);
  ASSERT_EQ(session.Start(bench.adc).outcome, StartOutcome::Started);
  EXPECT_THROW(session.Start(bench.adc), std::logic_error);
  EXPECT_THROW(session.Data().LoadData(Path("any.DTA")), std::logic_error) << "commands are locked";
  bench.clock.Advance(kPollStep);
  EXPECT_EQ(session.Poll(), PollOutcome::Progress);
  session.Stop();
  EXPECT_TRUE(bench.AbortSent());
  EXPECT_FALSE(session.State().fMeasuring);
  EXPECT_FALSE(session.State().fDataValid);
  ExpectFlagsMatchRecords("after the stop");
  EXPECT_EQ(session.Poll(), PollOutcome::NotRunning);
  EXPECT_THROW(session.Finish(), std::logic_error);
}

}  // namespace
