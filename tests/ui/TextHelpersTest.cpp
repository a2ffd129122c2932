#include <gtest/gtest.h>

#include "ui/TextHelpers.h"

namespace {

TEST(FileNameOf, TakesTheTextAfterTheLastSeparator) {
  EXPECT_EQ(FileNameOf(R"(D:\dir\name.DTA)"), "name.DTA");
  EXPECT_EQ(FileNameOf(R"(D:\dir\)"), "") << "separator is the last character";
  EXPECT_EQ(FileNameOf("name.DTA"), "") << "no separator";
  EXPECT_EQ(FileNameOf("/home/user/run1.DTA"), "run1.DTA") << "native separators";
  EXPECT_EQ(FileNameOf(""), "");
}

TEST(RemoveCrLf, DeletesEveryCarriageReturnAndLineFeed) {
  std::string text = "a\r\nb\rc\n\n";
  RemoveCrLf(text);
  EXPECT_EQ(text, "abc");
}

TEST(ShortenPath, PassesOfTheWorkedExample) {
  const std::string path = R"(D:\a\b\c\d.DTA)";
  EXPECT_EQ(ShortenPath(path, 14), path) << "not longer than the limit";
  EXPECT_EQ(ShortenPath(path, 0), path) << "limit 0 leaves it alone";
  EXPECT_EQ(ShortenPath(path, 14 + 1), path);
  EXPECT_EQ(ShortenPath(path, 13), R"(D:\a\...d.DTA)");
  EXPECT_EQ(ShortenPath(path, 10), R"(D:\....DTA)");
}

TEST(ShortenPath, EndsForEveryLimit) {
  const std::string path = R"(C:\Documents\measurements\2026\december\run1.DTA)";
  for (std::size_t limit = 1; limit <= path.size(); ++limit) {
    const auto shortened = ShortenPath(path, limit);
    if (limit >= 6) {
      EXPECT_LE(shortened.size(), limit) << limit;
    }
    EXPECT_FALSE(shortened.empty());
  }
  EXPECT_EQ(ShortenPath(path, 3), "C:\\...") << "small limits stop at six characters";
  EXPECT_EQ(ShortenPath("/home/user/data/run1.DTA", 32), "/home/user/data/run1.DTA");
}

TEST(ShortenPath, CountsCharactersNotBytesAndNeverSplitsOne) {
  const struct {
    const char* path;
    std::size_t limit;
    const char* shortened;
  } rows[] = {
      {"/評価用/計測/run1.DTA", 16, "/評価用/計測/run1.DTA"},  // 16 characters, 26 bytes: unchanged
      {"/評価用/計測/データ/run1.DTA", 16, "/評価用/...run1.DTA"},
      {"評価用データの長い名前です.DTA", 14, "評価用...前です.DTA"},  // no separator: head 3, tail from 11
      {"評価用データ", 5, "評価用..."},
  };
  for (const auto& r : rows) {
    const std::string shortened = ShortenPath(r.path, r.limit);
    EXPECT_EQ(shortened, r.shortened) << r.path;
    EXPECT_EQ(VisibleText(shortened), shortened) << "whole characters only: " << r.path;
  }
}

TEST(CutExtension, KeepsTheTextBeforeTheFirstPointOfTheFileName) {
  EXPECT_EQ(CutExtension("run1.DTA"), "run1");
  EXPECT_EQ(CutExtension("run1.old.DTA"), "run1");
  EXPECT_EQ(CutExtension("run1"), "run1");
  EXPECT_EQ(CutExtension(".DTA"), "");
  EXPECT_EQ(CutExtension("/home/j.smith/run1.DTA"), "/home/j.smith/run1") << "a dot in a directory is not cut";
  EXPECT_EQ(CutExtension(R"(D:\ver1.2\run1)"), R"(D:\ver1.2\run1)");
  EXPECT_EQ(CutExtension(R"(D:\data\run1.DTA)"), R"(D:\data\run1)");
}

TEST(NameHasDot, LooksOnlyAtTheLastComponent) {
  EXPECT_TRUE(NameHasDot("run1.dta"));
  EXPECT_FALSE(NameHasDot("run1"));
  EXPECT_FALSE(NameHasDot(R"(D:\ver1.2\run1)")) << "a '.' in a directory";
  EXPECT_FALSE(NameHasDot("/home/j.smith/run1"));
  EXPECT_TRUE(NameHasDot("/home/j.smith/run1.DTA"));
  EXPECT_FALSE(NameHasDot("/data.d/")) << "no file name";
}

TEST(HexChar, DigitsAndOutOfRange) {
  EXPECT_EQ(HexChar(0), "0");
  EXPECT_EQ(HexChar(9), "9");
  EXPECT_EQ(HexChar(10), "A");
  EXPECT_EQ(HexChar(15), "F");
  EXPECT_EQ(HexChar(16), "X");
  EXPECT_EQ(HexChar(-1), "X");
}

TEST(VisibleText, EscapesWhatCouldCutOrDriveATerminal) {
  using namespace std::string_literals;
  const struct {
    std::string text;
    std::string shown;
  } rows[] = {
      {"D:\\data\\run1.DTA", "D:\\data\\run1.DTA"},  // backslashes are kept: Windows paths stay readable
      {"2026/12/08\0 x"s, "2026/12/08\\x00 x"},
      {"a\x1b[31mb\x7f", "a\\x1b[31mb\\x7f"},
      {"line\nnext\ttab", "line\\x0anext\\x09tab"},
      {"計測 Δｆ", "計測 Δｆ"},  // UTF-8 passes
      {"\xc2\x9b"
       "2J",
       "\\xc2\\x9b2J"},                    // the C1 control CSI, in UTF-8
      {"\x82\xa0.DTA", "\\x82\\xa0.DTA"},  // Shift-JIS bytes: no UTF-8
      {"cut \xe8\xa8", "cut \\xe8\\xa8"},  // a sequence cut short
  };
  for (const auto& r : rows) EXPECT_EQ(VisibleText(r.text), r.shown) << r.shown;
  EXPECT_EQ(VisibleText("a\nb\x1b", true), "a\nb\\x1b") << "line feeds kept on request";
}

}  // namespace
