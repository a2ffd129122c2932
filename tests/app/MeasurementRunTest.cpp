#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numbers>
#include <string>

#include "app/MeasurementRun.h"
#include "drivers/SimulatedUnit.h"
#include "model/UnitTables.h"

namespace {

using namespace std::chrono_literals;

// A whole measurement against the simulated unit on its self-advancing virtual
// clock; the link's time-outs run on a fake clock that each pump call moves on.
class MeasurementRunTest : public ::testing::Test {
 protected:
  void Use(const std::string& config) {
    run.reset();
    unit.reset();  // the link refers to the driver it replaces
    std::string error;
    driver = MakeSimulatedDriver(config, error);
    ASSERT_TRUE(driver) << error;
    unit = std::make_unique<TADC>(
        *driver, [this] { now += 1ms; }, [this] { return now; });
    run = std::make_unique<MeasurementRun>(*unit, fft, *work);
    buffers->Bind(data);
  }

  MeasurementRun::StepOutcome StepUntilDone() {
    for (int polls = 0; polls < 1'000'000; ++polls) {
      const auto outcome = run->Step();
      if (outcome == MeasurementRun::StepOutcome::AllIn || outcome == MeasurementRun::StepOutcome::ReadFailed) {
        return outcome;
      }
    }
    ADD_FAILURE() << "the acquisition never ended";
    return MeasurementRun::StepOutcome::Waiting;
  }

  std::chrono::steady_clock::time_point now{};
  FftSetting fftSetting;
  TmyFFT fft{fftSetting};
  std::unique_ptr<AnalysisWork> work = std::make_unique<AnalysisWork>();
  std::unique_ptr<MeasureBuffers> buffers = std::make_unique<MeasureBuffers>();
  MeasureData data;
  AdUnitSetting setting;
  std::unique_ptr<D2xx> driver;
  std::unique_ptr<TADC> unit;
  std::unique_ptr<MeasurementRun> run;
};

TEST_F(MeasurementRunTest, SineArrivesAnalysedOnItsLine) {
  // 1 mV at 600 Hz, gain 128, 4800 per second, 1024 samples: line 128 exactly.
  Use("clock=virtual,noise=off,ch0=sine:600:1e-3");
  fftSetting.whichWindowFunc = 0;
  const auto start = run->Start(setting, 1024, data);
  ASSERT_EQ(start.outcome, MeasurementRun::StartOutcome::Started);
  EXPECT_EQ(start.setup.description, "4.8ksps x128, ");
  EXPECT_EQ(StepUntilDone(), MeasurementRun::StepOutcome::AllIn);
  EXPECT_EQ(run->SampleIndex(), 1024);
  ASSERT_EQ(run->Finish(fftSetting), MeasurementRun::FinishOutcome::Analysed);
  EXPECT_EQ(data.ad_dnum, 1024);
  EXPECT_EQ(data.spsSel, 12U);
  EXPECT_FLOAT_EQ(data.deltaF, 4.6875F);
  const auto peak = std::max_element(data.spectrum + 1, data.spectrum + 512) - data.spectrum;
  EXPECT_EQ(peak, 128);
  EXPECT_NEAR(data.spectrum[128], 1e-3F / std::sqrt(2.0F), 1e-6F);
  EXPECT_FALSE(run->Running());
}

TEST_F(MeasurementRunTest, ShortedInputShowsThePublishedConverterNoise) {
  // Published RMS noise (external 5 V reference, input shorted) against the RMS the
  // spectrum of a whole measurement gives: codes, volts, rectangle window, no DC.
  const struct {
    int spsSel;
    std::uint32_t gainSel;
    bool sinc3;
    bool chop;
    double nanovolts;
  } cells[] = {
      {1, 0, false, false, 330},                        // 10 per second, gain 1
      {1, 5, false, false, 11.5},                       // gain 128
      {12, 0, false, false, 14300},                     // 4800 per second
      {12, 5, false, false, 295},                       //
      {12, 5, false, true, 295 / std::numbers::sqrt2},  // chopping lowers it by √2
      {1, 0, true, false, 350},                         // Sinc3
      {11, 5, true, false, 490},                        // Sinc3 at 2400 per second
      {12, 0, true, false, 442000},                     // Sinc3 at 4800 per second
  };
  constexpr double kTolerance = 0.15;
  fftSetting.whichWindowFunc = 0;
  for (const auto& cell : cells) {
    Use("clock=virtual,noise=datasheet,ch0=dc:0,seed=3");
    setting.spsSel = cell.spsSel;
    setting.GainSel = cell.gainSel;
    setting.Gain = GainOf(cell.gainSel);
    setting.sinc3 = cell.sinc3 ? 1 : 0;
    setting.chop_on = cell.chop ? 1 : 0;
    const std::string name = "rate " + std::to_string(cell.spsSel) + " gain " + std::to_string(setting.Gain) +
                             (cell.sinc3 ? " Sinc3" : " Sinc4") + (cell.chop ? " chop" : "");
    ASSERT_EQ(run->Start(setting, 4096, data).outcome, MeasurementRun::StartOutcome::Started) << name;
    ASSERT_EQ(StepUntilDone(), MeasurementRun::StepOutcome::AllIn) << name;
    ASSERT_EQ(run->Finish(fftSetting), MeasurementRun::FinishOutcome::Analysed) << name;
    const double published = cell.nanovolts * 1e-9;
    EXPECT_NEAR(SignalRms(data), published, kTolerance * published) << name;
  }
}

TEST_F(MeasurementRunTest, SetupFailuresAndWhereTheyLeaveTheLink) {
  const struct {
    const char* config;
    MeasurementRun::StartOutcome outcome;
  } rows[] = {
      {"clock=virtual,fault=absent", MeasurementRun::StartOutcome::NotFound},
      {"clock=virtual,fault=silent", MeasurementRun::StartOutcome::NoResponse},
      {"clock=virtual,fault=ng:SG5", MeasurementRun::StartOutcome::SetupFailed},
      {"clock=virtual,name=QT4418PY", MeasurementRun::StartOutcome::SetupFailed},
  };
  for (const auto& r : rows) {
    Use(r.config);
    data.ad_dnum = 77;  // a previous measurement
    EXPECT_EQ(run->Start(setting, 1024, data).outcome, r.outcome) << r.config;
    EXPECT_EQ(data.ad_dnum, 77) << "a failed start keeps the previous record: " << r.config;
    EXPECT_FALSE(run->Running());
  }
}

TEST_F(MeasurementRunTest, CountsTheAnalysisCannotTakeAreRefusedBeforeTheUnitIsTouched) {
  const struct {
    int samples;
    const char* reason;
  } rows[] = {
      {1500, "not a power of two: no spectrum can be computed"},
      {131072, "more than the arrays hold"},
      {0, "nothing to measure"},
      {-1024, "negative"},
  };
  for (const auto& r : rows) {
    Use("clock=virtual");
    data.ad_dnum = 77;
    EXPECT_EQ(run->Start(setting, r.samples, data).outcome, MeasurementRun::StartOutcome::InvalidCount) << r.reason;
    EXPECT_EQ(data.ad_dnum, 77) << r.reason;
    EXPECT_FALSE(unit->IsOpen()) << r.reason;
    EXPECT_FALSE(run->Running()) << r.reason;
  }
}

TEST_F(MeasurementRunTest, ReadFailureEmptiesTheRecord) {
  Use("clock=virtual,fault=garble@100");
  ASSERT_EQ(run->Start(setting, 1024, data).outcome, MeasurementRun::StartOutcome::Started);
  EXPECT_EQ(StepUntilDone(), MeasurementRun::StepOutcome::ReadFailed);
  EXPECT_EQ(data.ad_dnum, 0);
  EXPECT_FALSE(run->Running());
  EXPECT_TRUE(unit->IsOpen()) << "the link stays open after a read failure";
}

TEST_F(MeasurementRunTest, OverloadIsRejectedAsAWhole) {
  Use("clock=virtual,ch0=dc:0.03");  // beyond ±2.5 V / 128
  ASSERT_EQ(run->Start(setting, 1024, data).outcome, MeasurementRun::StartOutcome::Started);
  EXPECT_EQ(StepUntilDone(), MeasurementRun::StepOutcome::AllIn);
  EXPECT_EQ(run->Finish(fftSetting), MeasurementRun::FinishOutcome::LevelError);
  EXPECT_EQ(data.ad_dnum, 0);
}

TEST_F(MeasurementRunTest, StopEndsTheAcquisition) {
  Use("clock=virtual");
  ASSERT_EQ(run->Start(setting, 65536, data).outcome, MeasurementRun::StartOutcome::Started);
  run->Step();
  run->Stop();
  EXPECT_FALSE(run->Running());
  EXPECT_EQ(run->Step(), MeasurementRun::StepOutcome::NotRunning) << "no reads, and no finish, after a stop";
  EXPECT_THROW(run->Finish(fftSetting), std::logic_error);
}

}  // namespace
