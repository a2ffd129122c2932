// The menu commands of the main window on files, settings and the reference: their
// file dialogs, boxes, status notices, caption and graphs.
#include <sys/stat.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QTimer>
#include <optional>
#include <stdexcept>

#include "WindowTestSupport.h"
#include "adc/Amp_setting.h"
#include "display/Fft_setting.h"
#include "files/PdfTools.h"

namespace {

class MenuCommandsTest : public WindowTest {
 protected:
  void Trigger(QAction*(MainMenu::*item)) { (window->Menu().*item)->trigger(); }
  // Runs `edit` on the dialog once its modal loop has started.
  template <class Dialog>
  void WhenShown(std::function<void(Dialog&)> edit) {
    auto* dialog = window->findChild<Dialog*>();
    QTimer::singleShot(0, dialog, [dialog, edit] { edit(*dialog); });
  }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& m : prompter.messages) texts.push_back(m.text);
    return texts;
  }
  std::string Field(QLineEdit* field) const { return field->text().toStdString(); }
  bool CommandsUnlocked() const {
    return window->Controls().MeasureStartBtn->isEnabled() && window->Menu().MenuData->menuAction()->isEnabled();
  }
};

TEST_F(MenuCommandsTest, FileDialogsTakeTheirTitlesFiltersAndStartNamesAndACancelChangesNothing) {
  const struct {
    QAction* MainMenu::*item;
    bool save;
    const char* title;
    const char* filter;
    const char* start[3];  // for DataFileName "/data/run1.DTA", "D:\data\run1.DTA", none
  } rows[] = {
      {&MainMenu::MenuFileNew,
       true,
       "新規ファイル：次に保存するデータファイルの名前（ここでは保存しません）",
       "Data files (*.DTA)",
       {"/data/run1.DTA", "run1.DTA", "*.DTA"}},
      {&MainMenu::MenuDataLoad,
       false,
       "データ読込み",
       "データファイル (*.DTA)",
       {"/data/run1.DTA", "run1.DTA", "*.DTA"}},
      {&MainMenu::MenuDataSave, true, "データ保存", "データファイル (*.DTA)", {"/data/run1.DTA", "run1.DTA", "*.DTA"}},
      {&MainMenu::MenuTextSave, true, "FFT結果出力", "FFTファイル (*.FFT)", {"/data/run1.FFT", "run1.FFT", "*.FFT"}},
      {&MainMenu::MenuRefLoadFile,
       false,
       "参照データ読み込み",
       "データファイル (*.DTA)",
       {"/data/run1.DTA", "run1.DTA", "*.DTA"}},
      {&MainMenu::MenuOpenSettingFile, false, "設定ファイル読込み", "設定 ファイル (*.prf)", {"*.prf", "*.prf", "*.prf"}},
      {&MainMenu::MenuSaveSettingFile, true, "設定ファイル保存", "設定 ファイル (*.prf)", {"*.prf", "*.prf", "*.prf"}},
  };
  const char* names[] = {"/data/run1.DTA", "D:\\data\\run1.DTA", ""};
  for (int n = 0; n < 3; ++n) {
    SaveSetting save;
    save.DataFileName = names[n];
    WriteDefaults({}, save);
    Open();
    Measure();
    const QString caption = window->windowTitle();
    for (const auto& r : rows) {
      prompter.fileDialogs.clear();
      prompter.answers = {true};  // 新規ファイル: the unsaved measurement may go
      (window->Menu().*(r.item))->trigger();
      ASSERT_EQ(prompter.fileDialogs.size(), 1U) << r.filter;
      EXPECT_EQ(prompter.fileDialogs[0].save, r.save) << r.filter;
      EXPECT_EQ(prompter.fileDialogs[0].title, r.title);
      EXPECT_EQ(prompter.fileDialogs[0].filter, r.filter);
      EXPECT_EQ(prompter.fileDialogs[0].initialName, r.start[n]) << r.filter << " from " << names[n];
      EXPECT_TRUE(prompter.messages.empty()) << r.filter;
      EXPECT_TRUE(window->State().fDataValid) << r.filter;
      EXPECT_EQ(window->windowTitle(), caption) << r.filter;
      EXPECT_TRUE(CommandsUnlocked()) << r.filter;
    }
  }
}

TEST_F(MenuCommandsTest, FailuresShowTheirBoxesAndChangeNothing) {
  WriteBytes(dir / "garbage.DTA", "not a data file");
  WriteBytes(dir / "garbage.prf", "not settings");
  WriteBytes(dir / "kept.DTA", "an older file");
  const std::string missing = (dir / "missing" / "out").string();
  const struct {
    const char* name;
    bool measured;
    QAction* MainMenu::*item;
    std::string file;
    std::vector<std::string> boxes;
  } rows[] = {
      {"save without data", false, &MainMenu::MenuDataSave, "", {"データがありません"}},
      {"spectrum without data",
       false,
       &MainMenu::MenuTextSave,
       "",
       {"データがありません", "FFTデータ保存できませんでした"}},
      {"load an invalid file",
       true,
       &MainMenu::MenuDataLoad,
       (dir / "garbage.DTA").string(),
       {"データファイルの内容が正しくありませんでした"}},
      {"reference from an invalid file",
       true,
       &MainMenu::MenuRefLoadFile,
       (dir / "garbage.DTA").string(),
       {"データファイルの内容が正しくありませんでした"}},
      {"open invalid settings",
       true,
       &MainMenu::MenuOpenSettingFile,
       (dir / "garbage.prf").string(),
       {"設定ファイルの内容が正しくありませんでした"}},
      {"save data where none can be written", true, &MainMenu::MenuDataSave, missing, {"データ保存できませんでした"}},
      {"write the spectrum where none can be written",
       true,
       &MainMenu::MenuTextSave,
       missing,
       {"FFTデータ保存できませんでした"}},
      {"save settings where none can be written",
       true,
       &MainMenu::MenuSaveSettingFile,
       missing,
       {"初期設定ファイルを保存できませんでした"}},
      {"keep an existing file", true, &MainMenu::MenuDataSave, (dir / "kept.DTA").string(), {}},
  };
  WriteDefaults();
  for (const auto& r : rows) {
    Open();
    if (r.measured) Measure();
    const QString caption = window->windowTitle();
    prompter.messages.clear();
    // The unsaved measurement may go where a command would drop it; No to the rest.
    prompter.answers = {r.item == &MainMenu::MenuDataLoad || r.item == &MainMenu::MenuOpenSettingFile};
    prompter.files = {r.file};
    (window->Menu().*(r.item))->trigger();
    EXPECT_EQ(Boxes(), r.boxes) << r.name;
    EXPECT_EQ(window->State().fDataValid, r.measured) << r.name;
    EXPECT_FALSE(window->State().fDataSaved) << r.name;
    EXPECT_FALSE(window->State().fRefValid) << r.name;
    EXPECT_EQ(window->windowTitle(), caption) << r.name;
    EXPECT_TRUE(CommandsUnlocked()) << r.name;
  }
  EXPECT_EQ(ReadBytes(dir / "kept.DTA"), "an older file") << "the overwrite question was answered No";
}

TEST_F(MenuCommandsTest, WithAutomaticSavingTheCaptionFollowsEveryNewDataFileName) {
  WriteBytes(dir / "kept.DTA", "an older file");
  const std::string missing = (dir / "missing" / "out").string();
  const struct {
    const char* name;
    QAction* MainMenu::*item;
    std::string file;
    const char* caption;
  } rows[] = {
      {"spectrum written", &MainMenu::MenuTextSave, (dir / "lines").string(), "Zemtra : lines.DTA"},
      {"spectrum not written", &MainMenu::MenuTextSave, missing, "Zemtra : out.DTA"},
      {"data not written", &MainMenu::MenuDataSave, missing, "Zemtra : out.DTA"},
      {"data file kept: the name goes back", &MainMenu::MenuDataSave, (dir / "kept.DTA").string(),
       "Zemtra : auto.DTA"},
  };
  SaveSetting save;
  save.fSaveDataFile = 1;
  save.DataFileName = (dir / "auto.DTA").string();
  WriteDefaults({}, save);
  for (const auto& r : rows) {
    Open();
    Measure();
    prompter.files = {r.file};
    (window->Menu().*(r.item))->trigger();
    EXPECT_EQ(window->windowTitle().toStdString(), r.caption) << r.name;
  }

  Open();
  Measure();
  prompter.files = {(dir / "next").string()};
  Trigger(&MainMenu::MenuTextSave);
  Measure();
  EXPECT_TRUE(fs::exists(dir / "next.DTA")) << "the next automatic save goes where the caption says";
  EXPECT_EQ(window->windowTitle().toStdString(), "Zemtra : next.DTA");
}

TEST_F(MenuCommandsTest, SettingsFileDialogsStartWhereTheLastSettingsFileWas) {
  fs::create_directories(dir / "a");
  fs::create_directories(dir / "b");
  WriteDefaults();
  Open();
  const struct {
    QAction* MainMenu::*item;
    std::string answer;  // empty: cancelled
    std::string start;
  } rows[] = {
      {&MainMenu::MenuOpenSettingFile, "", "*.prf"},  // the program's starting directory
      {&MainMenu::MenuSaveSettingFile, (dir / "a" / "cfg").string(), "*.prf"},
      {&MainMenu::MenuOpenSettingFile, "", (dir / "a" / "*.prf").string()},  // written there
      {&MainMenu::MenuOpenSettingFile, (dir / "b" / "none.prf").string(), (dir / "a" / "*.prf").string()},
      {&MainMenu::MenuSaveSettingFile, "", (dir / "b" / "*.prf").string()},  // chosen there
  };
  for (const auto& r : rows) {
    prompter.fileDialogs.clear();
    prompter.files = {r.answer};
    (window->Menu().*(r.item))->trigger();
    ASSERT_EQ(prompter.fileDialogs.size(), 1U);
    EXPECT_EQ(prompter.fileDialogs[0].initialName, r.start);
  }
  EXPECT_TRUE(fs::exists(dir / "a" / "cfg.prf"));
  ASSERT_EQ(Boxes().size(), 1U);  // the missing file
  prompter.files = {(dir / "data").string()};
  Trigger(&MainMenu::MenuFileNew);
  EXPECT_EQ(prompter.fileDialogs.back().initialName, "*.DTA") << "the data dialogs keep their own start";
}

TEST_F(MenuCommandsTest, EveryCommandThatDropsAnUnsavedMeasurementAsksFirst) {
  WriteDefaults();
  Open();
  Measure();
  prompter.files = {(dir / "kept.DTA").string()};
  Trigger(&MainMenu::MenuDataSave);
  prompter.files = {(dir / "kept.prf").string()};
  Trigger(&MainMenu::MenuSaveSettingFile);
  const struct {
    const char* name;
    QAction* MainMenu::*item;
    std::string file;
  } rows[] = {
      {"新規ファイル", &MainMenu::MenuFileNew, (dir / "next.DTA").string()},
      {"データ → 読込み", &MainMenu::MenuDataLoad, (dir / "kept.DTA").string()},
      {"設定 → 読込み", &MainMenu::MenuOpenSettingFile, (dir / "kept.prf").string()},
  };
  const std::string question = "データを保存していませんが、破棄してもいいですか？";
  for (const auto& r : rows) {
    for (const bool agreed : {false, true}) {
      Open();
      Measure();
      prompter.questions.clear();
      prompter.fileDialogs.clear();
      prompter.answers = {agreed};
      prompter.files = {r.file};
      Trigger(r.item);
      ASSERT_EQ(prompter.questions.size(), 1U) << r.name;
      EXPECT_EQ(prompter.questions[0].text, question) << r.name;
      EXPECT_EQ(prompter.questions[0].icon, MessageIcon::Warning) << r.name;
      EXPECT_EQ(prompter.fileDialogs.size(), agreed ? 1U : 0U) << r.name << ": Cancel ends the command";
      EXPECT_EQ(window->State().fDataValid, !agreed || r.item == &MainMenu::MenuDataLoad) << r.name;
      EXPECT_TRUE(CommandsUnlocked()) << r.name;
    }
    // A saved measurement goes without a question.
    Open();
    Measure();
    prompter.files = {(dir / "kept.DTA").string()};
    prompter.answers = {true};
    Trigger(&MainMenu::MenuDataSave);
    prompter.questions.clear();
    prompter.files = {r.file};
    Trigger(r.item);
    EXPECT_TRUE(prompter.questions.empty()) << r.name << " after a save";
  }
}

TEST_F(MenuCommandsTest, SaveReloadOverlayAndReopen) {
  WriteDefaults();
  Open();
  Measure();
  const QImage alone = window->Graph().SpecBitmap().copy();
  const std::string rms = Field(window->Controls().EditRMS);
  const auto run1 = (dir / "run1").string();

  prompter.files = {run1};
  Trigger(&MainMenu::MenuDataSave);
  EXPECT_TRUE(fs::exists(run1 + ".DTA"));
  EXPECT_EQ(window->windowTitle().toStdString(), "Zemtra : run1.DTA");
  EXPECT_TRUE(window->State().fDataSaved);

  prompter.files = {(dir / "lines").string()};
  Trigger(&MainMenu::MenuTextSave);
  EXPECT_TRUE(fs::exists(dir / "lines.FFT"));
  EXPECT_EQ(window->windowTitle().toStdString(), "Zemtra : run1.DTA") << "the spectrum leaves the caption";

  prompter.files = {run1 + ".DTA"};
  Trigger(&MainMenu::MenuRefLoadFile);
  EXPECT_TRUE(window->State().fRefValid);
  EXPECT_EQ(Panel(1), "参照データを読み込みました");
  EXPECT_NE(window->Graph().SpecBitmap(), alone) << "the reference is drawn over the measurement";

  Trigger(&MainMenu::MenuRefClear);
  EXPECT_FALSE(window->State().fRefValid);
  EXPECT_EQ(window->Graph().SpecBitmap(), alone);
  EXPECT_EQ(Panel(2), "Δｆ= 4.688Hz / 絶対値[dBV] 表示 / 窓関数=ハニング窓");

  prompter.files = {run1 + ".DTA"};
  Trigger(&MainMenu::MenuDataLoad);
  EXPECT_EQ(Panel(1), "データファイル読み込みました");
  EXPECT_EQ(Field(window->Controls().EditRMS), rms) << "the same measurement back";
  EXPECT_EQ(Field(window->Controls().EditPeakHz), "600.000");
  EXPECT_EQ(window->windowTitle().toStdString(), "Zemtra : run1.DTA");

  prompter.files = {(dir / "cfg").string()};
  Trigger(&MainMenu::MenuSaveSettingFile);
  prompter.files = {(dir / "cfg.prf").string()};
  Trigger(&MainMenu::MenuOpenSettingFile);
  EXPECT_FALSE(window->State().fDataValid) << "opening settings drops the measurements";
  EXPECT_EQ(Field(window->Controls().EditRMS), "---");
  EXPECT_EQ(Panel(1), "");

  prompter.files = {(dir / "next").string()};
  Trigger(&MainMenu::MenuFileNew);
  EXPECT_TRUE(prompter.questions.empty()) << "nothing unsaved to ask about";
  EXPECT_EQ(window->windowTitle().toStdString(), "Zemtra : next.DTA");
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MenuCommandsTest, DisplaySettingsRedrawTheReadoutAndAskBeforeDroppingData) {
  WriteDefaults();
  Open();
  Measure();
  MainFormControls& c = window->Controls();
  c.PeakFwdBtn->click();  // 604.688 Hz, beside the peak
  const std::string absolute = Field(c.EditPeakdB);

  WhenShown<TFormFFTSetting>([](TFormFFTSetting& d) {
    d.CheckBoxAbsodB->click();  // relative levels
    d.SetBtnClick();
  });
  Trigger(&MainMenu::MenuDispSetting);
  EXPECT_EQ(Field(c.EditPeakHz), "604.688") << "the line shown stays";
  EXPECT_NE(Field(c.EditPeakdB), absolute) << "its level follows the display";
  EXPECT_EQ(c.LabelPeakdB->text().toStdString(), "dB");

  const auto newCount = [](TFormFFTSetting& d) {
    d.ComboBoxDNum->setCurrentIndex(d.ComboBoxDNum->findData(1));  // 2048 samples
    d.ComboBoxDNumChange();
    d.SetBtnClick();
  };
  prompter.answers = {false};
  WhenShown<TFormFFTSetting>(newCount);
  Trigger(&MainMenu::MenuDispSetting);
  ASSERT_EQ(prompter.questions.size(), 1U);
  EXPECT_EQ(prompter.questions[0].text, "データを保存していませんが、破棄してもいいですか？");
  EXPECT_TRUE(window->State().fDataValid) << "Cancel keeps the measurement";
  EXPECT_EQ(window->State().fftSetting.DataCountMax, 1024) << "and its sample count";

  prompter.answers = {true};
  WhenShown<TFormFFTSetting>(newCount);
  Trigger(&MainMenu::MenuDispSetting);
  EXPECT_FALSE(window->State().fDataValid);
  EXPECT_EQ(window->State().fftSetting.DataCountMax, 2048);
  EXPECT_EQ(Field(c.EditRMS), "---");

  WhenShown<TFormFFTSetting>([](TFormFFTSetting& d) {
    d.CheckBoxAbsodB->click();
    d.reject();  // Esc or the close button
  });
  Trigger(&MainMenu::MenuDispSetting);
  EXPECT_EQ(window->State().fftSetting.fAbsoGraph, 0) << "a cancelled dialog changes nothing";
}

TEST_F(MenuCommandsTest, ConverterSettingsTakeEffectAtTheNextStart) {
  WriteDefaults();
  Open();
  WhenShown<TFormAmpSetting>([](TFormAmpSetting& d) {
    d.ComboBox3->setCurrentIndex(d.ComboBox3->findData(3));  // gain 32
    d.reject();
  });
  Trigger(&MainMenu::MenuADUnitSetting);
  EXPECT_EQ(window->State().editAdSetting.GainSel, 5U) << "cancelled";

  WhenShown<TFormAmpSetting>([](TFormAmpSetting& d) {
    d.ComboBox3->setCurrentIndex(d.ComboBox3->findData(3));
    d.SetBtnClick();
  });
  Trigger(&MainMenu::MenuADUnitSetting);
  EXPECT_EQ(window->State().editAdSetting.Gain, 32);
  EXPECT_EQ(window->State().measAdSetting.GainSel, 5U) << "not before the next start";
  Measure();
  EXPECT_TRUE(unit->Sent("SG3"));
  EXPECT_EQ(window->State().measAdSetting.Gain, 32);
}

TEST_F(MenuCommandsTest, PrintShowsItsOutcomeAndAFailureKeepsTheMeasurement) {
  const fs::path pdf = dir / "page.pdf";
  const auto toPdf = [](const fs::path& file) {
    return [file](QPrinter& p) {
      p.setOutputFormat(QPrinter::PdfFormat);
      p.setOutputFileName(QString::fromStdString(file.string()));
      return true;
    };
  };
  const struct {
    const char* name;
    bool measured;
    std::vector<ScriptedPrompter::PrintDialogStep> dialogs;
    int dialogsShown;
    std::vector<std::string> boxes;
    bool printed;
  } rows[] = {
      {"no measurement", false, {toPdf(pdf)}, 0, {"データがありません"}, false},
      {"the print dialog cancelled", true, {}, 1, {}, false},
      {"a printer that cannot begin", true, {toPdf(dir / "missing" / "page.pdf")}, 1, {"印刷できませんでした"}, false},
      {"a FIFO as the PDF file", true, {toPdf(dir / "fifo.pdf")}, 1, {"印刷できませんでした"}, false},
      {"printed to a PDF file", true, {toPdf(pdf)}, 1, {}, true},
  };
  ASSERT_EQ(::mkfifo((dir / "fifo.pdf").c_str(), 0600), 0);
  WriteDefaults();
  for (const auto& r : rows) {
    Open();
    if (r.measured) {
      Measure();
      window->Controls().PeakFwdBtn->click();  // the readout one line off the peak
    }
    prompter.messages.clear();
    prompter.printDialogCount = 0;
    prompter.printDialogs.assign(r.dialogs.begin(), r.dialogs.end());
    const QImage screen = window->Graph().SpecBitmap().copy();
    Trigger(&MainMenu::MenuFilePrint);
    EXPECT_EQ(prompter.printDialogCount, r.dialogsShown) << r.name;
    EXPECT_EQ(Boxes(), r.boxes) << r.name;
    EXPECT_EQ(fs::exists(pdf), r.printed) << r.name;
    EXPECT_EQ(window->State().fDataValid, r.measured) << r.name;
    EXPECT_TRUE(window->isVisible()) << r.name;
    EXPECT_EQ(window->Graph().SpecBitmap(), screen) << r.name << ": the screen is left as it was";
    EXPECT_TRUE(CommandsUnlocked()) << r.name;
  }
  // The page carries the measurement's conditions and the readout as the window shows it.
  const MainFormControls& c = window->Controls();
  const std::string text = PdfText(pdf);
  for (const std::string& line :
       {std::string("データ数：1024"), std::string("サンプリング：4.8ksps"), std::string("周波数分解能：4.688Hz"),
        "ピーク値[" + c.LabelPeakVolt->text().toStdString() + "]：" + Field(c.EditPeakVolt),
        "ピーク値[dBV]：" + Field(c.EditPeakdB), std::string("ピーク値[Hz]：604.688")}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
  }
}

TEST_F(MenuCommandsTest, PageSetupNeedsNoDataAndHoldsForThePrintDialog) {
  WriteDefaults();
  Open();
  EXPECT_TRUE(window->Menu().MenuFilePrintSetting->isEnabled());
  EXPECT_TRUE(window->Menu().MenuFilePrint->isEnabled());
  prompter.printDialogs = {[](QPrinter& p) {
    p.setPageOrientation(QPageLayout::Landscape);
    return true;
  }};
  Trigger(&MainMenu::MenuFilePrintSetting);
  EXPECT_EQ(prompter.printDialogCount, 1);
  EXPECT_TRUE(prompter.messages.empty());

  Measure();
  std::optional<QPageLayout::Orientation> seen;
  prompter.printDialogs = {[&seen](QPrinter& p) {
    seen = p.pageLayout().orientation();
    return false;
  }};
  Trigger(&MainMenu::MenuFilePrint);
  EXPECT_EQ(seen, QPageLayout::Landscape) << "both commands work on the one printer";
}

TEST_F(MenuCommandsTest, AnExceptionInACommandIsShownAndTheCommandsComeBack) {
  struct FailingDialogs : ScriptedPrompter {
    std::string ChooseOpenFile(const std::string&, const std::string&, const std::string&) override {
      throw std::runtime_error("the file dialog failed");
    }
  } failing;
  promptWith = &failing;
  WriteDefaults();
  Open();
  Trigger(&MainMenu::MenuDataLoad);  // locks the commands, then the dialog throws
  ASSERT_EQ(failing.messages.size(), 1U);
  EXPECT_EQ(failing.messages[0].text, "the file dialog failed");
  EXPECT_TRUE(CommandsUnlocked());
  Measure();
  EXPECT_TRUE(window->State().fDataValid) << "the program goes on";
}

}  // namespace
