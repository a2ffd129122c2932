#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SessionTestSupport.h"
#include "files/Journal.h"

namespace {

using StartOutcome = MeasurementSession::StartOutcome;
using FinishOutcome = MeasurementSession::FinishOutcome;
using Mode = SeriesPlan::Mode;

// 1 mV at 600 Hz on the converter's own noise: every acquisition's spectrum differs.
constexpr const char* kNoisySine = "ch0=sine:600:1e-3,seed=3";

class SessionSeriesTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    session.SetJournalDirectory(dir.path() / "state");
  }

  // One acquisition of the series on bench, which must finish.
  void Acquire(UnitBench& bench) {
    ASSERT_EQ(session.Start(bench.adc, session.Series().Next()).outcome, StartOutcome::Started);
    ASSERT_EQ(PollToEnd(bench), PollOutcome::AllIn);
    ASSERT_EQ(session.Finish(), FinishOutcome::Analysed);
    spectra.emplace_back(s.curData.spectrum, s.curData.spectrum + 512);
  }
  // Polls an acquisition a little way in.
  void PollPartly(UnitBench& bench) {
    for (int polls = 0; polls < 5; ++polls) {
      bench.clock.Advance(kPollStep);
      time.now += kPollStep;
      session.Poll();
    }
    ASSERT_GT(session.SampleIndex(), 0);
    ASSERT_LT(session.SampleIndex(), 1024);
  }
  std::vector<std::int32_t> Codes() const { return {s.curData.adCode, s.curData.adCode + s.curData.ad_dnum}; }
  std::vector<float> Spectrum() const { return {s.curData.spectrum, s.curData.spectrum + s.curData.ad_dnum / 2}; }

  const SessionState& s = session.State();
  std::vector<std::vector<float>> spectra;  // as each Finish left the record
};

TEST(SeriesPlan, OnlyTheModesAveragingsAndCountsThatGoTogetherAreValid) {
  const struct {
    SeriesPlan plan;
    bool valid;
  } rows[] = {
      {{Mode::Single, SpectrumAveraging::None, 1}, true},
      {{Mode::Single, SpectrumAveraging::Rms, 1}, false},
      {{Mode::Average, SpectrumAveraging::Rms, 2}, true},
      {{Mode::Average, SpectrumAveraging::PeakHold, 1000}, true},
      {{Mode::Average, SpectrumAveraging::Rms, 1}, false},
      {{Mode::Average, SpectrumAveraging::Rms, 1001}, false},
      {{Mode::Average, SpectrumAveraging::Exponential, 10}, false},
      {{Mode::Average, SpectrumAveraging::None, 10}, false},
      {{Mode::Continuous, SpectrumAveraging::None, 1}, true},
      {{Mode::Continuous, SpectrumAveraging::Exponential, 2}, true},
      {{Mode::Continuous, SpectrumAveraging::Exponential, 1}, false},
      {{Mode::Continuous, SpectrumAveraging::PeakHold, 10}, false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.plan.Valid(), row.valid)
        << static_cast<int>(row.plan.mode) << " " << static_cast<int>(row.plan.averaging) << " " << row.plan.count;
  }
}

TEST_F(SessionSeriesTest, AnAverageFoldsEachAcquisitionInAndJournalsThemAsOneMeasurement) {
  EXPECT_THROW(session.BeginSeries({Mode::Average, SpectrumAveraging::Rms, 1}), std::invalid_argument);
  session.BeginSeries({Mode::Average, SpectrumAveraging::Rms, 3});
  UnitBench bench(kNoisySine, time);
  std::vector<std::int32_t> codes;
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(session.Series().Next().index, k);
    EXPECT_EQ(session.Series().Next().count, 3);
    ASSERT_TRUE(session.Series().WantsMore());
    ASSERT_EQ(session.Start(bench.adc, session.Series().Next()).outcome, StartOutcome::Started);
    ASSERT_EQ(PollToEnd(bench), PollOutcome::AllIn);
    // The acquisition's own spectrum, as Finish analyses it, is what is folded in.
    ASSERT_EQ(session.Finish(), FinishOutcome::Analysed);
    spectra.push_back(Spectrum());
    const std::vector<std::int32_t> own = Codes();
    codes.insert(codes.end(), own.begin(), own.end());
    EXPECT_EQ(s.curAverage, (SpectrumAverage{SpectrumAveraging::Rms, k + 1, 0, 3}));
    EXPECT_EQ(session.Series().Finished(), k + 1);
    ASSERT_NE(session.Series().Density(), nullptr);
    EXPECT_EQ(session.Series().Density()->Segments(), k + 1) << "the whole record: one segment each";
  }
  EXPECT_FALSE(session.Series().Running());
  EXPECT_FALSE(session.Series().WantsMore());
  EXPECT_TRUE(s.fDataValid);
  EXPECT_FALSE(s.fDataSaved);
  // Three acquisitions of noise differ, so the average is none of them; its sine line
  // keeps the sine's level.
  EXPECT_NE(Spectrum()[300], spectra[0][300]);
  EXPECT_NEAR(Spectrum()[128], spectra[0][128], 0.02F * spectra[0][128]);

  const auto journals = ListJournals(dir.path() / "state");
  ASSERT_EQ(journals.size(), 1U);
  const JournalRead read = ReadJournalFile(journals.front().path);
  ASSERT_TRUE(read.content);
  EXPECT_EQ(read.content->header.acquisitions, 3);
  EXPECT_EQ(read.content->end, JournalEnd::Finished);
  EXPECT_EQ(read.content->codes, codes) << "every acquisition, one after the other";
}

TEST_F(SessionSeriesTest, PeakHoldKeepsEachLinesLargestValue) {
  session.BeginSeries({Mode::Average, SpectrumAveraging::PeakHold, 2});
  UnitBench bench(kNoisySine, time);
  Acquire(bench);
  const std::vector<float> first = Spectrum();
  // The second acquisition's own lines are not kept by the record: the session's
  // average gives them; each held line is at least the first's, some above it.
  Acquire(bench);
  const std::vector<float> held = Spectrum();
  int above = 0;
  for (std::size_t k = 0; k < held.size(); ++k) {
    EXPECT_GE(held[k], first[k]) << k;
    if (held[k] > first[k]) ++above;
  }
  EXPECT_GT(above, 100);
  EXPECT_EQ(s.curAverage.kind, SpectrumAveraging::PeakHold);
}

// The end of an average in acquisition 3 of 5, in every way it can end there: the two
// finished acquisitions' average comes back, their last one's samples and start with it.
TEST_F(SessionSeriesTest, AnAverageEndedEarlyGivesBackTheFinishedAcquisitionsAverage) {
  const struct {
    const char* third;  // the unit of the third acquisition
    const char* why;
    // Ends the third acquisition; false when it was not the expected way.
    std::function<bool(UnitBench&)> end;
  } rows[] = {
      {kNoisySine, "stopped while acquiring",
       [this](UnitBench& bench) {
         if (session.Start(bench.adc, session.Series().Next()).outcome != StartOutcome::Started) return false;
         PollPartly(bench);
         session.Stop();
         return bench.AbortSent();
       }},
      {"fault=garble@100", "a garbled record",
       [this](UnitBench& bench) {
         if (session.Start(bench.adc, session.Series().Next()).outcome != StartOutcome::Started) return false;
         return PollToEnd(bench) == PollOutcome::ReadFailed;
       }},
      {"fault=silent", "no response",
       [this](UnitBench& bench) {
         return session.Start(bench.adc, session.Series().Next()).outcome == StartOutcome::NoResponse;
       }},
      {"fault=absent", "not found",
       [this](UnitBench& bench) {
         return session.Start(bench.adc, session.Series().Next()).outcome == StartOutcome::NotFound;
       }},
      {"ch0=dc:0.03", "the level",
       [this](UnitBench& bench) {
         if (session.Start(bench.adc, session.Series().Next()).outcome != StartOutcome::Started) return false;
         return PollToEnd(bench) == PollOutcome::AllIn && session.Finish() == FinishOutcome::LevelError;
       }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.why);
    spectra.clear();
    session.BeginSeries({Mode::Average, SpectrumAveraging::Rms, 5});
    UnitBench bench(kNoisySine, time);
    Acquire(bench);
    Acquire(bench);
    const std::vector<float> average = Spectrum();
    const std::vector<std::int32_t> codes = Codes();
    const std::string start = s.saveSetting.StartDateTime;
    const float deviation = s.codeDeviation;
    UnitBench third(row.third, time);
    ASSERT_TRUE(row.end(third));
    EXPECT_FALSE(session.Series().Running());
    EXPECT_TRUE(s.fDataValid);
    EXPECT_FALSE(s.fDataSaved);
    EXPECT_FALSE(s.fMeasuring);
    EXPECT_EQ(Codes(), codes) << "the second acquisition's samples";
    EXPECT_EQ(Spectrum(), average);
    EXPECT_EQ(s.curAverage, (SpectrumAverage{SpectrumAveraging::Rms, 2, 0, 5}));
    EXPECT_EQ(s.saveSetting.StartDateTime, start);
    EXPECT_EQ(s.codeDeviation, deviation);
    ExpectFlagsMatchRecords(row.why);
  }
}

TEST_F(SessionSeriesTest, AStopInTheFirstAcquisitionKeepsNothingAndLaterStopsDoNotRevive) {
  session.BeginSeries({Mode::Average, SpectrumAveraging::Rms, 3});
  UnitBench bench(kNoisySine, time);
  ASSERT_EQ(session.Start(bench.adc, session.Series().Next()).outcome, StartOutcome::Started);
  PollPartly(bench);
  session.Stop();
  EXPECT_FALSE(s.fDataValid) << "as a measurement's stop";

  // A finished average, then its record dropped: a stop while idle (a close) brings
  // nothing back.
  session.BeginSeries({Mode::Average, SpectrumAveraging::Rms, 2});
  Acquire(bench);
  Acquire(bench);
  ASSERT_TRUE(session.Data().NewDataFile(Path("next.DTA")));
  session.Stop();
  EXPECT_FALSE(s.fDataValid);
  EXPECT_EQ(s.curAverage.kind, SpectrumAveraging::None);
}

TEST_F(SessionSeriesTest, ContinuousMeasurementsAreEachTheirOwnWithAnOptionalExponentialAverage) {
  session.BeginSeries({Mode::Continuous, SpectrumAveraging::Exponential, 2});
  UnitBench bench(kNoisySine, time);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(session.Series().Next().index, 0) << "a measurement of its own for the journal";
    EXPECT_EQ(session.Series().Next().count, 1);
    Acquire(bench);
    EXPECT_TRUE(session.Series().WantsMore());
  }
  EXPECT_EQ(s.curAverage, (SpectrumAverage{SpectrumAveraging::Exponential, 3, 2, 0}));
  EXPECT_EQ(ListJournals(dir.path() / "state").size(), 1U) << "each finished one replaces the one before";
  // A settings change that analyses the samples again gives their own spectrum back.
  FftSetting fft = s.fftSetting;
  fft.whichWindowFunc = fft.whichWindowFunc == 0 ? 1 : 0;
  session.Settings().ApplyMeasureSettings(fft, s.saveSetting);
  EXPECT_EQ(s.curAverage.kind, SpectrumAveraging::None);

  session.BeginSeries({Mode::Continuous, SpectrumAveraging::None, 1});
  Acquire(bench);
  EXPECT_EQ(s.curAverage.kind, SpectrumAveraging::None) << "without an average: the measurement's own";
  ASSERT_EQ(session.Start(bench.adc, session.Series().Next()).outcome, StartOutcome::Started);
  PollPartly(bench);
  session.Stop();
  EXPECT_TRUE(s.fDataValid) << "the stop keeps the last finished one";
}

TEST_F(SessionSeriesTest, TheDensityAveragesSegmentsOfTheLengthSetOverEveryAcquisition) {
  for (const int bad : {1, 3, 100, 2 * kMaxSamples}) {
    EXPECT_THROW(session.SetDensitySegmentLength(bad), std::invalid_argument) << bad;
  }
  session.SetDensitySegmentLength(256);
  session.BeginSeries({Mode::Average, SpectrumAveraging::Rms, 2});
  UnitBench bench(kNoisySine, time);
  Acquire(bench);
  Acquire(bench);
  const WelchDensity& density = *session.Series().Density();
  EXPECT_EQ(density.Segments(), 2 * 7) << "1 + (1024 − 256) / 128 per record";
  EXPECT_DOUBLE_EQ(density.DeltaF(), 4800.0 / 256);
  // The converter's noise at 4.8 ksps and gain 128 is tens of nV/√Hz; the line under
  // the sine stands far above it.
  const std::vector<double> lines = density.Density();
  EXPECT_GT(lines[32], 100 * lines[80]) << "600 Hz on line 32 of 18.75 Hz";

  session.SetDensitySegmentLength(4096);  // longer than the record: the record whole
  session.BeginSeries({});
  Acquire(bench);
  EXPECT_EQ(session.Series().Density()->Lines(), 512);
}

// The averaged density is offered only while the current measurement is the one the
// series left.
TEST_F(SessionSeriesTest, TheAveragedDensityGoesWithTheMeasurementItDescribes) {
  UnitBench bench(kNoisySine, time);
  Measure();
  EXPECT_EQ(session.AveragedDensity(), nullptr) << "a measurement without a series (the command line)";
  session.BeginSeries({Mode::Average, SpectrumAveraging::Rms, 3});
  Acquire(bench);
  ASSERT_EQ(session.Start(bench.adc, session.Series().Next()).outcome, StartOutcome::Started);
  EXPECT_EQ(session.AveragedDensity(), nullptr) << "the record is being refilled";
  PollPartly(bench);
  session.Stop();
  ASSERT_NE(session.AveragedDensity(), nullptr) << "the finished one came back";
  EXPECT_EQ(session.AveragedDensity()->Segments(), 1);
  ASSERT_EQ(session.Data().ExportData(Path("kept.DTA")), WriteResult::Written);

  const struct {
    const char* why;
    std::function<void()> change;
  } rows[] = {
      {"loaded over", [&] { ASSERT_EQ(session.Data().LoadData(Path("kept.DTA")), DataCommands::LoadOutcome::Loaded); }},
      {"analysed again",
       [&] {
         FftSetting fft = s.fftSetting;
         fft.fDCCut_FFT = fft.fDCCut_FFT == 0 ? 1 : 0;
         session.Settings().ApplyMeasureSettings(fft, s.saveSetting);
       }},
      {"dropped", [&] { ASSERT_TRUE(session.Data().NewDataFile(Path("next.DTA"))); }},
  };
  for (const auto& row : rows) {
    session.BeginSeries({});
    Acquire(bench);
    ASSERT_NE(session.AveragedDensity(), nullptr) << row.why;
    row.change();
    EXPECT_EQ(session.AveragedDensity(), nullptr) << row.why;
  }
}

}  // namespace
