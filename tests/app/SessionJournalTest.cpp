#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SessionTestSupport.h"
#include "app/JournalRecovery.h"
#include "files/Journal.h"
#include "files/PowerCutCalls.h"

namespace {

JournalContent Received(int samplesPerAcquisition, int acquisitions, int received) {
  JournalContent journal;
  journal.header.samples = samplesPerAcquisition;
  journal.header.acquisitions = acquisitions;
  journal.codes.assign(static_cast<std::size_t>(received), 0x800000);
  return journal;
}

TEST(RecoverDataFile, TheLargestPowerOfTwoPrefixOfTheLastAcquisitionThatHasOne) {
  const struct {
    const char* why;
    int per, acquisitions, received;
    RecoverablePart expected;
  } rows[] = {
      {"nothing received", 65536, 1, 0, {0, 0}},
      {"fewer than 1024", 65536, 1, 1023, {0, 0}},
      {"exactly 1024", 65536, 1, 1024, {0, 1024}},
      {"between powers of two", 65536, 1, 40000, {0, 32768}},
      {"all of it", 65536, 1, 65536, {0, 65536}},
      {"the running acquisition of an average", 4096, 3, 4096 + 2500, {4096, 2048}},
      {"the running one too short: the last finished one", 4096, 3, 2 * 4096 + 100, {4096, 4096}},
      {"an average of full acquisitions: the last", 2048, 2, 4096, {2048, 2048}},
  };
  for (const auto& r : rows) {
    const RecoverablePart part = DataFilePart(Received(r.per, r.acquisitions, r.received));
    EXPECT_EQ(part.first, r.expected.first) << r.why;
    EXPECT_EQ(part.count, r.expected.count) << r.why;
  }
}

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

TEST_F(SessionJournalTest, APowerCutKeepsTheSamplesUpToTheLastSyncAndTheyComeBackAsTheRecord) {
  PowerCutCalls calls;
  MeasurementSession cut{prompter, time.Clock(), [] { return kWallTime; }, calls};
  cut.SetJournalDirectory(dir.path() / "state");
  FftSetting fft = cut.State().fftSetting;
  fft.DataCountSel = 3;
  fft.DataCountMax = 8192;
  cut.Settings().ApplyMeasureSettings(fft, cut.State().saveSetting);
  UnitBench bench(kQuietSine, time);
  ASSERT_EQ(cut.Start(bench.adc).outcome, StartOutcome::Started);
  while (cut.SampleIndex() < 7500) {
    bench.clock.Advance(kPollStep);
    time.now += kPollStep;
    ASSERT_NE(cut.Poll(), PollOutcome::ReadFailed);
  }
  const int received = cut.SampleIndex();
  const std::vector<std::int32_t> held(cut.State().curData.adCode, cut.State().curData.adCode + received);
  calls.CutPower(cut.JournalPath());

  const JournalContent journal = Only();
  EXPECT_EQ(journal.end, JournalEnd::None);
  // Synced at most one interval (and one poll's records) before the cut.
  const std::size_t perInterval = 4800 * kJournalSyncInterval.count() / 1000 + 48;
  ASSERT_GE(journal.codes.size() + perInterval, static_cast<std::size_t>(received));
  ASSERT_GE(journal.codes.size(), 4096U);
  EXPECT_TRUE(std::equal(journal.codes.begin(), journal.codes.end(), held.begin())) << "as the unit sent them";

  // Recovered in another session (the next start): the largest power of two received.
  Measure();  // a measurement held before: replaced
  ASSERT_EQ(session.Data().RecoverJournal(journal), DataCommands::LoadOutcome::Loaded);
  const SessionState& state = session.State();
  EXPECT_TRUE(state.fDataValid);
  EXPECT_FALSE(state.fDataSaved) << "recovered, not saved";
  EXPECT_EQ(state.curData.ad_dnum, 4096);
  EXPECT_EQ(Held(0, 4096), std::vector<std::int32_t>(held.begin(), held.begin() + 4096));
  EXPECT_EQ(state.fftSetting.DataCountMax, 4096);
  EXPECT_EQ(state.fftSetting.DataCountSel, 2);
  EXPECT_EQ(state.saveSetting.StartDateTime, journal.header.save.StartDateTime);
  EXPECT_EQ(state.measAdSetting, journal.header.ad);
  EXPECT_GT(state.curData.deltaF, 0.0F) << "analysed";
  ExpectFlagsMatchRecords("recovered");
  // Saved to a data file: the journal, which holds more, stays.
  EXPECT_EQ(session.Data().SaveData(Path("recovered.DTA")).outcome, SaveOutcome::Written);
  EXPECT_TRUE(fs::exists(cut.JournalPath()));

  JournalContent tooShort = journal;
  tooShort.codes.resize(1023);
  ASSERT_EQ(session.Data().RecoverJournal(tooShort), DataCommands::LoadOutcome::Invalid);
  EXPECT_EQ(session.Data().LoadProblem(), "fewer than 1024 samples of one acquisition");
  EXPECT_EQ(state.curData.ad_dnum, 4096) << "nothing changed";
  EXPECT_TRUE(state.fDataSaved);
}

TEST_F(SessionJournalTest, TheJournalsOfferedAreThoseNoProgramFinishedOrWritesAndAJournalIsAskedAboutOnce) {
  const fs::path store = dir.path() / "state";
  fs::create_directories(store);
  UseSampleCount(2);  // 4096 samples
  const auto start = std::chrono::system_clock::from_time_t(1796850000);
  const std::vector<std::int32_t> codes(1500, 0x800000);
  std::vector<std::unique_ptr<JournalWriter>> writers;
  // One journal a minute apart, oldest first, left as each end leaves it.
  const auto journal = [&](int minute, std::optional<JournalEnd> end) {
    // Each look at the clock finds a sync due: the samples go out at once.
    auto writer = std::make_unique<JournalWriter>(
        SystemFileCalls(),
        [t = std::chrono::steady_clock::time_point{}]() mutable { return t += 2 * kJournalSyncInterval; });
    JournalHeader header{session.State().measAdSetting, session.State().fftSetting, session.State().saveSetting};
    header.samples = 4096;
    header.save.StartDateTime = "2026/12/09 21:0" + std::to_string(minute) + ":00";
    EXPECT_TRUE(writer->Open(NewJournalPath(store, start + std::chrono::minutes(minute)), header));
    writer->Append(codes);
    if (end) writer->End(*end);
    const std::string id = writer->Path().stem().string();
    writers.push_back(std::move(writer));
    return id;
  };
  const std::string stopped = journal(0, JournalEnd::Stopped);
  const std::string cutOld = journal(1, std::nullopt);
  journal(2, JournalEnd::Finished);
  const std::string failed = journal(3, JournalEnd::Failed);
  const std::string cutNew = journal(4, std::nullopt);
  const std::string running = journal(5, std::nullopt);
  // Every journal but the running one ends as a crash leaves it: closed, no end block.
  for (std::size_t i = 0; i + 1 < writers.size(); ++i) writers[i].reset();

  const auto ids = [](const std::vector<KeptJournal>& kept) {
    std::vector<std::string> names;
    for (const KeptJournal& k : kept) names.push_back(k.entry.id);
    return names;
  };
  EXPECT_EQ(ids(KeptJournals(store)), (std::vector<std::string>{cutNew, failed, cutOld, stopped}))
      << "newest first; neither the finished one nor the one being written";
  const auto asked = TakeUnendedJournal(store, SystemFileCalls());
  ASSERT_TRUE(asked);
  EXPECT_EQ(asked->entry.id, cutNew);
  EXPECT_EQ(asked->content.codes.size(), 1500U);
  EXPECT_FALSE(TakeUnendedJournal(store, SystemFileCalls())) << "the older cut one counts as asked too";
  EXPECT_EQ(ReadBytes(store / kAskedJournalsFile), cutOld + "\n" + cutNew + "\n");

  writers.back().reset();  // its program was killed
  const auto next = TakeUnendedJournal(store, SystemFileCalls());
  ASSERT_TRUE(next);
  EXPECT_EQ(next->entry.id, running);
  fs::remove(store / (cutOld + std::string(kJournalExtension)));
  journal(6, std::nullopt);
  writers.back().reset();
  ASSERT_TRUE(TakeUnendedJournal(store, SystemFileCalls()));
  EXPECT_EQ(ReadBytes(store / kAskedJournalsFile).find(cutOld), std::string::npos) << "only journals that exist";
  EXPECT_EQ(KeptJournals(store).size(), 5U) << "asked or not, all stay on offer";
}

}  // namespace
