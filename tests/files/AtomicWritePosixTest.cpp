// The atomic writers against what only POSIX systems have: a user without power over
// a file, FIFOs, symbolic links and permission bits.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <vector>

#include "AtomicWriteFixture.h"

namespace {

// Runs body in a child process that holds no power over other users' files (root may
// write any file, so it becomes the unprivileged user first); true when body returned
// true there.
bool InUnprivilegedChild(const std::function<bool()>& body) {
  constexpr uid_t kNobody = 65534;
  const pid_t child = ::fork();
  if (child == 0) {
    const bool dropped = ::geteuid() != 0 || (::setgid(kNobody) == 0 && ::setuid(kNobody) == 0);
    ::_exit(dropped && body() ? 0 : 1);
  }
  int status = 0;
  return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(AtomicWrite, AReadOnlyFileIsNotReplaced) {
  WriteBytes(target, "old");
  fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  if (::geteuid() == 0) {
    // The unprivileged user owns the directory and the file, as a user would.
    ASSERT_EQ(::chown(dir.path().c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
  }
  for (Writer writer : kWriters) {
    const bool refused = InUnprivilegedChild([&] {
      FileCalls real;
      return !Save(writer, real) && ReadBytes(target) == "old";
    });
    EXPECT_TRUE(refused) << "writer " << writer;
  }
  EXPECT_EQ(ReadBytes(target), "old");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"target"});
}

TEST_F(AtomicWrite, ATargetThatIsNoRegularFileIsLeftAlone) {
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  fs::create_symlink(dir / "fifo", dir / "link");
  fs::create_directory(dir / "sub");
  FileCalls real;
  for (const char* name : {"fifo", "link", "sub"}) {
    target = dir / name;
    for (Writer writer : kWriters) EXPECT_FALSE(Save(writer, real)) << name << ", writer " << writer;
  }
  EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
  EXPECT_TRUE(fs::is_symlink(dir / "link"));
  EXPECT_TRUE(fs::is_empty(dir / "sub"));
  EXPECT_EQ(dir.Entries().size(), 3U) << "no temporary file is left";
}

TEST_F(AtomicWrite, KeepsPermissionsAndFollowsLinks) {
  WriteBytes(target, "old");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(target, dir / "link");
  TmyFile file(prompter);
  ASSERT_TRUE(file.SaveSettingFile(dir / "link", kSettingFileHeader, fft, SaveSetting{}, ad));
  EXPECT_TRUE(fs::is_symlink(dir / "link"));
  EXPECT_NE(ReadBytes(target), "old");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
