#include <gtest/gtest.h>

#include <cstdlib>

#include "CaptureFile.h"
#include "TestPlatform.h"
#include "cli/Recover.h"
#include "files/FileTestSupport.h"

namespace {

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
