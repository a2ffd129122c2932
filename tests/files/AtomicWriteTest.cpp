#include <vector>

#include "AtomicWriteFixture.h"
#include "LockedDirectory.h"

namespace {

TEST_F(AtomicWrite, AFailedWriteLeavesTheOldFileWhole) {
  const struct {
    const char* reason;
    Fault fault;
    std::size_t after;
  } cases[] = {
      {"the disk fills at once", Fault::FailWriteAfter, 0},
      {"the disk fills midway", Fault::FailWriteAfter, 300000},
      {"the disk fills after the settings sections", Fault::FailWriteAfter, 700},
      {"the system takes no bytes", Fault::WriteReturnsZero, 0},
      {"the sync fails", Fault::FailSync, 0},
      {"the rename fails", Fault::FailRename, 0},
  };
  for (const auto& c : cases) {
    for (Writer writer : kWriters) {
      // The settings file is shorter than the faults that strike midway.
      if (writer == kSettings && c.fault == Fault::FailWriteAfter && c.after > 0) continue;
      const std::string old = "old contents";
      WriteBytes(target, old);
      FaultyCalls calls(c.fault, c.after);
      EXPECT_FALSE(Save(writer, calls)) << c.reason << ", writer " << writer;
      EXPECT_EQ(ReadBytes(target), old) << c.reason << ", writer " << writer;
      EXPECT_EQ(dir.Entries(), std::vector<std::string>{"target"}) << c.reason << ": a temporary file is left";
    }
  }
}

TEST_F(AtomicWrite, ShortAndInterruptedWritesStillWriteEveryByte) {
  for (Writer writer : kWriters) {
    FileCalls real;
    ASSERT_TRUE(Save(writer, real));
    const std::string expected = ReadBytes(target);
    for (Fault fault : {Fault::ShortWrites, Fault::InterruptOnce}) {
      WriteBytes(target, "old");
      FaultyCalls calls(fault);
      EXPECT_TRUE(Save(writer, calls)) << "writer " << writer;
      EXPECT_EQ(ReadBytes(target), expected) << "writer " << writer;
    }
  }
}

TEST_F(AtomicWrite, ADirectoryThatCannotBeWrittenKeepsTheOldFile) {
  WriteBytes(target, "old");
  LockedDirectory lock(dir.path());
  if (!lock.Holds()) GTEST_SKIP() << "this system lets every process create files here";
  FileCalls real;
  for (Writer writer : kWriters) {
    EXPECT_FALSE(Save(writer, real)) << "writer " << writer;
    EXPECT_EQ(ReadBytes(target), "old") << "writer " << writer;
  }
}

}  // namespace
