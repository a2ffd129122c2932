#include <string>
#include <vector>

#include "SessionTestSupport.h"
#include "files/Journal.h"

namespace {

using StartOutcome = MeasurementSession::StartOutcome;

class SessionJournalTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    session.SetJournalDirectory(dir.path() / "state");
  }

  std::vector<JournalEntry> Journals() const { return ListJournals(dir.path() / "state"); }

  JournalContent Only() const {
    const auto journals = Journals();
    EXPECT_EQ(journals.size(), 1U);
    if (journals.empty()) return {};
    JournalRead read = ReadJournalFile(journals.front().path);
    EXPECT_TRUE(read.content) << read.problem;
    return read.content.value_or(JournalContent{});
  }

  std::vector<std::int32_t> Held(int from, int count) const {
    const std::int32_t* codes = session.State().curData.adCode;
    return {codes + from, codes + from + count};
  }
};

TEST_F(SessionJournalTest, AFinishedMeasurementsJournalStaysUntilSavedOrReplaced) {
  Measure();
  JournalContent journal = Only();
  EXPECT_EQ(journal.end, JournalEnd::Finished);
  EXPECT_EQ(journal.codes, Held(0, 1024));
  EXPECT_EQ(journal.header.fft, session.State().fftSetting);
  EXPECT_EQ(journal.header.ad, session.State().measAdSetting);
  EXPECT_EQ(journal.header.save.StartDateTime, session.State().saveSetting.StartDateTime);
  EXPECT_EQ(journal.header.samples, 1024);

  Measure();  // replaces it: one journal, the new measurement's
  EXPECT_EQ(Only().codes, Held(0, 1024));
  // A data file of another measurement, loaded and saved, leaves the journal alone.
  SaveSetting other = session.State().saveSetting;
  other.StartDateTime = "2001/01/01 00:00:00";
  other.DataFileName = Path("other.DTA");
  ASSERT_EQ(TmyFile(prompter).SaveDataFile(kDataFileHeader, session.State().measAdSetting, session.State().curData,
                                           session.State().fftSetting, other),
            WriteResult::Written);
  ASSERT_EQ(session.Data().LoadData(Path("other.DTA")), DataCommands::LoadOutcome::Loaded);
  EXPECT_EQ(session.Data().ExportData(Path("copy.DTA")), WriteResult::Written);
  EXPECT_EQ(Journals().size(), 1U);
  Measure();
  EXPECT_EQ(session.Data().ExportData(Path("saved.DTA")), WriteResult::Written);
  EXPECT_TRUE(Journals().empty()) << "saved to a data file: no longer needed";
  EXPECT_TRUE(session.TakeJournalWarning().empty());
}

TEST_F(SessionJournalTest, AStopKeepsWhatWasReceivedAndAnAverageKeepsEveryAcquisition) {
  UnitBench bench(kQuietSine, time);
  ASSERT_EQ(session.Start(bench.adc, {0, 2}).outcome, StartOutcome::Started);
  ASSERT_EQ(PollToEnd(bench), PollOutcome::AllIn);
  ASSERT_EQ(session.Finish(), MeasurementSession::FinishOutcome::Analysed);
  const std::vector<std::int32_t> firstAcquisition = Held(0, 1024);
  EXPECT_EQ(Only().end, JournalEnd::None) << "the average goes on";

  ASSERT_EQ(session.Start(bench.adc, {1, 2}).outcome, StartOutcome::Started);
  for (int polls = 0; polls < 5; ++polls) {
    bench.clock.Advance(kPollStep);
    time.now += kPollStep;
    session.Poll();
  }
  const int received = session.SampleIndex();
  ASSERT_GT(received, 0);
  ASSERT_LT(received, 1024);
  const std::vector<std::int32_t> second = Held(0, received);
  session.Stop();
  JournalContent journal = Only();
  EXPECT_EQ(journal.end, JournalEnd::Stopped);
  EXPECT_EQ(journal.header.acquisitions, 2);
  std::vector<std::int32_t> expected = firstAcquisition;
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(journal.codes, expected);

  Measure();  // a stopped measurement's journal is kept beside the next one's
  EXPECT_EQ(Journals().size(), 2U);
}

TEST_F(SessionJournalTest, AnUnwritableStateDirectoryWarnsOnceAndTheMeasurementGoesOn) {
  WriteBytes(dir / "state", "a file where the directory should be");
  Measure();
  EXPECT_TRUE(session.State().fDataValid);
  const std::string warning = session.TakeJournalWarning();
  EXPECT_NE(warning.find("the journal could not be written"), std::string::npos) << warning;
  EXPECT_TRUE(session.TakeJournalWarning().empty()) << "one warning";
}

}  // namespace
