#include <gtest/gtest.h>

#include <cstdlib>

#include "CaptureFile.h"
#include "TestPlatform.h"
#include "cli/Recover.h"
#include "files/FileTestSupport.h"

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

TEST(Recover, NamesWhatItCannotUse) {
  TempDir state;
  const auto previous = Environment(StateDirectoryVariable());
  SetEnvironment(StateDirectoryVariable(), state.path().string());
  CaptureFile out;
  CaptureFile err;
  CliIo io;
  io.out = out.File();
  io.err = err.File();
  CliOptions options;
  options.command = CliCommand::Recover;
  EXPECT_EQ(RunRecover(options, io), kExitFile);
  EXPECT_NE(err.Text().find("no journal in "), std::string::npos) << err.Text();

  fs::create_directories(state / "zemtra");
  WriteBytes(state / "zemtra" / "20261209-210000.zjournal", std::string("ZMJRNL\r\n\x07\x00\x00\x00", 12));
  EXPECT_EQ(RunRecover(options, io), kExitFile);
  EXPECT_NE(err.Text().find("this program reads version 1"), std::string::npos) << err.Text();
  options.file = "20261209-220000";
  EXPECT_EQ(RunRecover(options, io), kExitFile);
  EXPECT_NE(err.Text().find("no journal '20261209-220000'"), std::string::npos) << err.Text();

  options = {};
  options.command = CliCommand::Recover;
  options.list = true;
  EXPECT_EQ(RunRecover(options, io), kExitOk);
  EXPECT_NE(out.Text().find("20261209-210000  unreadable: the journal has version 7"), std::string::npos) << out.Text();
  SetEnvironment(StateDirectoryVariable(), previous);
}

}  // namespace
