// The commands run in the test's process, where the operating system can be made to
// fail through the file-calls seam: a full disk, a lost report.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "CaptureFile.h"
#include "PictureSupport.h"
#include "ScratchState.h"
#include "ScriptedPrompter.h"
#include "TestPlatform.h"
#include "cli/Commands.h"
#include "files/FileTestSupport.h"
#include "files/FlatDataFile.h"
#include "files/Myfile.h"

namespace {

// A disk that takes no byte.
class FullDisk : public FileCalls {
 public:
  ssize_t Write(int /*fd*/, const char* /*data*/, std::size_t /*size*/) override {
    errno = ENOSPC;
    return -1;
  }
};

class CliCommands : public ::testing::Test {
 protected:
  int Run(const std::vector<std::string>& args) {
    const CliParse parse = ParseCommandLine(args);
    EXPECT_EQ(parse.error, "");
    io.out = out.File();
    io.err = err.File();
    return RunCommand(parse.options, io);
  }
  std::string Path(const std::string& name) const { return (dir / name).string(); }

  // A settings file with the given save settings, 1024 samples.
  void WriteSettings(const std::string& name, const SaveSetting& save) {
    FftSetting fft;
    fft.DataCountSel = 0;
    fft.DataCountMax = 1024;
    ASSERT_TRUE(file.SaveSettingFile(dir / name, kSettingFileHeader, fft, save, AdUnitSetting{}));
  }

  TempDir dir;
  ScriptedPrompter prompter;
  TmyFile file{prompter};
  CaptureFile out;
  CaptureFile err;
  CliIo io;
};

TEST_F(CliCommands, OnAFullDiskEveryFileIsAttemptedAndEveryOldFileStays) {
  if (!kCliDrawsPictures) GTEST_SKIP() << kNoPictures;
  SaveSetting save;
  save.fSaveDataFile = 1;
  save.DataFileName = Path("auto.DTA");
  WriteSettings("auto.prf", save);
  const std::vector<std::string> outputs{"auto.DTA", "run.DTA", "run.FFT", "run.png", "run.pdf",
                                         "nsd.csv",  "nsd.png", "s.csv",   "sp.csv"};
  for (const auto& name : outputs) WriteBytes(dir / name, "old");
  FullDisk disk;
  io.fileCalls = &disk;

  const int exit = Run({"measure", "--simulate=clock=virtual", "--settings", Path("auto.prf"), "--out", Path("run.DTA"),
                        "--fft", Path("run.FFT"), "--png", Path("run.png"), "--pdf", Path("run.pdf"), "--nsd",
                        Path("nsd.csv"), "--nsd-png", Path("nsd.png"), "--csv", Path("s.csv"), "--spectrum-csv",
                        Path("sp.csv"), "--yes", "--json"});
  EXPECT_EQ(exit, 6) << err.Text();
  const std::string json = out.Text();
  // Each one names the system's reason, whichever writer it went through.
  for (const char* kind : {"autosave", "data", "fft", "png", "pdf", "nsd", "nsd_png", "csv", "spectrum_csv"}) {
    const std::string entry = std::string("\"") + kind + "\":{\"path\":";
    const auto at = json.find(entry);
    ASSERT_NE(at, std::string::npos) << kind << " in " << json;
    const std::string entryText = json.substr(at, json.find('}', at) - at);
    EXPECT_NE(entryText.find(R"("written":false,"reason":"No space left on device")"), std::string::npos) << entryText;
  }
  EXPECT_EQ(json.find("\"written\":true"), std::string::npos) << json;
  for (const auto& name : outputs) EXPECT_EQ(ReadBytes(dir / name), "old") << name;
  EXPECT_EQ(dir.Entries().size(), outputs.size() + 1) << "the old files and the settings, no temporary file";
  const std::string messages = err.Text();
  for (const char* text :
       {"データ保存できませんでした", "FFTデータ保存できませんでした", "run.png", "印刷できませんでした",
        "the noise density could not be written", "the picture of the noise density could not be written"}) {
    EXPECT_NE(messages.find(text), std::string::npos) << text << " in " << messages;
  }
  EXPECT_NE(messages.find("zemtra-cli: FFTデータ保存できませんでした: " + Path("run.FFT") + " (No space left on device)\n"),
            std::string::npos)
      << messages;
  for (std::size_t line = 0; line < messages.size(); line = messages.find('\n', line) + 1) {
    EXPECT_EQ(messages.compare(line, 12, "zemtra-cli: "), 0) << messages.substr(line, 60);
  }
}

TEST_F(CliCommands, BytesFromFilesCannotCutTheReportShortNorDriveTheTerminal) {
  SaveSetting save;
  save.DataFileName = std::string("run\x1b[2J", 7);
  save.StartDateTime = std::string("2026/12/08\0 later", 17);
  WriteSettings("odd.prf", save);
  ASSERT_EQ(Run({"settings", Path("odd.prf")}), 0) << err.Text();
  const std::string fields = out.Text();
  EXPECT_NE(fields.find("DataFileName: run\\x1b[2J\n"), std::string::npos) << fields;
  EXPECT_NE(fields.find("StartDateTime: 2026/12/08\\x00 later\n"), std::string::npos) << fields;
  EXPECT_NE(fields.find("DataCountMax: 1024\n"), std::string::npos) << "the lines after it stay";

  // The same bytes in a data file's start time, and a spectrum file named with an ESC.
  if (!NameAllowed(dir.path(), "s\x1b.FFT")) GTEST_SKIP() << "this system refuses control characters in file names";
  ASSERT_EQ(WriteFlatDataFile(file, Path("odd.DTA"), 1024, 4.6875F, {}, save), WriteResult::Written);
  CaptureFile report;
  io.out = report.File();
  const CliParse parse = ParseCommandLine({"analyze", Path("odd.DTA"), "--fft", Path("s\x1b.FFT")});
  ASSERT_EQ(RunAnalyze(parse.options, io), 0) << err.Text();
  const std::string text = report.Text();
  EXPECT_NE(text.find("start: 2026/12/08\\x00 later\n"), std::string::npos) << text;
  EXPECT_NE(text.find("wrote " + Path("s") + "\\x1b.FFT\n"), std::string::npos) << text;
  EXPECT_TRUE(fs::exists(dir / "s\x1b.FFT")) << "the file itself has the bytes given";
}

TEST_F(CliCommands, PicturesWithoutQtAreRefusedBeforeAnyWork) {
  if (kCliDrawsPictures) GTEST_SKIP() << "this build draws pictures";
  for (const char* option : {"--png", "--pdf", "--nsd-png", "--histogram-png", "--allan-png"}) {
    EXPECT_EQ(Run({"measure", "--simulate=clock=virtual", "--samples", "1024", "--out", Path("never.DTA"), option,
                   Path("picture")}),
              kExitUsage)
        << option;
    EXPECT_FALSE(fs::exists(dir / "never.DTA")) << option << ": nothing is measured";
  }
  EXPECT_NE(err.Text().find("--allan-png needs the Qt widgets"), std::string::npos) << err.Text();
}

TEST_F(CliCommands, AReportThatCannotBeWrittenIsAFailure) {
  WriteSettings("good.prf", SaveSetting{});
  std::FILE* full = OpenFullDevice();
  if (full == nullptr) GTEST_SKIP() << "this system has no device that is always full";
  io.out = full;
  io.err = err.File();
  const CliParse parse = ParseCommandLine({"settings", Path("good.prf")});
  EXPECT_EQ(RunSettings(parse.options, io), 74);
  std::fclose(full);
  EXPECT_NE(err.Text().find("the report could not be written"), std::string::npos) << err.Text();
}

}  // namespace
