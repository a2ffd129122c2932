// A measurement session against the simulated unit for the session tests: the unit
// runs on a virtual clock that the polls move, the link's waits and the stall rule run
// on fake time, the wall clock stands still, and files go to a temporary directory.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

#include "ScriptedPrompter.h"
#include "adc/SimulatedBench.h"
#include "app/MeasurementSession.h"
#include "files/FileTestSupport.h"

// 1 mV at 600 Hz without converter noise: exactly on line 128 of 1024 samples at 4800 per second.
inline constexpr const char* kQuietSine = "noise=off,ch0=sine:600:1e-3";
// 2026/12/08 19:50:07 UTC.
inline const std::chrono::system_clock::time_point kWallTime{std::chrono::seconds(1796759407)};

// The simulated unit behind a tap that logs the wire and can refuse the start command.
struct UnitBench {
  class Tap : public TapDriver {
   public:
    using TapDriver::TapDriver;
    bool refuseStart = false;
    FT_STATUS Write(const void* bytes, std::uint32_t n, std::uint32_t& written) override {
      const std::string line(static_cast<const char*>(bytes), n);
      if (refuseStart && line.starts_with("A") && !line.starts_with("AX")) return FT_IO_ERROR;
      return TapDriver::Write(bytes, n, written);
    }
  };

  UnitBench(const std::string& config, FakeTime& time)
      : unit(SimulatedBench::MakeUnit(config, clock)), tap(*unit), adc(tap, time.Pump(), time.Clock()) {}
  bool AbortSent() const { return std::find(tap.wire.begin(), tap.wire.end(), "AX\r") != tap.wire.end(); }

  VirtualSimClock clock;
  std::unique_ptr<SimulatedUnit> unit;
  Tap tap;
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
