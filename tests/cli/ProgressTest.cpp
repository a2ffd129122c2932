#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "CaptureFile.h"
#include "cli/CliPrompter.h"
#include "cli/Progress.h"

namespace {

using Capture = CaptureFile;

TEST(Progress, OneLineEveryTenPercentWithoutATerminal) {
  Capture out;
  Progress progress(1000, 100.0, false, out.File());
  for (int done = 32; done < 1000; done += 32) progress.Update(done);
  progress.Update(1000);
  const auto text = out.Text();
  EXPECT_NE(text.find("zemtra-cli: 10% (128/1000 samples, 0:00:09 left)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("zemtra-cli: 100% (1000/1000 samples, 0:00:00 left)\n"), std::string::npos);
  int lines = 0;
  for (char c : text) lines += c == '\n';
  EXPECT_EQ(lines, 10);
}

TEST(Progress, TimeLeftFollowsTheRecordsThatArrived) {
  using namespace std::chrono_literals;
  std::chrono::steady_clock::time_point now{};
  Capture out;
  Progress progress(1000, 100.0, false, out.File(), [&now] { return now; });
  progress.Update(100);  // at once: the nominal rate is all there is
  now += 20s;            // a trickling unit: 200 records in 20 s, not the nominal 2 s
  progress.Update(200);
  const auto text = out.Text();
  EXPECT_NE(text.find("10% (100/1000 samples, 0:00:09 left)"), std::string::npos) << text;
  EXPECT_NE(text.find("20% (200/1000 samples, 0:01:20 left)"), std::string::npos) << text;
}

TEST(Progress, TheBarFitsTheTerminalAndFollowsItsWidth) {
  int columns = 64;
  Capture out;
  Progress progress(4096, 5.0, true, out.File(), std::chrono::steady_clock::now, [&columns] { return columns; });
  progress.Update(2048);
  progress.Update(2048);  // same percentage, same width: nothing new
  const char* const kSixtyFour = "\rzemtra-cli: [######.......] 2048/4096 samples 50%, 0:06:50 left\x1b[K";
  EXPECT_EQ(out.Text(), kSixtyFour) << "63 columns: the last one stays free, so nothing wraps";
  const struct {
    int columns;
    const char* line;  // what the redraw at 50 % shows
  } rows[] = {
      {50, "\rzemtra-cli: 2048/4096 samples 50%, 0:06:50 left\x1b[K"},  // too narrow for a bar: it goes
      {30, "\rzemtra-cli: 50%, 0:06:50 left\x1b[K"},                    // then the counts
      {10, "\rzemtra-cl\x1b[K"},                                         // then the end of the line
      {0, "\rzemtra-cli: [##############...............] 2048/4096 samples 50%, 0:06:50 left\x1b[K"},  // unknown: 80
  };
  for (const auto& r : rows) {
    const std::size_t before = out.Text().size();
    columns = r.columns;
    progress.Update(2048);
    EXPECT_EQ(out.Text().substr(before), r.line) << r.columns << " columns";
  }
  progress.Finish();
  EXPECT_EQ(out.Text().back(), '\n');
}

TEST(CliPrompter, OverwriteQuestion) {
  Capture err;
  Capture in;
  std::fputs("yes\nn\n", in.File());
  std::fflush(in.File());
  std::rewind(in.File());
  const int fd = fileno(in.File());
  EXPECT_TRUE(CliPrompter(true, false, fd, err.File()).AskYesNo("q", "Zemtra")) << "--yes";
  EXPECT_FALSE(CliPrompter(false, false, fd, err.File()).AskYesNo("q", "Zemtra")) << "no terminal: refused";
  EXPECT_TRUE(CliPrompter(false, true, fd, err.File()).AskYesNo("q", "Zemtra")) << "answered yes";
  EXPECT_FALSE(CliPrompter(false, true, fd, err.File()).AskYesNo("q", "Zemtra")) << "answered n";
  EXPECT_FALSE(CliPrompter(false, true, fd, err.File()).AskYesNo("q", "Zemtra")) << "end of input";
  CliPrompter(false, false, fd, err.File()).ShowMessage("計測エラーで終了", "Zemtra", MessageIcon::Error);
  EXPECT_NE(err.Text().find("計測エラーで終了\n"), std::string::npos);
}

TEST(CliPrompter, ASignalRefusesEvenWithYesAndTheQuestionShowsNoControlBytes) {
  Capture err;
  Interruption interruption;
  interruption.Raise(SIGTERM);
  EXPECT_FALSE(CliPrompter(true, true, STDIN_FILENO, err.File(), &interruption).AskYesNo("q", "Zemtra"));
  EXPECT_EQ(interruption.ExitCode(), 143);
  interruption.Raise(SIGINT);
  EXPECT_EQ(interruption.ExitCode(), 143) << "the first signal counts";

  CliPrompter(false, false, STDIN_FILENO, err.File())
      .AskYesNo("ファイル：a\x1b[2Jb があります。\n上書きしますか", "Zemtra");
  EXPECT_NE(err.Text().find("zemtra-cli: ファイル：a\\x1b[2Jb があります。\nzemtra-cli: 上書きしますか: no"),
            std::string::npos)
      << err.Text();
}

}  // namespace
