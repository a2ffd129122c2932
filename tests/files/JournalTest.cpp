#include <gtest/gtest.h>

#include <numeric>

#include "files/FileTestSupport.h"
#include "files/Journal.h"
#include "files/PowerCutCalls.h"

namespace {

using namespace std::chrono_literals;

struct FakeClock {
  std::chrono::steady_clock::time_point now{};
  JournalWriter::Clock Get() {
    return [this] { return now; };
  }
};

JournalHeader SampleHeader() {
  JournalHeader header;
  header.fft.DataCountSel = 0;
  header.fft.DataCountMax = 1024;
  header.fft.whichWindowFunc = 3;
  header.ad.spsSel = 10;
  header.save.StartDateTime = "2026/12/09 21:00:00";
  header.startUnix = 1796850000;
  header.samples = 1024;
  header.acquisitions = 2;
  return header;
}

std::vector<std::int32_t> Codes(int count, int first = 0) {
  std::vector<std::int32_t> codes(static_cast<std::size_t>(count));
  std::iota(codes.begin(), codes.end(), 0x800000 + first);
  return codes;
}

// A journal of `blocks` sample blocks of 100 codes each, ended with `end`.
std::string JournalBytes(const TempDir& dir, int blocks, JournalEnd end) {
  FakeClock clock;
  const fs::path path = dir / "j.zjournal";
  fs::remove(path);
  {
    JournalWriter writer(SystemFileCalls(), clock.Get());
    EXPECT_TRUE(writer.Open(path, SampleHeader()));
    for (int b = 0; b < blocks; ++b) {
      clock.now += kJournalSyncInterval;
      writer.Append(Codes(100, 100 * b));
    }
    if (end != JournalEnd::None) writer.End(end);
  }
  return ReadBytes(path);
}

TEST(Journal, RoundTripKeepsHeaderSamplesAndEnd) {
  TempDir dir;
  const JournalRead read = ReadJournal(JournalBytes(dir, 3, JournalEnd::Stopped));
  ASSERT_TRUE(read.content) << read.problem;
  const JournalHeader expected = SampleHeader();
  EXPECT_EQ(read.content->header.ad, expected.ad);
  EXPECT_EQ(read.content->header.fft, expected.fft);
  EXPECT_EQ(read.content->header.save, expected.save);
  EXPECT_EQ(read.content->header.startUnix, expected.startUnix);
  EXPECT_EQ(read.content->header.acquisitions, 2);
  EXPECT_EQ(read.content->codes, Codes(300));
  EXPECT_EQ(read.content->end, JournalEnd::Stopped);
  EXPECT_FALSE(read.content->damaged);
}

TEST(Journal, DamagedFilesAreRecoveredToTheLastWholeBlockOrRefused) {
  TempDir dir;
  const std::string whole = JournalBytes(dir, 3, JournalEnd::Finished);
  const std::string open = JournalBytes(dir, 3, JournalEnd::None);
  const std::size_t endBlock = 10;  // kind, length, one byte, CRC
  const std::size_t sampleBlock = 9 + 400;
  const std::size_t samplesStart = whole.size() - endBlock - 3 * sampleBlock;
  std::string badCrc = whole;
  badCrc[samplesStart + sampleBlock + 20] ^= 0x01;  // inside the second sample block
  std::string otherVersion = whole;
  otherVersion[8] = 2;
  std::string badHeader = whole;
  badHeader[30] ^= 0x40;
  struct Case {
    const char* why;
    std::string bytes;
    bool refused;
    std::size_t samples;
    JournalEnd end;
    bool damaged;
  };
  const Case cases[] = {
      {"whole", whole, false, 300, JournalEnd::Finished, false},
      {"no program ended it", open, false, 300, JournalEnd::None, false},
      {"cut in the end block", whole.substr(0, whole.size() - 3), false, 300, JournalEnd::None, true},
      {"cut in the third sample block", whole.substr(0, samplesStart + 2 * sampleBlock + 50), false, 200,
       JournalEnd::None, true},
      {"cut in a block's frame", whole.substr(0, samplesStart + 4), false, 0, JournalEnd::None, true},
      {"bad checksum: the blocks after it are not trusted", badCrc, false, 100, JournalEnd::None, true},
      {"empty", "", true, 0, JournalEnd::None, false},
      {"other format", "DataFile:Zemtra\r\n", true, 0, JournalEnd::None, false},
      {"other version", otherVersion, true, 0, JournalEnd::None, false},
      {"damaged header", badHeader, true, 0, JournalEnd::None, false},
      {"cut in the header", whole.substr(0, 40), true, 0, JournalEnd::None, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    WriteBytes(dir / "case.zjournal", c.bytes);
    if (!c.refused && !c.damaged) {
      EXPECT_EQ(ReadJournalEnd(dir / "case.zjournal"), c.end) << "the end read from the tail alone";
    }
    const JournalRead read = ReadJournal(c.bytes);
    ASSERT_EQ(!read.content, c.refused) << read.problem;
    if (c.refused) {
      EXPECT_FALSE(read.problem.empty());
      continue;
    }
    EXPECT_EQ(read.content->codes, Codes(static_cast<int>(c.samples)));
    EXPECT_EQ(read.content->end, c.end);
    EXPECT_EQ(read.content->damaged, c.damaged);
  }
  EXPECT_EQ(ReadJournal(otherVersion).problem, "the journal has version 2; this program reads version 1");
}

TEST(Journal, SamplesAreSyncedOncePerIntervalAndAPowerCutKeepsWhatWasSynced) {
  TempDir dir;
  FakeClock clock;
  PowerCutCalls calls;
  const fs::path path = dir / "cut.zjournal";
  JournalWriter writer(calls, clock.Get());
  ASSERT_TRUE(writer.Open(path, SampleHeader()));
  const auto headerOnly = fs::file_size(path);
  writer.Append(Codes(32));  // within the interval: held in memory
  clock.now += kJournalSyncInterval / 2;
  writer.Append(Codes(32, 32));
  EXPECT_EQ(fs::file_size(path), headerOnly);
  clock.now += kJournalSyncInterval / 2;
  writer.Tick();  // due: the 64 codes go out with one sync
  writer.Append(Codes(32, 64));
  clock.now += kJournalSyncInterval;
  writer.Append(Codes(32, 96));  // written and synced: 128 codes
  clock.now += kJournalSyncInterval / 4;
  writer.Append(Codes(32, 128));  // gathered only
  calls.CutPower(path);
  const JournalRead read = ReadJournalFile(path);
  ASSERT_TRUE(read.content) << read.problem;
  EXPECT_EQ(read.content->codes, Codes(128));
  EXPECT_EQ(read.content->end, JournalEnd::None);
}

TEST(Journal, AFullDiskEndsTheWritingWithItsError) {
  TempDir dir;
  FakeClock clock;
  PowerCutCalls calls;
  JournalWriter writer(calls, clock.Get());
  ASSERT_TRUE(writer.Open(dir / "full.zjournal", SampleHeader()));
  calls.FillDisk();
  clock.now += kJournalSyncInterval;
  writer.Append(Codes(10));
  EXPECT_TRUE(writer.Failed());
  EXPECT_EQ(writer.Error(), ENOSPC);
  EXPECT_FALSE(writer.IsOpen());
  writer.Append(Codes(10));  // after a failure: nothing, no crash
  writer.End(JournalEnd::Stopped);
  EXPECT_FALSE(JournalWriter(calls, clock.Get()).Open(dir / "missing" / "x.zjournal", SampleHeader()));
  EXPECT_FALSE(JournalWriter(calls, clock.Get()).Open(dir / "headless.zjournal", SampleHeader()));
  EXPECT_FALSE(fs::exists(dir / "headless.zjournal")) << "no journal without its header";
}

TEST(Journal, StoreListsOldestFirstAndPrunesByCountAndSize) {
  TempDir dir;
  const auto start = std::chrono::system_clock::from_time_t(1796850000);
  std::vector<fs::path> made;
  for (int i = 0; i < 4; ++i) {
    const fs::path path = NewJournalPath(dir.path(), start + std::chrono::seconds(i / 2));
    WriteBytes(path, std::string(static_cast<std::size_t>(100 * (i + 1)), 'x'));
    made.push_back(path);
  }
  WriteBytes(dir / "other.txt", "not a journal");
  EXPECT_EQ(made[1].filename(), fs::path(made[0].stem().string() + "-2.zjournal"));
  std::vector<std::string> ids;
  for (const auto& entry : ListJournals(dir.path())) ids.push_back(entry.id);
  ASSERT_EQ(ids.size(), 4U);
  EXPECT_EQ(ids.front(), made[0].stem().string());
  EXPECT_EQ(ids.back(), made[3].stem().string());
  PruneJournals(dir.path(), 3, 1'000'000);
  EXPECT_FALSE(fs::exists(made[0]));
  PruneJournals(dir.path(), 3, 600, made[1]);  // made[2] goes; made[1] is kept although oldest
  EXPECT_TRUE(fs::exists(made[1]));
  EXPECT_FALSE(fs::exists(made[2]));
  EXPECT_TRUE(fs::exists(made[3]));
  EXPECT_TRUE(fs::exists(dir / "other.txt"));
}

TEST(Journal, Crc32IsTheIeeeOne) { EXPECT_EQ(Crc32("123456789"), 0xCBF43926U); }

}  // namespace
