#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli/CliPrompter.h"
#include "cli/Progress.h"

namespace {

// Collects what is written to a FILE*.
class Capture {
 public:
  Capture() : file_(std::tmpfile()) {}
  ~Capture() { std::fclose(file_); }
  Capture(const Capture&) = delete;
  Capture& operator=(const Capture&) = delete;
  std::FILE* File() { return file_; }
  std::string Text() {
    std::fflush(file_);
    std::rewind(file_);
    std::string text;
    for (int c = std::fgetc(file_); c != EOF; c = std::fgetc(file_)) text += static_cast<char>(c);
    return text;
  }

 private:
  std::FILE* file_;
};

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
  std::fputs("y\n", in.File());
  std::rewind(in.File());
  EXPECT_TRUE(CliPrompter(true, false, in.File(), err.File()).AskYesNo("q", "Zemtra")) << "--yes";
  EXPECT_FALSE(CliPrompter(false, false, in.File(), err.File()).AskYesNo("q", "Zemtra")) << "no terminal: refused";
  EXPECT_TRUE(CliPrompter(false, true, in.File(), err.File()).AskYesNo("q", "Zemtra")) << "answered y";
  EXPECT_FALSE(CliPrompter(false, true, in.File(), err.File()).AskYesNo("q", "Zemtra")) << "end of input";
  CliPrompter(false, false, in.File(), err.File()).ShowMessage("計測エラーで終了", "Zemtra", MessageIcon::Error);
  EXPECT_NE(err.Text().find("計測エラーで終了\n"), std::string::npos);
}

}  // namespace
