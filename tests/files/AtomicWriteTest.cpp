#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <memory>

#include "FileTestSupport.h"
#include "ScriptedPrompter.h"
#include "files/Myfile.h"

namespace {

// The real calls with one of them made to fail, or made awkward but workable.
class FaultyCalls : public FileCalls {
 public:
  enum class Fault { FailWriteAfter, WriteReturnsZero, ShortWrites, InterruptOnce, FailSync, FailRename };

  FaultyCalls(Fault fault, std::size_t after = 0) : fault_(fault), after_(after) {}

  ssize_t Write(int fd, const char* data, std::size_t size) override {
    switch (fault_) {
      case Fault::FailWriteAfter:
        if (written_ + size > after_) {
          // Part of the bytes land, then the disk is full.
          const std::size_t part = after_ - written_;
          written_ = after_;
          if (part > 0) return FileCalls::Write(fd, data, part);
          errno = ENOSPC;
          return -1;
        }
        break;
      case Fault::WriteReturnsZero:
        return 0;
      case Fault::ShortWrites:
        size = std::min<std::size_t>(size, 1000);
        break;
      case Fault::InterruptOnce:
        if (!interrupted_) {
          interrupted_ = true;
          errno = EINTR;
          return -1;
        }
        break;
      default:
        break;
    }
    written_ += size;
    return FileCalls::Write(fd, data, size);
  }
  int Sync(int fd) override {
    if (fault_ == Fault::FailSync) {
      errno = EIO;
      return -1;
    }
    return FileCalls::Sync(fd);
  }
  int Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
    if (fault_ == Fault::FailRename) {
      errno = EXDEV;
      return -1;
    }
    return FileCalls::Rename(from, to);
  }

 private:
  Fault fault_;
  std::size_t after_;
  std::size_t written_ = 0;
  bool interrupted_ = false;
};

using Fault = FaultyCalls::Fault;

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

class AtomicWrite : public testing::Test {
 protected:
  void SetUp() override {
    buffers->Bind(data);
    data.ad_dnum = 65536;  // more than one buffer of bytes, so writing fails midway
    data.deltaF = 0.5F;
    for (int i = 0; i < data.ad_dnum; ++i) data.volt[i] = static_cast<float>(i) * 1e-6F;
  }
  enum Writer { kSettings, kData, kSpectrum };
  static constexpr Writer kWriters[] = {kSettings, kData, kSpectrum};

  // One writer into the target, agreeing to replace it.
  bool Save(Writer writer, FileCalls& calls) {
    TmyFile file(prompter, calls);
    SaveSetting save;
    save.DataFileName = target.string();
    prompter.answers = {true};
    switch (writer) {
      case kSettings:
        return file.SaveSettingFile(target, kSettingFileHeader, fft, save, ad);
      case kData:
        return file.SaveDataFile(kDataFileHeader, ad, data, fft, save) == WriteResult::Written;
      case kSpectrum:
        return file.SaveFftFile(kFftFileHeader, ad, data, fft, save) == WriteResult::Written;
    }
    return false;
  }

  TempDir dir;
  fs::path target = dir / "target";
  ScriptedPrompter prompter;
  std::unique_ptr<MeasureBuffers> buffers = std::make_unique<MeasureBuffers>();
  MeasureData data;
  AdUnitSetting ad;
  FftSetting fft;
};

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
