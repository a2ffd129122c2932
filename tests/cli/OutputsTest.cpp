// The table of a run's files: the same-file check and the writing of every entry.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string_view>

#include "TestPlatform.h"
#include "cli/Outputs.h"
#include "files/FileTestSupport.h"

namespace {

OutputFile Output(const std::string& role, const fs::path& path, std::function<WriteResult()> write = {}) {
  return {role, role.substr(2), path.string(), "could not be written", std::move(write)};
}

OutputFile ToStdout(const std::string& role) {
  OutputFile output = Output(role, "-");
  output.toStdout = true;
  return output;
}

TEST(CliOutputs, TwoNamesForOneFileAreFoundWhereverTheyPoint) {
  TempDir dir;
  WriteBytes(dir / "run.DTA", "data");
  fs::create_hard_link(dir / "run.DTA", dir / "hard.DTA");
  // Windows gives symbolic links only to privileged users; there the row that needs one is left out.
  std::error_code noLinks;
  fs::create_symlink(dir / "run.DTA", dir / "soft.DTA", noLinks);
  fs::create_directories(dir / "sub");
  const struct {
    const char* reason;
    std::vector<InputFile> inputs;
    std::vector<OutputFile> outputs;
    std::string conflict;  // empty: none
  } rows[] = {
      {"distinct new files",
       {{"the data file", (dir / "run.DTA").string()}},
       {Output("--out", dir / "a"), Output("--fft", dir / "b")},
       ""},
      {"one new file named twice",
       {},
       {Output("--out", dir / "a"), Output("--fft", dir / "sub/../a")},
       "--out and --fft name the same file: "},
      {"a picture onto the input",
       {{"the data file", (dir / "run.DTA").string()}},
       {Output("--fft", dir / "b"), Output("--png", dir / "hard.DTA")},
       "the data file and --png name the same file: "},
      {"through a symbolic link",
       {{"--settings", (dir / "soft.DTA").string()}},
       {Output("--out", dir / "run.DTA")},
       "--settings and --out name the same file: "},
      {"two outputs on stdout", {}, {ToStdout("--fft"), Output("--out", dir / "a"), ToStdout("--csv")},
       "--fft and --csv both write to the standard output"},
      {"stdout is no file named -",
       {{"the data file", (dir / "-").string()}},
       {ToStdout("--fft"), Output("--png", dir / "-")},
       "the data file and --png name the same file: "},
      {"two inputs may be one file",
       {{"the data file", (dir / "run.DTA").string()}, {"--settings", (dir / "soft.DTA").string()}},
       {Output("--out", dir / "a")},
       ""},
  };
  for (const auto& r : rows) {
    if (noLinks && std::string_view(r.reason) == "through a symbolic link") continue;
    const std::string conflict = SameFileConflict(r.inputs, r.outputs);
    if (r.conflict.empty()) {
      EXPECT_EQ(conflict, "") << r.reason;
    } else {
      EXPECT_EQ(conflict.rfind(r.conflict, 0), 0U) << r.reason << ": " << conflict;
    }
  }
}

TEST(CliOutputs, EveryFileIsAttemptedAndEachOutcomeKept) {
  TempDir dir;
  // Where there are no FIFOs, a directory is the output that is no regular file.
  fs::path special = dir / "fifo";
  if (!MakeFifo(special)) fs::create_directory(special);
  int attempts = 0;
  const auto counted = [&attempts](WriteResult result) {
    return [&attempts, result] {
      ++attempts;
      return result;
    };
  };
  const std::vector<OutputFile> outputs{
      Output("--out", dir / "a", counted(WriteResult::Failed)),
      Output("--fft", special, counted(WriteResult::Written)),
      Output("--png", dir / "c", counted(WriteResult::Declined)),
      Output("--pdf", dir / "d", counted(WriteResult::Written)),
  };
  std::FILE* err = std::tmpfile();
  const auto files = WriteOutputs(outputs, nullptr, err);
  std::fclose(err);
  ASSERT_EQ(files.size(), 4U);
  EXPECT_EQ(files[0].outcome, FileOutcome::Failed);
  EXPECT_EQ(files[1].outcome, FileOutcome::NotRegularFile) << "a special file is not asked about nor written";
  EXPECT_EQ(files[2].outcome, FileOutcome::Declined);
  EXPECT_EQ(files[3].outcome, FileOutcome::Written) << "a failure does not stop the files after it";
  EXPECT_EQ(attempts, 3);
  EXPECT_TRUE(AnyFileFailed(files));
  EXPECT_FALSE(AnyFileFailed({files[2], files[3]})) << "a kept file is no failure";

  // A signal during the second file's question: it and every later file stay unwritten.
  Interruption interruption;
  attempts = 0;
  const std::vector<OutputFile> interrupted{
      Output("--out", dir / "a", counted(WriteResult::Written)),
      Output("--fft", dir / "b",
             [&] {
               interruption.Raise(SIGINT);
               return counted(WriteResult::Declined)();
             }),
      Output("--png", dir / "c", counted(WriteResult::Written)),
  };
  err = std::tmpfile();
  const auto stopped = WriteOutputs(interrupted, &interruption, err);
  std::fclose(err);
  ASSERT_EQ(stopped.size(), 3U);
  EXPECT_EQ(stopped[0].outcome, FileOutcome::Written) << "written before the signal: it stays";
  EXPECT_EQ(stopped[1].outcome, FileOutcome::Interrupted);
  EXPECT_EQ(stopped[2].outcome, FileOutcome::Interrupted);
  EXPECT_EQ(attempts, 2);
}

}  // namespace
