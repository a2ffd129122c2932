#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "FileTestSupport.h"
#include "ScriptedPrompter.h"
#include "files/Myfile.h"

namespace {

using Lines = std::vector<std::string>;
using Edit = std::function<void(Lines&)>;

const Lines kDefaultLines = {"Zemtraini",
                             "A:",
                             "spsSel:12",
                             "GainSel:5",
                             "Gain:128",
                             "vrefSel:0",
                             "vref:2.5",
                             "sinc3:0",
                             "buf_on:0",
                             "chop_on:0",
                             "ch_sel:0",
                             "AEND:",
                             "F:",
                             "fSaveDataFile:0",
                             "DataFileName:",
                             "StartDateTime:",
                             "FEND:",
                             "G:",
                             "fWaveGraph:1",
                             "fSig_Volt:0",
                             "fWinFuncAdjust:0",
                             "fDCCut_FFT:1",
                             "fDCCut_SigGraph:0",
                             "fLogGraph:1",
                             "fAbsoGraph:1",
                             "index_FreqS:0",
                             "index_FreqE:14",
                             "index_dB_max:2",
                             "index_dB_min:10",
                             "whichWindowFunc:1",
                             "PenColorGraph:255",
                             "PenColorMainAxis:8421504",
                             "PenColorSubAxis:12632256",
                             "PenColorRefGraph:8421504",
                             "DataCountSel:6",
                             "DataCountMax:65536",
                             "GEND:"};

// Records with every field away from its default.
struct Settings {
  FftSetting fft;
  SaveSetting save;
  AdUnitSetting ad;
};

Settings Marked() {
  Settings s;
  s.ad = {3, 2, 16, 1, 3.3F, 1, 1, 1, 1};
  s.save.fSaveDataFile = 1;
  s.save.DataFileName = "D:\\data\\\x83\x5c\xe8\xa8\x88\\run1.DTA";
  s.save.StartDateTime = "2026/12/08 19:30:05";
  s.fft = {0, 1, 1, 0, 1, 0, 0, 3, 9, 1, 15, 3, -1, 0x00FFFFFF, 0, 123456, 2, 4096};
  return s;
}

Lines Junk(int count, const std::string& text = "junk") { return Lines(static_cast<std::size_t>(count), text); }

Lines::iterator Find(Lines& lines, const std::string& line) {
  auto it = std::find(lines.begin(), lines.end(), line);
  if (it == lines.end()) ADD_FAILURE() << "no line " << line;
  return it;
}
Edit Replace(std::string from, std::string to) {
  return [=](Lines& l) { *Find(l, from) = to; };
}
Edit InsertBefore(std::string anchor, Lines extra) {
  return [=](Lines& l) { l.insert(Find(l, anchor), extra.begin(), extra.end()); };
}
Edit Erase(std::string line) {
  return [=](Lines& l) { l.erase(Find(l, line)); };
}
Edit TruncateAt(std::string line) {
  return [=](Lines& l) { l.erase(Find(l, line), l.end()); };
}
Edit Both(Edit a, Edit b) {
  return [=](Lines& l) { a(l), b(l); };
}

class SettingFile : public testing::Test {
 protected:
  bool Load(const std::string& text, Settings& s) {
    WriteBytes(dir / "case.prf", text);
    return file.LoadSettingFile(dir / "case.prf", kSettingFileHeader, s.fft, s.save, s.ad);
  }
  static std::string Edited(const Edit& edit) {
    Lines lines = kDefaultLines;
    edit(lines);
    return JoinLines(lines);
  }

  TempDir dir;
  ScriptedPrompter prompter;
  TmyFile file{prompter};
};

TEST_F(SettingFile, DefaultsAreWrittenLineForLine) {
  const Settings defaults{};
  ASSERT_TRUE(file.SaveSettingFile(dir / "z.prf", kSettingFileHeader, defaults.fft, defaults.save, defaults.ad));
  EXPECT_EQ(ReadBytes(dir / "z.prf"), JoinLines(kDefaultLines));
  EXPECT_TRUE(prompter.questions.empty()) << "the settings writer never asks";
}

TEST_F(SettingFile, EveryFieldRoundTripsButTheFixedReference) {
  Settings written = Marked();
  written.save.DataFileName = "C:\\" + std::string(1000, 'p') + "\\run:1.DTA";  // longer than any old line buffer
  ASSERT_TRUE(file.SaveSettingFile(dir / "z.prf", kSettingFileHeader, written.fft, written.save, written.ad));
  Settings read{};
  ASSERT_TRUE(file.LoadSettingFile(dir / "z.prf", kSettingFileHeader, read.fft, read.save, read.ad));
  Settings expected = written;
  expected.ad.vrefSel = 0;
  expected.ad.vref = 2.5F;
  EXPECT_EQ(read.ad, expected.ad);
  EXPECT_EQ(read.save, expected.save);
  EXPECT_EQ(read.fft, expected.fft);
}

TEST_F(SettingFile, InvalidFilesLeaveTheRecordsUntouched) {
  const struct {
    const char* reason;
    Edit edit;
  } cases[] = {
      {"header with a trailing blank", Replace("Zemtraini", "Zemtraini ")},
      {"header in other letter case", Replace("Zemtraini", "ZEMTRAINI")},
      {"a data file's header", Replace("Zemtraini", "DataFile:Zemtra")},
      {"blank line before the header", InsertBefore("Zemtraini", {""})},
      {"blank after an integer", Replace("Gain:128", "Gain:128 ")},
      {"blank before an integer", Replace("Gain:128", "Gain: 128")},
      {"empty integer", Replace("spsSel:12", "spsSel:")},
      {"sign alone", Replace("spsSel:12", "spsSel:-")},
      {"integer beyond 32 bits", Replace("spsSel:12", "spsSel:4294967308")},
      {"spsSel 13", Replace("spsSel:12", "spsSel:13")},
      {"GainSel 6", Replace("GainSel:5", "GainSel:6")},
      {"Gain 0", Replace("Gain:128", "Gain:0")},
      {"Gain 129", Replace("Gain:128", "Gain:129")},
      {"ch_sel 2", Replace("ch_sel:0", "ch_sel:2")},
      {"sinc3 a word", Replace("sinc3:0", "sinc3:on")},
      {"sinc3 not a number", Replace("sinc3:0", "sinc3:nan")},
      {"buf_on infinite", Replace("buf_on:0", "buf_on:inf")},
      {"fSaveDataFile 2", Replace("fSaveDataFile:0", "fSaveDataFile:2")},
      {"fWaveGraph a word", Replace("fWaveGraph:1", "fWaveGraph:yes")},
      {"flag with a leading zero", Replace("fLogGraph:1", "fLogGraph:01")},
      {"whichWindowFunc 4", Replace("whichWindowFunc:1", "whichWindowFunc:4")},
      {"index_FreqS 15", Replace("index_FreqS:0", "index_FreqS:15")},
      {"DataCountSel 7", Replace("DataCountSel:6", "DataCountSel:7")},
      {"DataCountMax 1023", Replace("DataCountMax:65536", "DataCountMax:1023")},
      {"DataCountMax 65537", Replace("DataCountMax:65536", "DataCountMax:65537")},
      {"end index equal to the start index",
       Both(Replace("index_FreqS:0", "index_FreqS:5"), Replace("index_FreqE:14", "index_FreqE:5"))},
      {"start given after the end, at the end index",
       Both(Erase("index_FreqS:0"), InsertBefore("GEND:", {"index_FreqS:14"}))},
      {"file ends inside the A section", TruncateAt("AEND:")},
      {"file ends before the G section", TruncateAt("G:")},
      {"F section before the A section", [](Lines& l) { std::rotate(l.begin() + 1, l.begin() + 12, l.begin() + 17); }},
      {"A start marker after 20 other lines", InsertBefore("A:", Junk(20))},
      {"G body of 100 lines without its end marker", InsertBefore("GEND:", Junk(82))},
      {"a line longer than 64 KiB", Replace("DataFileName:", "DataFileName:" + std::string(70000, 'x'))},
      {"empty file", [](Lines& l) { l.clear(); }},
  };
  for (const auto& c : cases) {
    Settings s = Marked();
    EXPECT_FALSE(Load(Edited(c.edit), s)) << c.reason;
    const Settings untouched = Marked();
    EXPECT_TRUE(s.ad == untouched.ad && s.save == untouched.save && s.fft == untouched.fft) << c.reason;
  }
}

TEST_F(SettingFile, TolerantFormsLoad) {
  const struct {
    const char* reason;
    Edit edit;
    std::function<bool(const Settings&)> holds;
  } cases[] = {
      {"sinc3 2 means off", Replace("sinc3:0", "sinc3:2"), [](auto& s) { return s.ad.sinc3 == 0; }},
      {"sinc3 1.0 means on", Replace("sinc3:0", "sinc3:1.0"), [](auto& s) { return s.ad.sinc3 == 1; }},
      {"chop_on 1e0 means on", Replace("chop_on:0", "chop_on:1e0"), [](auto& s) { return s.ad.chop_on == 1; }},
      {"vref 5.0 still loads as 2.5", Replace("vref:2.5", "vref:5.0"), [](auto& s) { return s.ad.vref == 2.5F; }},
      {"a number too small for a double reads as 0", Replace("sinc3:0", "sinc3:1e-400"),
       [](auto& s) { return s.ad.sinc3 == 0; }},
      {"no reference lines give index 0 at 2.5 V", Both(Erase("vrefSel:0"), Erase("vref:2.5")),
       [](auto& s) { return s.ad.vrefSel == 0 && s.ad.vref == 2.5F; }},
      {"a missing key keeps the value held", Erase("Gain:128"), [](auto& s) { return s.ad.Gain == 16; }},
      {"start after the end, below it", Both(Erase("index_FreqS:0"), InsertBefore("GEND:", {"index_FreqS:13"})),
       [](auto& s) { return s.fft.index_FreqS == 13 && s.fft.index_FreqE == 14; }},
      {"dB indices have no range check",
       Both(Replace("index_dB_max:2", "index_dB_max:-7"), Replace("index_dB_min:10", "index_dB_min:99")),
       [](auto& s) { return s.fft.index_dB_max == -7 && s.fft.index_dB_min == 99; }},
      {"DataCountSel has no lower bound", Replace("DataCountSel:6", "DataCountSel:-3"),
       [](auto& s) { return s.fft.DataCountSel == -3; }},
      {"only the first colon splits", Replace("DataFileName:", "DataFileName:D:\\data\\run1.DTA"),
       [](auto& s) { return s.save.DataFileName == "D:\\data\\run1.DTA"; }},
      {"unknown keys and blank lines are ignored", InsertBefore("AEND:", {"", "noSuchKey:1", "no colon", "spsSel :1"}),
       [](auto& s) { return s.ad.spsSel == 12; }},
      {"start marker after 19 other lines", InsertBefore("A:", Junk(19)), [](auto& s) { return s.ad.spsSel == 12; }},
      {"comments count toward no limit", Both(InsertBefore("A:", Junk(19)), InsertBefore("A:", Junk(30, ";note"))),
       [](auto& s) { return s.ad.spsSel == 12; }},
      {"A body of 100 unknown lines ends at the limit",
       [](Lines& l) {
         l.erase(l.begin() + 2, l.begin() + 12);
         l.insert(l.begin() + 2, 100, "junk");
       },
       [](auto& s) { return s.ad.spsSel == 3 && s.ad.vref == 2.5F; }},
      {"F body of 100 unknown lines ends at the limit",
       [](Lines& l) {
         l.erase(Find(l, "fSaveDataFile:0"), Find(l, "G:"));
         l.insert(Find(l, "G:"), 100, "junk");
       },
       [](auto& s) { return s.save.fSaveDataFile == 1 && s.fft.DataCountMax == 65536; }},
      {"G end marker as the 100th body line", InsertBefore("GEND:", Junk(81)),
       [](auto& s) { return s.fft.DataCountMax == 65536; }},
      {"nothing after GEND: is read", [](Lines& l) { l.push_back(std::string(70000, 'x')); },
       [](auto& s) { return s.fft.DataCountMax == 65536; }},
  };
  for (const auto& c : cases) {
    Settings s = Marked();
    EXPECT_TRUE(Load(Edited(c.edit), s)) << c.reason;
    EXPECT_TRUE(c.holds(s)) << c.reason;
  }
}

TEST_F(SettingFile, LineFeedsCommentsAndAMissingLastLineEnd) {
  Settings s = Marked();
  ASSERT_TRUE(file.LoadSettingFile(fs::path(ZEMTRA_TEST_DATA) / "settings_lf_comments.prf", kSettingFileHeader, s.fft,
                                   s.save, s.ad));
  EXPECT_EQ(s.ad.spsSel, 7);
  EXPECT_EQ(s.ad.Gain, 64);
  EXPECT_EQ(s.save.DataFileName, "/home/user/run 1.DTA");
  EXPECT_EQ(s.save.StartDateTime, "");
  EXPECT_EQ(s.fft.DataCountMax, 1024);
}

TEST_F(SettingFile, DemonstrationSettingsShowDownTo180dBVInVolts) {
  Settings s = Marked();
  ASSERT_TRUE(file.LoadSettingFile(fs::path(ZEMTRA_TEST_DATA) / "../../dist/demo/demo.prf", kSettingFileHeader, s.fft,
                                   s.save, s.ad))
      << "scripts/run measures with this file";
  FftSetting expected;
  expected.index_dB_min = 20;
  expected.fSig_Volt = 1;
  EXPECT_EQ(s.fft, expected);
  EXPECT_EQ(s.save, SaveSetting{});
  EXPECT_EQ(s.ad, AdUnitSetting{});
}

TEST_F(SettingFile, WriterAndReaderArguments) {
  Settings s = Marked();
  EXPECT_FALSE(file.LoadSettingFile(dir / "absent.prf", kSettingFileHeader, s.fft, s.save, s.ad));
  EXPECT_FALSE(file.LoadSettingFile("", kSettingFileHeader, s.fft, s.save, s.ad));
  EXPECT_FALSE(file.SaveSettingFile("", kSettingFileHeader, s.fft, s.save, s.ad));
  EXPECT_FALSE(file.SaveSettingFile(dir / "z.prf", "", s.fft, s.save, s.ad));
  WriteBytes(dir / "z.prf", JoinLines(kDefaultLines));
  EXPECT_FALSE(file.LoadSettingFile(dir / "z.prf", "", s.fft, s.save, s.ad));
  EXPECT_FALSE(file.SaveSettingFile(dir / "z.prf", ";Zemtraini", s.fft, s.save, s.ad)) << "a header read as a comment";

  EXPECT_FALSE(file.LoadSettingFile(dir.path(), kSettingFileHeader, s.fft, s.save, s.ad)) << "a directory";

  // Text values that could not be read back whole: refuse, keep the old file.
  s.save.StartDateTime = "2026/12/08\r\nFEND:";
  EXPECT_FALSE(file.SaveSettingFile(dir / "z.prf", kSettingFileHeader, s.fft, s.save, s.ad)) << "line break";
  s = Marked();
  s.save.DataFileName.assign(LineReader::kMaxLineBytes, 'p');
  EXPECT_FALSE(file.SaveSettingFile(dir / "z.prf", kSettingFileHeader, s.fft, s.save, s.ad)) << "over the limit";
  EXPECT_EQ(ReadBytes(dir / "z.prf"), JoinLines(kDefaultLines));
  s.save.DataFileName.resize(LineReader::kMaxLineBytes - std::string("DataFileName:\r").size());
  EXPECT_TRUE(file.SaveSettingFile(dir / "z.prf", kSettingFileHeader, s.fft, s.save, s.ad)) << "at the limit";
  Settings back{};
  EXPECT_TRUE(file.LoadSettingFile(dir / "z.prf", kSettingFileHeader, back.fft, back.save, back.ad));
  EXPECT_EQ(back.save, s.save);
}

TEST_F(SettingFile, SettingsThatCouldNotBeReadBackAreNotWritten) {
  const struct {
    const char* reason;
    std::function<void(Settings&)> edit;
  } cases[] = {
      {"spsSel 13", [](Settings& s) { s.ad.spsSel = 13; }},
      {"GainSel 6", [](Settings& s) { s.ad.GainSel = 6; }},
      {"Gain 0", [](Settings& s) { s.ad.Gain = 0; }},
      {"ch_sel 2", [](Settings& s) { s.ad.ch_sel = 2; }},
      {"index_FreqS -1", [](Settings& s) { s.fft.index_FreqS = -1; }},
      {"index_FreqE 15", [](Settings& s) { s.fft.index_FreqE = 15; }},
      {"start index at the end index", [](Settings& s) { s.fft.index_FreqS = s.fft.index_FreqE; }},
      {"whichWindowFunc 4", [](Settings& s) { s.fft.whichWindowFunc = 4; }},
      {"DataCountSel 7", [](Settings& s) { s.fft.DataCountSel = 7; }},
      {"DataCountMax 1023", [](Settings& s) { s.fft.DataCountMax = 1023; }},
  };
  for (const auto& c : cases) {
    WriteBytes(dir / "z.prf", "old");
    Settings s = Marked();
    c.edit(s);
    EXPECT_FALSE(file.SaveSettingFile(dir / "z.prf", kSettingFileHeader, s.fft, s.save, s.ad)) << c.reason;
    EXPECT_EQ(ReadBytes(dir / "z.prf"), "old") << c.reason;
  }
  // Values the reader takes without a check are written as they are.
  Settings s = Marked();
  s.fft.index_dB_max = 12;
  s.fft.DataCountSel = -3;
  s.ad.vrefSel = 7;
  s.ad.sinc3 = 2;
  EXPECT_TRUE(file.SaveSettingFile(dir / "z.prf", kSettingFileHeader, s.fft, s.save, s.ad));
}

}  // namespace
