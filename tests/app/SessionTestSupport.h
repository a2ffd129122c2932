// A measurement session against the simulated unit for the session tests: the unit
// runs on a virtual clock that the polls move, the link's waits and the stall rule run
// on fake time, the wall clock stands still, and files go to a temporary directory.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "ScriptedPrompter.h"
#include "SimulatedTap.h"
#include "app/MeasurementSession.h"
#include "files/FileTestSupport.h"

// The simulated unit and the TADC on it, their waits on the test's fake time.
struct UnitBench {
  UnitBench(const std::string& config, FakeTime& time) : tap(config, clock), adc(tap, time.Pump(), time.Clock()) {}
  bool AbortSent() const { return tap.Sent("AX"); }

  VirtualSimClock clock;
  SimulatedTap tap;
  TADC adc;
};

class SessionTest : public ::testing::Test {
 protected:
  using PollOutcome = MeasurementSession::PollOutcome;
  static constexpr auto kPollStep = std::chrono::milliseconds(10);

  void SetUp() override { UseSampleCount(0); }

  // DataCountSel 0..6: 1024 << sel samples per measurement.
  void UseSampleCount(int sel) {
    FftSetting fft = session.State().fftSetting;
    fft.DataCountSel = sel;
    fft.DataCountMax = 1024 << sel;
    session.Settings().ApplyMeasureSettings(fft, session.State().saveSetting);
  }

  // Polls until the acquisition ends; both clocks move while records are awaited.
  PollOutcome PollToEnd(UnitBench& bench) {
    for (int polls = 0; polls < 100'000; ++polls) {
      const PollOutcome outcome = session.Poll();
      if (outcome == PollOutcome::Waiting) {
        bench.clock.Advance(kPollStep);
        time.now += kPollStep;
      } else if (outcome != PollOutcome::Progress) {
        return outcome;
      }
    }
    ADD_FAILURE() << "the acquisition never ended";
    return PollOutcome::NotRunning;
  }

  // A whole measurement that is expected to succeed.
  void Measure(const std::string& config = kQuietSine) {
    UnitBench bench(config, time);
    ASSERT_EQ(session.Start(bench.adc).outcome, MeasurementSession::StartOutcome::Started);
    ASSERT_EQ(PollToEnd(bench), PollOutcome::AllIn);
    ASSERT_EQ(session.Finish(), MeasurementSession::FinishOutcome::Analysed);
  }

  // A flag cleared means an empty record.
  void ExpectFlagsMatchRecords(const std::string& where) const {
    const SessionState& s = session.State();
    EXPECT_EQ(s.fDataValid, s.curData.ad_dnum > 0) << where;
    EXPECT_EQ(s.fRefValid, s.refData.ad_dnum > 0) << where;
  }

  std::string Path(const std::string& name) const { return (dir / name).string(); }

  FakeTime time;
  ScriptedPrompter prompter;
  MeasurementSession session{prompter, time.Clock(), [] { return kWallTime; }};
  TempDir dir;
};
