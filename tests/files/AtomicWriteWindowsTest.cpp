// The atomic writers against what Windows has of its own: the read-only attribute,
// and a target another program holds open.
#include <fstream>
#include <vector>

#include "AtomicWriteFixture.h"

namespace {

TEST_F(AtomicWrite, AReadOnlyFileIsNotReplaced) {
  WriteBytes(target, "old");
  fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  FileCalls real;
  for (Writer writer : kWriters) {
    EXPECT_FALSE(Save(writer, real)) << "writer " << writer;
    EXPECT_EQ(ReadBytes(target), "old") << "writer " << writer;
  }
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"target"}) << "no temporary file is left";
  fs::permissions(target, fs::perms::owner_all);
}

TEST_F(AtomicWrite, ReplacingKeepsNoTemporaryAndTheNewBytesWhole) {
  FileCalls real;
  for (Writer writer : kWriters) {
    WriteBytes(target, "old");
    ASSERT_TRUE(Save(writer, real)) << "writer " << writer;
    EXPECT_NE(ReadBytes(target), "old") << "writer " << writer;
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"target"}) << "writer " << writer;
  }
}

}  // namespace
