#include <functional>
#include <optional>

#include "SessionTestSupport.h"
#include "app/Caption.h"
#include "files/FlatDataFile.h"
#include "files/LockedDirectory.h"

namespace {

using LoadOutcome = DataCommands::LoadOutcome;
using OpenOutcome = SettingsCommands::OpenOutcome;
using AutoSaveOutcome = DataCommands::AutoSaveOutcome;
using DefaultsOutcome = SettingsCommands::DefaultsOutcome;

// Everything a failed command must leave as it was.
struct Snapshot {
  explicit Snapshot(const SessionState& s)
      : flags{s.fDataValid, s.fDataSaved, s.fRefValid},
        counts{s.curData.ad_dnum, s.refData.ad_dnum},
        firstCode(s.curData.adCode[0]),
        firstLine(s.curData.spectrum[1]),
        meas(s.measAdSetting),
        ref(s.refAdSetting),
        fft(s.fftSetting),
        save(s.saveSetting) {}
  friend bool operator==(const Snapshot&, const Snapshot&) = default;

  std::array<bool, 3> flags;
  std::array<std::int32_t, 2> counts;
  std::int32_t firstCode;
  float firstLine;
  AdUnitSetting meas;
  AdUnitSetting ref;
  FftSetting fft;
  SaveSetting save;
};

class CommandsTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    Measure();
    ASSERT_EQ(session.Data().ExportData(Path("run.DTA")), WriteResult::Written);
  }

  // A measured, unsaved current measurement beside the reference run.DTA.
  void HoldUnsavedWithReference() {
    Measure();
    ASSERT_EQ(session.Data().LoadReference(Path("run.DTA")), LoadOutcome::Loaded);
  }

  // The measurement and display settings with one change, adopted.
  void ApplyFft(const std::function<void(FftSetting&)>& change) {
    FftSetting fft = session.State().fftSetting;
    change(fft);
    session.Settings().ApplyMeasureSettings(fft, session.State().saveSetting);
  }
  void ApplySave(const std::function<void(SaveSetting&)>& change) {
    SaveSetting save = session.State().saveSetting;
    change(save);
    session.Settings().ApplyMeasureSettings(session.State().fftSetting, save);
  }

  // Settings and data files the reader takes, but whose contents the session refuses.
  void WriteRefusedFiles() {
    TmyFile file(prompter);
    FftSetting fft;
    fft.DataCountMax = 1500;
    ASSERT_TRUE(file.SaveSettingFile(Path("odd.prf"), kSettingFileHeader, fft, {}, {}));
    FftSetting range;
    range.index_dB_max = 12;
    ASSERT_TRUE(file.SaveSettingFile(Path("range.prf"), kSettingFileHeader, range, {}, {}));
    ASSERT_EQ(WriteFlatDataFile(file, Path("odd.DTA"), 2000, 2.4F), WriteResult::Written);
    FftSetting deep;
    deep.index_dB_min = -2147483646;  // a bottom of 21474836480 dB
    ASSERT_EQ(WriteFlatDataFile(file, Path("range.DTA"), 1024, 2.4F, deep), WriteResult::Written);
    WriteBytes(Path("broken.DTA"), "DataFile:Zemtra\r\nnothing else\r\n");
  }
};

TEST_F(CommandsTest, FlagsAfterEachCommand) {
  ASSERT_EQ(session.Settings().SaveSettingFile(Path("good")).outcome, SaveOutcome::Written);
  const struct {
    const char* command;
    std::function<bool(MeasurementSession&)> run;  // false: the command did not succeed
    bool dataValid, dataSaved, refValid;
    std::optional<std::string> dataFileName;  // none: unchanged
  } rows[] = {
      {"new data file", [&](auto& s) { return s.Data().NewDataFile(Path("next")); }, false, false, true,
       Path("next.DTA")},
      {"data load", [&](auto& s) { return s.Data().LoadData(Path("run.DTA")) == LoadOutcome::Loaded; }, true, true,
       true, Path("run.DTA")},
      {"reference load", [&](auto& s) { return s.Data().LoadReference(Path("run.DTA")) == LoadOutcome::Loaded; }, true,
       false, true, std::nullopt},
      {"data save", [&](auto& s) { return s.Data().SaveData(Path("saved")).outcome == SaveOutcome::Written; }, true,
       true, true, Path("saved.DTA")},
      {"spectrum output",
       [&](auto& s) { return s.Data().WriteSpectrum(Path("lines")).outcome == SaveOutcome::Written; }, true, false,
       true, Path("lines.DTA")},
      {"reference clear", [](auto& s) { return s.Data().ClearReference(); }, true, false, false, std::nullopt},
      {"sample count changed on unsaved data",
       [&](auto&) {
         ApplyFft([](FftSetting& f) { f.DataCountSel = 1, f.DataCountMax = 2048; });
         return true;
       },
       false, false, true, std::nullopt},
      {"settings file open",
       [&](auto& s) { return s.Settings().OpenSettingFile(Path("good.prf")) == OpenOutcome::Opened; }, false, false,
       false, ""},  // the file's
  };
  for (const auto& r : rows) {
    UseSampleCount(0);
    HoldUnsavedWithReference();
    const std::string before = session.State().saveSetting.DataFileName;
    ASSERT_TRUE(r.run(session)) << r.command;
    const SessionState& s = session.State();
    EXPECT_EQ(s.fDataValid, r.dataValid) << r.command;
    EXPECT_EQ(s.fDataSaved, r.dataSaved) << r.command;
    EXPECT_EQ(s.fRefValid, r.refValid) << r.command;
    EXPECT_EQ(s.saveSetting.DataFileName, r.dataFileName.value_or(before)) << r.command;
    ExpectFlagsMatchRecords(r.command);
  }
  EXPECT_TRUE(prompter.messages.empty()) << "the session shows no box";
}

TEST_F(CommandsTest, RefusedFilesChangeNothing) {
  WriteRefusedFiles();
  HoldUnsavedWithReference();
  const Snapshot before(session.State());
  for (const char* name : {"missing.DTA", "broken.DTA", "odd.DTA", "range.DTA", "odd.prf"}) {
    EXPECT_EQ(session.Data().LoadData(Path(name)), LoadOutcome::Invalid) << name;
    EXPECT_EQ(session.Data().LoadReference(Path(name)), LoadOutcome::Invalid) << name;
    EXPECT_TRUE(Snapshot(session.State()) == before) << name;
  }
  for (const char* name : {"missing.prf", "odd.prf", "range.prf", "run.DTA"}) {
    EXPECT_EQ(session.Settings().OpenSettingFile(Path(name)), OpenOutcome::Invalid) << name;
    EXPECT_TRUE(Snapshot(session.State()) == before) << name;
  }
  EXPECT_EQ(session.Data().LoadData(""), LoadOutcome::NotChosen);
  EXPECT_EQ(session.Settings().OpenSettingFile(""), OpenOutcome::NotChosen);
  EXPECT_FALSE(session.Data().NewDataFile(""));
  EXPECT_TRUE(Snapshot(session.State()) == before) << "a cancelled dialog";
}

TEST_F(CommandsTest, SavesNameTheirFilesAndADeclinedOverwriteIsNotASave) {
  fs::create_directory(dir / "j.smith");
  WriteBytes(Path("kept.DTA"), "precious");
  WriteBytes(Path("kept.FFT"), "precious");
  const struct {
    bool spectrum;
    std::string chosen;
    bool overwrite;
    SaveOutcome outcome;
    std::string path;
    std::string dataFileName;  // afterwards; empty: as before
    bool saved;
  } rows[] = {
      {false, Path("run1"), true, SaveOutcome::Written, Path("run1.DTA"), Path("run1.DTA"), true},
      {false, Path("run1.dta"), true, SaveOutcome::Written, Path("run1.dta.DTA"), Path("run1.dta.DTA"), true},
      {false, Path("kept.DTA"), false, SaveOutcome::Declined, Path("kept.DTA"), "", false},
      {false, Path("missing/run1"), true, SaveOutcome::Failed, Path("missing/run1.DTA"), Path("missing/run1.DTA"),
       false},
      {true, Path("j.smith/lines"), true, SaveOutcome::Written, Path("j.smith/lines.FFT"), Path("j.smith/lines.DTA"),
       false},
      {true, Path("kept.FFT"), false, SaveOutcome::Declined, Path("kept.FFT"), "", false},
      {true, Path("missing/lines"), true, SaveOutcome::Failed, Path("missing/lines.FFT"), Path("missing/lines.DTA"),
       false},
  };
  for (const auto& r : rows) {
    Measure();
    const std::string before = session.State().saveSetting.DataFileName;
    prompter.answers = {r.overwrite};
    const SaveResult result = r.spectrum ? session.Data().WriteSpectrum(r.chosen) : session.Data().SaveData(r.chosen);
    EXPECT_EQ(result.outcome, r.outcome) << r.chosen;
    EXPECT_EQ(result.path, r.path) << r.chosen;
    EXPECT_EQ(session.State().saveSetting.DataFileName, r.dataFileName.empty() ? before : r.dataFileName) << r.chosen;
    EXPECT_EQ(session.State().fDataSaved, r.saved) << r.chosen;
  }
  EXPECT_EQ(ReadBytes(Path("kept.DTA")), "precious");
  EXPECT_EQ(ReadBytes(Path("kept.FFT")), "precious");
  EXPECT_TRUE(prompter.messages.empty());

  session.Data().NewDataFile(Path("next"));
  EXPECT_EQ(session.Data().SaveData(Path("x")).outcome, SaveOutcome::NoData);
  EXPECT_EQ(session.Data().WriteSpectrum(Path("x")).outcome, SaveOutcome::NoData);
}

TEST_F(CommandsTest, AutomaticSave) {
  WriteBytes(Path("kept.DTA"), "precious");
  const struct {
    std::uint8_t on;
    std::string target;
    AutoSaveOutcome outcome;
    bool saved;
  } rows[] = {
      {0, Path("auto.DTA"), AutoSaveOutcome::NotDue, false},
      {1, "", AutoSaveOutcome::NotDue, false},
      {1, Path("auto.DTA"), AutoSaveOutcome::Written, true},
      {1, Path("kept.DTA"), AutoSaveOutcome::Declined, false},
      {1, R"(D:\data\run1.DTA)", AutoSaveOutcome::Failed, false},  // written on another platform
      {1, Path("missing/auto.DTA"), AutoSaveOutcome::Failed, false},
  };
  for (const auto& r : rows) {
    ApplySave([&](SaveSetting& s) { s.fSaveDataFile = r.on, s.DataFileName = r.target; });
    Measure();
    prompter.answers = {false};
    const bool due = r.outcome != AutoSaveOutcome::NotDue;
    EXPECT_EQ(session.Data().AutoSaveTarget(), due ? std::optional(r.target) : std::nullopt) << r.target;
    EXPECT_EQ(session.Data().AutoSave(), r.outcome) << r.target;
    EXPECT_EQ(session.State().fDataSaved, r.saved) << r.target;
    EXPECT_TRUE(session.State().fDataValid) << "the measurement is kept: " << r.target;
  }
  EXPECT_EQ(ReadBytes(Path("kept.DTA")), "precious");
  EXPECT_FALSE(fs::exists(R"(D:\data\run1.DTA)")) << "no file of the literal name";
}

TEST_F(CommandsTest, NewFileAsksOnlyForUnsavedDataWithoutAutomaticSaving) {
  EXPECT_TRUE(session.Data().NewFileWouldDiscard()) << "measured, not saved";
  ApplySave([](SaveSetting& s) { s.fSaveDataFile = 1; });
  EXPECT_FALSE(session.Data().NewFileWouldDiscard()) << "automatic saving on";
  ApplySave([](SaveSetting& s) { s.fSaveDataFile = 0; });
  ASSERT_EQ(session.Data().LoadData(Path("run.DTA")), LoadOutcome::Loaded);
  EXPECT_FALSE(session.Data().NewFileWouldDiscard()) << "loaded";
  session.Data().NewDataFile(Path("next"));
  EXPECT_FALSE(session.Data().NewFileWouldDiscard()) << "no data";
}

TEST_F(CommandsTest, ChangedAnalysisSettingsAnalyseHeldRecordsAgain) {
  // rect.DTA carries the rectangle window; run.DTA was measured with Hanning.
  ApplyFft([](FftSetting& f) { f.whichWindowFunc = 0; });
  ASSERT_EQ(session.Data().ExportData(Path("rect.DTA")), WriteResult::Written);
  ApplyFft([](FftSetting& f) { f.whichWindowFunc = 1; });

  ASSERT_EQ(session.Data().LoadReference(Path("run.DTA")), LoadOutcome::Loaded);
  const float hanningLine = session.State().refData.spectrum[128];
  ASSERT_EQ(session.Data().LoadData(Path("rect.DTA")), LoadOutcome::Loaded);
  const float reanalysedLine = session.State().refData.spectrum[128];
  session.Data().ClearReference();
  ASSERT_EQ(session.Data().LoadReference(Path("run.DTA")), LoadOutcome::Loaded);
  EXPECT_EQ(reanalysedLine, session.State().refData.spectrum[128]) << "the data load's window applies to the reference";
  EXPECT_NE(reanalysedLine, hanningLine);

  const FftSetting before = session.State().fftSetting;
  FftSetting colours = before;
  colours.PenColorGraph = kColorGrey;
  EXPECT_FALSE(session.Settings().ApplyMeasureSettings(colours, session.State().saveSetting).reanalysed);
  FftSetting window = before;
  window.whichWindowFunc = 3;
  EXPECT_TRUE(session.Settings().ApplyMeasureSettings(window, session.State().saveSetting).reanalysed);
  EXPECT_NE(session.State().refData.spectrum[128], reanalysedLine);
}

TEST_F(CommandsTest, ASampleCountChangeDropsOnlyUnsavedData) {
  FftSetting more = session.State().fftSetting;
  more.DataCountSel = 1;
  more.DataCountMax = 2048;
  EXPECT_TRUE(session.Settings().WouldDiscardData(more)) << "measured, not saved";
  EXPECT_FALSE(session.Settings().WouldDiscardData(session.State().fftSetting)) << "same count";
  ASSERT_EQ(session.Data().LoadData(Path("run.DTA")), LoadOutcome::Loaded);
  EXPECT_FALSE(session.Settings().WouldDiscardData(more)) << "loaded";
  EXPECT_FALSE(session.Settings().ApplyMeasureSettings(more, session.State().saveSetting).dataDiscarded);
  EXPECT_TRUE(session.State().fDataValid);
}

TEST_F(CommandsTest, SettingsFilesHoldTheDialogsConverterSettings) {
  AdUnitSetting edited = session.State().editAdSetting;
  edited.GainSel = 3;
  edited.Gain = 1;  // taken from GainSel
  session.Settings().SetEditAdSetting(edited);
  EXPECT_EQ(session.State().editAdSetting.Gain, 32);
  const SaveResult saved = session.Settings().SaveSettingFile(Path("cfg"));
  ASSERT_EQ(saved.outcome, SaveOutcome::Written);
  EXPECT_EQ(saved.path, Path("cfg.prf"));
  const auto read = session.Settings().ReadSettingFile(saved.path);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->ad.GainSel, 3U) << "editAdSetting, not the measurement's";

  prompter.answers = {false};
  EXPECT_EQ(session.Settings().SaveSettingFile(Path("cfg.prf")).outcome, SaveOutcome::Declined);
  ASSERT_EQ(prompter.questions.size(), 1U);
  EXPECT_EQ(prompter.questions[0].text, "同名のファイル：" + Path("cfg.prf") + "があります。\n上書きしますか");
  EXPECT_EQ(session.Settings().OpenSettingFile(saved.path), OpenOutcome::Opened);
  EXPECT_EQ(session.State().measAdSetting.GainSel, 3U);
}

TEST_F(CommandsTest, DefaultSettingsFile) {
  WriteRefusedFiles();
  AdUnitSetting edited = session.State().editAdSetting;
  edited.GainSel = 3;
  session.Settings().SetEditAdSetting(edited);
  ASSERT_EQ(session.Settings().SaveSettingFile(Path("valid.prf")).outcome, SaveOutcome::Written);
  WriteBytes(Path("garbage.prf"), "not settings");
  const struct {
    const char* name;
    DefaultsOutcome outcome;
    std::uint32_t gainSel;  // adopted
    const char* backup;     // the old file's bytes kept in name + ".bak"; none: no backup
  } rows[] = {
      {"valid.prf", DefaultsOutcome::Loaded, 3, nullptr},
      {"absent.prf", DefaultsOutcome::Created, 5, nullptr},
      {"garbage.prf", DefaultsOutcome::Replaced, 5, "not settings"},
      {"odd.prf", DefaultsOutcome::Replaced, 5, ""},  // a sample count that is not a power of two
      {"missing/Zemtraini.prf", DefaultsOutcome::WriteFailed, 5, nullptr},
  };
  for (const auto& r : rows) {
    const fs::path path = dir / r.name;
    const std::string old = ReadBytes(path);
    EXPECT_EQ(session.Settings().LoadDefaultSettings(path), r.outcome) << r.name;
    EXPECT_EQ(session.State().measAdSetting.GainSel, r.gainSel) << r.name;
    EXPECT_EQ(session.State().editAdSetting, session.State().measAdSetting) << r.name;
    const fs::path backup = path.string() + ".bak";
    EXPECT_EQ(fs::exists(backup), r.backup != nullptr) << r.name;
    if (r.backup != nullptr) {
      EXPECT_EQ(ReadBytes(backup), old) << r.name;
    }
    EXPECT_EQ(session.Settings().ReadSettingFile(path.string()).has_value(), r.outcome != DefaultsOutcome::WriteFailed)
        << r.name;
  }
  // At close the measurement's converter settings are written, not the dialog's.
  ASSERT_EQ(session.Settings().LoadDefaultSettings(dir / "valid.prf"), DefaultsOutcome::Loaded);
  session.Settings().SetEditAdSetting(AdUnitSetting{});
  ASSERT_TRUE(session.Settings().SaveDefaultSettings(dir / "closed.prf"));
  EXPECT_EQ(session.Settings().ReadSettingFile(Path("closed.prf"))->ad.GainSel, 3U);
}

TEST_F(CommandsTest, ADataFileNameNoSettingsLineHoldsIsLeftOutNotEverySetting) {
  if (!NameAllowed(dir.path(), "line\nfeed.DTA")) GTEST_SKIP() << "this system refuses line ends in file names";
  for (const char* name : {"line\nfeed.DTA", "carriage\rreturn.DTA", "both\r\n.DTA"}) {
    ASSERT_TRUE(fs::copy_file(Path("run.DTA"), dir / name, fs::copy_options::overwrite_existing)) << name;
    ASSERT_EQ(session.Data().LoadData(Path(name)), LoadOutcome::Loaded) << "the measurement loads: " << name;
    ApplyFft([](FftSetting& fft) { fft.whichWindowFunc = 3; });
    AdUnitSetting edited = session.State().editAdSetting;
    edited.GainSel = 2;
    session.Settings().SetEditAdSetting(edited);
    ASSERT_TRUE(session.Settings().SaveDefaultSettings(dir / "closed.prf")) << name;
    fs::remove(Path("saved.prf"));  // no overwrite question
    ASSERT_EQ(session.Settings().SaveSettingFile(Path("saved.prf")).outcome, SaveOutcome::Written) << name;
    for (const char* file : {"closed.prf", "saved.prf"}) {
      const auto records = session.Settings().ReadSettingFile(Path(file));
      ASSERT_TRUE(records.has_value()) << file << " after " << name;
      EXPECT_EQ(records->save.DataFileName, "") << file << " after " << name;
      EXPECT_EQ(records->fft.whichWindowFunc, 3) << file << " keeps the other settings";
      EXPECT_EQ(records->fft.DataCountMax, session.State().fftSetting.DataCountMax) << file;
    }
    EXPECT_EQ(session.Settings().ReadSettingFile(Path("saved.prf"))->ad.GainSel, 2U) << "the dialog's converter";
    EXPECT_EQ(session.State().saveSetting.DataFileName, Path(name)) << "the session keeps the name it loaded";
  }
}

TEST_F(CommandsTest, AnInvalidDefaultFileThatCannotBeKeptIsLeftAlone) {
  fs::create_directory(dir / "locked");
  const fs::path path = dir / "locked" / "Zemtraini.prf";
  WriteBytes(path, "hand-edited");
  const LockedDirectory lock(dir / "locked");
  if (!lock.Holds()) GTEST_SKIP() << "the directory cannot be locked here";
  EXPECT_EQ(session.Settings().LoadDefaultSettings(path), DefaultsOutcome::WriteFailed);
  EXPECT_EQ(ReadBytes(path), "hand-edited");
}

TEST(Caption, NamesTheDataFile) {
  const struct {
    std::uint8_t autoSave;
    const char* name;
    const char* caption;
    bool followsAutoSave;
  } rows[] = {
      {0, "", "Zemtra : ", false},
      {1, R"(D:\data\run1.DTA)", "Zemtra : run1.DTA", true},
      {0, "/home/j.smith/run1.DTA", "Zemtra : run1.DTA", false},
      {1, "run1.DTA", "Zemtra : ", true},
  };
  for (const auto& r : rows) {
    const SaveSetting save{r.autoSave, r.name, {}};
    EXPECT_EQ(CaptionText(save), r.caption) << r.name;
    EXPECT_EQ(CaptionFollowsAutoSave(save), r.followsAutoSave) << r.name;
  }
}

}  // namespace
