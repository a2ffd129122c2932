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
  EXPECT_NE(text.find("10% (128/1000 samples, 8.7 s left)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("100% (1000/1000 samples, 0.0 s left)\n"), std::string::npos);
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
  EXPECT_NE(text.find("10% (100/1000 samples, 9.0 s left)"), std::string::npos) << text;
  EXPECT_NE(text.find("20% (200/1000 samples, 80.0 s left)"), std::string::npos) << text;
}

TEST(Progress, BarOnATerminal) {
  Capture out;
  Progress progress(200, 100.0, true, out.File());
  progress.Update(100);
  progress.Update(100);  // same percentage: nothing new
  progress.Finish();
  EXPECT_EQ(out.Text(), "\r[###############...............] 100/200 samples  50%, 1.0 s left \n");
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
  EXPECT_NE(err.Text().find("ファイル：a\\x1b[2Jb があります。\n上書きしますか: no"), std::string::npos) << err.Text();
}

}  // namespace
