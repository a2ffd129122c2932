#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "TestPlatform.h"
#include "files/LineReader.h"
#include "files/Myfile.h"

namespace {

using State = LineReader::State;

TEST(LineReader, PhysicalLinesWholeAndBounded) {
  const std::string longest(LineReader::kMaxLineBytes, 'y');
  const struct {
    const char* reason;
    std::string bytes;
    std::vector<std::string> lines;
    State end;
  } cases[] = {
      {"empty file", "", {}, State::End},
      {"CR LF keeps the CR, LF alone", "a\r\nb\n", {"a\r", "b"}, State::End},
      {"last line without a line end", "a\nb", {"a", "b"}, State::End},
      {"blank lines", "\n\n", {"", ""}, State::End},
      {"the longest line, across a read chunk", "ab\n" + longest + "\nx", {"ab", longest, "x"}, State::End},
      {"one byte too long", longest + "y\nx", {}, State::TooLong},
      {"too long without a line end", "a\n" + longest + "y", {"a"}, State::TooLong},
  };
  TempDir dir;
  for (const auto& c : cases) {
    WriteBytes(dir / "lines", c.bytes);
    LineReader in(dir / "lines");
    ASSERT_TRUE(in.IsOpen());
    std::vector<std::string> lines;
    for (std::string line; in.Next(line);) lines.push_back(line);
    EXPECT_EQ(lines, c.lines) << c.reason;
    EXPECT_EQ(in.state(), c.end) << c.reason;
  }
  LineReader absent(dir / "absent");
  EXPECT_FALSE(absent.IsOpen());
  std::string line;
  EXPECT_FALSE(absent.Next(line));
}

TEST(LineReader, OnlyRegularFilesAreOpened) {
  TempDir dir;
  std::vector<fs::path> special{dir.path()};
  // A FIFO without a writer would block an ordinary open for ever.
  const bool fifos = MakeFifo(dir / "fifo");
  if (fifos) {
    fs::create_symlink(dir / "fifo", dir / "link");
    special.insert(special.end(), {dir / "fifo", dir / "link", fs::path("/dev/null")});
  }
  for (const fs::path& path : special) {
    LineReader in(path);
    EXPECT_FALSE(in.IsOpen()) << path;
    EXPECT_EQ(in.state(), State::ReadError) << path;
  }
  if (fifos) {
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
  }
}

TEST(LineReader, MeaningfulLinesSkipCommentsAndLoseLineBreaks) {
  TempDir dir;
  WriteBytes(dir / "lines", ";comment\r\n\r\n a\rb\r\n;x\n ;kept\n");
  LineReader in(dir / "lines");
  std::vector<std::string> lines;
  for (std::string line; TmyFile::ReadLine(in, line);) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"", " ab", " ;kept"}));
}

}  // namespace
