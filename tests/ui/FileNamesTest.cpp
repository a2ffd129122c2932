#include <gtest/gtest.h>

#include <filesystem>

#include "ui/FileNames.h"

namespace {

// Windows takes drive letters and '\' in paths; elsewhere they mark another platform's path.
constexpr bool kWindowsPaths = std::filesystem::path::preferred_separator == '\\';

TEST(FileNames, ExtensionsAreJudgedOnTheFileNameAlone) {
  const struct {
    std::string got;
    const char* expected;
    const char* reason;
  } rows[] = {
      {WithExtensionIfNoDot("run1", kFftExtension), "run1.FFT", "no dot at all"},
      {WithExtensionIfNoDot(R"(D:\data\run1)", kFftExtension), R"(D:\data\run1.FFT)", "a path without dots"},
      {WithExtensionIfNoDot("run1.txt", kFftExtension), "run1.txt", "another extension is kept"},
      {WithExtensionIfNoDot(R"(D:\ver1.2\run1)", kDataExtension), R"(D:\ver1.2\run1.DTA)", "a dotted directory"},
      {WithExtensionIfNoDot("/home/j.smith/cfg", kSettingExtension), "/home/j.smith/cfg.prf", "native separators"},
      {DataSaveName("run1"), "run1.DTA", "save: no dot"},
      {DataSaveName("run1.dta"), "run1.dta.DTA", "save: the extension is compared exactly"},
      {DataSaveName("run1.DTA"), "run1.DTA", "save: kept"},
      {DataSaveName(R"(D:\ver1.2\run1)"), R"(D:\ver1.2\run1.DTA)", "save: a dotted directory"},
      {ProposedSpectrumName(R"(D:\data\run1.DTA)"), R"(D:\data\run1.FFT)", "proposal"},
      {ProposedSpectrumName("/home/j.smith/run1.DTA"), "/home/j.smith/run1.FFT", "proposal, dotted directory"},
      {ProposedSpectrumName(""), "*.FFT", "proposal without a data file"},
      {DataNameOfSpectrum(R"(D:\out\noise.FFT)"), R"(D:\out\noise.DTA)", "the data file of a spectrum"},
      {DataNameOfSpectrum("/home/j.smith/noise.v2.FFT"), "/home/j.smith/noise.DTA", "cut at the name's first dot"},
      {DialogStartName("/data/run1.DTA", "*.DTA"), "/data/run1.DTA", "dialog: a path here"},
      {DialogStartName(R"(D:\data\run1.DTA)", "*.DTA"), kWindowsPaths ? R"(D:\data\run1.DTA)" : "run1.DTA",
       "dialog: a Windows path"},
      {DialogStartName("D:run1.DTA", "*.DTA"), kWindowsPaths ? "D:run1.DTA" : "*.DTA", "dialog: a drive-relative path"},
      {DialogStartName("", "*.DTA"), "*.DTA", "dialog: no name"},
      {PatternBeside("/home/cfg/a.prf", "*.prf"), "/home/cfg/*.prf", "beside: the file's directory"},
      {PatternBeside("/a.prf", "*.prf"), "/*.prf", "beside: the root"},
      {PatternBeside("a.prf", "*.prf"), "*.prf", "beside: no directory"},
      {PatternBeside("", "*.prf"), "*.prf", "beside: no file yet"},
      {PatternBeside(R"(D:\cfg\a.prf)", "*.prf"), kWindowsPaths ? R"(D:\cfg\*.prf)" : "*.prf", "beside: Windows separators"},
  };
  for (const auto& r : rows) EXPECT_EQ(r.got, r.expected) << r.reason;
}

TEST(FileNames, PathsOfAnotherPlatformAreNotUsableHere) {
  const struct {
    std::string path;
    bool usable;
  } rows[] = {
      {"/home/j.smith/run1.DTA", true},     {"run1.DTA", true},          {R"(D:\data\run1.DTA)", kWindowsPaths},
      {"D:/data/run1.DTA", kWindowsPaths},  {R"(data\run1.DTA)", kWindowsPaths}, {"", false},
      {std::string("run\0.DTA", 8), false},
  };
  for (const auto& r : rows) EXPECT_EQ(IsUsablePathHere(r.path), r.usable) << r.path;
}

}  // namespace
