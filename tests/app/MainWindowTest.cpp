// The main window's measurement sequencer, results panel, start-up and close.
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>

#include "WindowTestSupport.h"
#include "app/Results.h"
#include "app/StallGuard.h"
#include "model/UnitTables.h"
#include "display/AxisLabels.h"
#include "display/PaintBox.h"

namespace {

// Flags and the record agree: a cleared flag means an empty record.
void ExpectIdle(TFormMain& window, const std::string& where) {
  EXPECT_EQ(window.CurrentPhase(), TFormMain::Phase::Idle) << where;
  EXPECT_EQ(window.Controls().MeasureStartBtn->text().toStdString(), "計測開始") << where;
  EXPECT_TRUE(window.Controls().MeasureStartBtn->isEnabled()) << where;
  EXPECT_TRUE(window.Menu().MenuData->menuAction()->isEnabled()) << where;
  EXPECT_FALSE(window.PollTimerActive()) << where;
  EXPECT_EQ(window.State().fDataValid, window.State().curData.HasData()) << where;
}

TEST_F(WindowTest, EachEndOfAMeasurementWithItsTextsAndBoxes) {
  const struct {
    const char* name;
    const char* config;
    bool refuseStart;
    const char* panel0;
    const char* panel1;  // empty once a measurement has ended by an error: none runs
    const char* panel2;  // nullptr: the signal statistics
    const char* box;     // nullptr: none
    MessageIcon icon;
    bool dataValid;
    bool abortSent;
  } rows[] = {
      {"finished", kQuietSine, false, "QT4418PX/ SIM 1.00/ 4.8ksps x128, ", "計測終了しました", nullptr, nullptr,
       MessageIcon::Error, true, true},
      {"absent", "fault=absent", false, "QT4418PXが見つかりませんでした", "", "", "QT4418PXが見つかりませんでした",
       MessageIcon::Error, false, false},
      {"silent", "fault=silent", false, "QT4418PX応答しませんでした", "", "", "QT4418PXが応答しませんでした",
       MessageIcon::Error, false, false},
      {"another unit's name", "name=QT4418PY", false, "", "", "", nullptr, MessageIcon::Error, false, false},
      {"a refused setting", "fault=ng:SG5", false, "", "", "", nullptr, MessageIcon::Error, false, false},
      {"start refused", kQuietSine, true, "コマンド送信エラーです", "", "", "コマンド送信エラーです",
       MessageIcon::Error, false, true},
      {"garbled record", "noise=off,fault=garble@100", false, "QT4418PX/ SIM 1.00/ 4.8ksps x128, ", "",
       "計測エラーで終了", nullptr, MessageIcon::Error, false, true},
      {"unplugged", "noise=off,fault=unplug@100", false, "QT4418PX/ SIM 1.00/ 4.8ksps x128, ", "", "計測エラーで終了",
       nullptr, MessageIcon::Error, false, true},
      {"no records after the start", "noise=off,fault=ng:A000400", false, "QT4418PX/ SIM 1.00/ 4.8ksps x128, ", "",
       "計測エラーで終了", nullptr, MessageIcon::Error, false, true},
      {"overload", "ch0=dc:0.03", false, "QT4418PX/ SIM 1.00/ 4.8ksps x128, ", "",
       "入力信号レベルが適正範囲からはずれています", "入力信号レベルが適正範囲からはずれています", MessageIcon::Warning,
       false, true},
  };
  WriteDefaults();
  for (const auto& r : rows) {
    prompter.messages.clear();
    Open(r.config);
    unit->refuseStart = r.refuseStart;
    Measure();
    ExpectIdle(*window, r.name);
    EXPECT_EQ(Panel(0), r.panel0) << r.name;
    EXPECT_EQ(Panel(1), r.panel1) << r.name;
    EXPECT_EQ(Panel(2), r.panel2 != nullptr ? r.panel2 : ResultsOf(window->State()).statsText) << r.name;
    EXPECT_EQ(prompter.messages.size(), r.box == nullptr ? 0U : 1U) << r.name;
    if (r.box != nullptr && !prompter.messages.empty()) {
      EXPECT_EQ(prompter.messages[0].text, r.box) << r.name;
      EXPECT_EQ(prompter.messages[0].caption, "Zemtra") << r.name;
      EXPECT_EQ(prompter.messages[0].icon, r.icon) << r.name;
    }
    EXPECT_EQ(window->State().fDataValid, r.dataValid) << r.name;
    EXPECT_EQ(unit->Sent("AX"), r.abortSent) << r.name;
  }
}

TEST_F(WindowTest, EveryMenuSeparatorIsDrawn) {
  constexpr int kFrameWidth = 2;  // and a pixel of room at least
  WriteDefaults();
  Open();
  int separators = 0;
  for (QMenu* menu : window->Menu().MenuFile->parentWidget()->findChildren<QMenu*>()) {
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator()) continue;
      ++separators;
      const QRect line = menu->actionGeometry(action);
      EXPECT_GT(line.height(), 0) << "a hidden separator in " << menu->title().toStdString();
      // Not drawn on the menu's frame, where nobody would see it.
      EXPECT_GT(menu->sizeHint().height() - 1 - line.bottom(), kFrameWidth) << menu->title().toStdString();
    }
  }
  EXPECT_EQ(separators, 7);
}

TEST_F(WindowTest, CommandsAreLockedWhileMeasuringAndOnlyThePollTimerTicks) {
  WriteDefaults();
  Open();
  QCoreApplication::processEvents();  // the queued start-up call finds its work done
  EXPECT_FALSE(AnythingTicks()) << "idle after start-up";
  Press();
  EXPECT_EQ(window->CurrentPhase(), Phase::Measuring);
  EXPECT_TRUE(window->PollTimerActive());
  EXPECT_TRUE(AnythingTicks());
  EXPECT_EQ(window->Controls().MeasureStartBtn->text().toStdString(), "計測中止");
  EXPECT_TRUE(window->Controls().MeasureStartBtn->isEnabled()) << "it stops the measurement";
  for (QMenu* menu : {window->Menu().MenuFile, window->Menu().MenuMeasure, window->Menu().MenuData,
                      window->Menu().MenuSetting, window->Menu().MenuRef, window->Menu().MenuHelp}) {
    EXPECT_FALSE(menu->menuAction()->isEnabled()) << menu->title().toStdString();
  }
  EXPECT_FALSE(window->Controls().PeakFwdBtn->isEnabled());
  EXPECT_EQ(Panel(1), "計測中です");
  EXPECT_EQ(Panel(2), "測定開始処理中です。。。");
  Advance();  // 48 records are due: one read of 32
  window->AcquireTick();
  EXPECT_EQ(Panel(2).rfind("データ番号：32 / AD変換値：", 0), 0U) << Panel(2);
  Tick();
  ExpectIdle(*window, "finished");
  EXPECT_FALSE(AnythingTicks()) << "idle after the measurement";
}

TEST_F(WindowTest, ThePollTimerTicksOncePerStepOfRecordsAndTheFinishFollowsTheLastSample) {
  using std::chrono::milliseconds;
  const struct {
    int spsSel;
    milliseconds interval;  // one step of records: SamplesPerRead / SamplesPerSecond
  } rows[] = {
      {0, milliseconds(200)},  // 5 per second, one record a step
      {5, milliseconds(10)},   // 100 per second
      {8, milliseconds(10)},   // 800 per second, 8 records a step
      {12, milliseconds(6)},   // 4800 per second, 32 records in 6.7 ms
  };
  for (const auto& r : rows) {
    AdUnitSetting ad;
    ad.spsSel = r.spsSel;
    WriteDefaults({}, {}, ad);
    Open();
    Press();
    ASSERT_EQ(window->CurrentPhase(), Phase::Measuring);
    EXPECT_EQ(window->PollInterval(), r.interval) << r.spsSel;
    EXPECT_GE(StallGuard::LimitFor(r.spsSel), StallGuard::kStallPolls * window->PollInterval())
        << "the stall rule counts the window's poll periods";
    // The timer as it fires: one interval of time per tick.
    const auto started = clock.Now();
    while (window->CurrentPhase() == Phase::Measuring) {
      time.now += window->PollInterval();
      clock.Advance(window->PollInterval());
      window->AcquireTick();
    }
    const auto lastSampleDue = std::chrono::nanoseconds(std::chrono::seconds(1024)) / SamplesPerSecond(r.spsSel);
    EXPECT_LE(clock.Now() - started, lastSampleDue + r.interval) << "within one poll: " << r.spsSel;
    EXPECT_TRUE(window->State().fDataValid) << r.spsSel;
    EXPECT_FALSE(AnythingTicks()) << "idle again: no timer";
  }
}

// The rightmost column of the waveform that holds the (red) curve, or -1.
int LastCurveColumn(const QImage& image) {
  constexpr QRgb kCurve = 0xFF0000;
  for (int x = image.width() - 1; x >= 0; --x)
    for (int y = 0; y < image.height(); ++y)
      if ((image.pixel(x, y) & 0xFFFFFF) == kCurve) return x;
  return -1;
}

TEST_F(WindowTest, TheWaveformGrowsDuringTheAcquisitionAndTheFinishDrawsTheRecord) {
  AdUnitSetting ad;
  ad.spsSel = 8;  // 800 per second: 1024 samples in 1.28 s, several redraws of the samples so far
  WriteDefaults({}, {}, ad);
  Open();
  const auto waveLabel = [&](int which) {
    return window->Controls().graphLabels[static_cast<std::size_t>(kFreqCount + kDbLevelCount + which)]->text();
  };
  const auto run = [&](int until) {  // the timer as it fires, until this many samples are in
    while (window->CurrentPhase() == Phase::Measuring && window->Session().SampleIndex() < until) {
      time.now += window->PollInterval();
      clock.Advance(window->PollInterval());
      window->AcquireTick();
    }
  };
  EXPECT_FALSE(window->Progress().Shown()) << "idle: hidden";
  Press();
  ASSERT_EQ(window->CurrentPhase(), Phase::Measuring);
  EXPECT_TRUE(window->Progress().Shown());
  EXPECT_EQ(window->Progress().Line->text().toStdString(), "0%  残り 0:02") << "1.28 s at the nominal rate";

  run(512);
  const QImage& wave = window->Graph().WaveBitmap();
  const int last = LastCurveColumn(wave);
  EXPECT_GT(last, wave.width() / 4) << "the curve has grown with the samples";
  EXPECT_LE(last, WaveSampleX(wave.width(), window->Session().SampleIndex() - 1, 1024))
      << "no further than the samples so far reach on the whole record's axis";
  EXPECT_EQ(waveLabel(kTimeE).toStdString(), FormatTime(SamplePeriodMs(8) * 1024.0F));
  const int percent = window->Progress().Bar->value();
  EXPECT_GT(percent, 25);
  EXPECT_LE(percent, window->Session().SampleIndex() * 100 / 1024);
  EXPECT_TRUE(window->Progress().Line->text().startsWith(QString::number(percent) + "%  残り 0:0"));
  EXPECT_EQ(Panel(1), "計測中です") << "the status bar's texts stay the sequencer's own";

  run(1024);
  ExpectIdle(*window, "finished");
  ASSERT_TRUE(window->State().fDataValid);
  EXPECT_FALSE(window->Progress().Shown());
  const QImage finished = wave.copy();
  const QString finishedMax = waveLabel(kVoltMax);
  const QString finishedEnd = waveLabel(kTimeE);
  window->Graph().DrawWave(false);
  window->Graph().UpdateLabels();
  EXPECT_EQ(wave, finished) << "exactly the drawing of the finished record";
  EXPECT_EQ(waveLabel(kVoltMax), finishedMax);
  EXPECT_EQ(waveLabel(kTimeE), finishedEnd);
  EXPECT_GE(LastCurveColumn(finished), WaveSampleX(wave.width(), 1023, 1024));

  // A stopped acquisition leaves the empty graph and the labels it began with.
  Press();
  const QImage empty = wave.copy();
  const QString emptyMax = waveLabel(kVoltMax);
  run(256);
  EXPECT_NE(wave, empty);
  Press();
  ExpectIdle(*window, "stopped");
  EXPECT_EQ(wave, empty);
  EXPECT_EQ(waveLabel(kVoltMax), emptyMax);
  EXPECT_FALSE(window->Progress().Shown());
}

TEST_F(WindowTest, StopDuringTheAcquisition) {
  WriteDefaults();
  Open();
  Press();
  Tick(3);
  Press();
  ExpectIdle(*window, "stopped");
  EXPECT_TRUE(unit->Sent("AX"));
  EXPECT_EQ(Panel(1), "計測中止しました");
  EXPECT_FALSE(window->State().fDataValid);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(WindowTest, StopDuringTheSetUpEndsItAtOnce) {
  WriteDefaults();
  Open();
  onWait = [this](int turn) {
    if (turn == 3) Press();  // in the middle of the unit's set-up
  };
  Press();
  ExpectIdle(*window, "stopped in the set-up");
  EXPECT_EQ(Panel(1), "計測中止しました");
  EXPECT_FALSE(unit->IsOpen());
  EXPECT_FALSE(unit->Sent("A000400")) << "nothing was started";
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(WindowTest, CloseDuringTheSetUpWaitsForItThenStops) {
  WriteDefaults();
  Open();
  window->show();
  onWait = [this](int turn) {
    if (turn == 3) {
      EXPECT_FALSE(window->close()) << "refused while the unit is set up";
    }
  };
  Press();
  EXPECT_FALSE(window->isVisible());
  ExpectIdle(*window, "closed after the set-up");
  EXPECT_TRUE(unit->Sent("A000400"));
  EXPECT_TRUE(unit->Sent("AX"));
}

TEST_F(WindowTest, CloseDuringTheAcquisitionStopsTheUnitBeforeTheSettingsAreWritten) {
  WriteDefaults();
  Open();
  window->show();
  Press();
  Tick(3);
  fs::remove(settingsPath);
  bool writtenBeforeAbort = true;
  unit->onAbort = [&] { writtenBeforeAbort = fs::exists(settingsPath); };
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(writtenBeforeAbort);
  EXPECT_TRUE(fs::exists(settingsPath));
  ExpectIdle(*window, "closed");
}

TEST_F(WindowTest, ALostDisplayStopsTheUnitAndWritesTheSettingsWithoutABox) {
  WriteDefaults();
  Open();
  Press();
  Tick(3);
  ASSERT_EQ(window->CurrentPhase(), Phase::Measuring);
  fs::remove(settingsPath);
  window->EndWithoutDisplay();
  EXPECT_TRUE(unit->Sent("AX"));
  EXPECT_TRUE(fs::exists(settingsPath));
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(WindowTest, AWindowClosedBeforeItsStartUpWorkLeavesTheSettingsFileAsItWas) {
  WriteBytes(settingsPath, "a hand-edited file");
  for (const bool lostDisplay : {false, true}) {
    Open(kQuietSine, false);
    if (lostDisplay) {
      window->EndWithoutDisplay();
    } else {
      EXPECT_TRUE(window->close());
      window->StartupWork();
      EXPECT_FALSE(window->isVisible()) << "a closed window is not shown by its start-up work";
    }
    EXPECT_EQ(ReadBytes(settingsPath), "a hand-edited file") << lostDisplay;
  }
}

TEST_F(WindowTest, ResultsPanelShowsTheSessionsResults) {
  WriteDefaults();
  Open();
  Measure();
  const MeasurementResults results = ResultsOf(window->State());
  MainFormControls& c = window->Controls();
  EXPECT_EQ(c.EditRMS->text().toStdString(), results.rmsText);
  EXPECT_EQ(c.LabelRMS->text().toStdString(), results.rmsUnit);
  EXPECT_EQ(c.EditPeakVolt->text().toStdString(), results.peakTexts[0]);
  EXPECT_EQ(c.EditPeakdB->text().toStdString(), results.peakTexts[1]);
  EXPECT_EQ(c.EditPeakHz->text().toStdString(), "600.000");
  EXPECT_EQ(c.LabelPeakVolt->text().toStdString(), results.peakUnit);
  EXPECT_EQ(c.LabelPeakdB->text().toStdString(), "dBV");

  c.PeakFwdBtn->click();
  EXPECT_EQ(c.EditPeakHz->text().toStdString(), "604.688");
  c.PeakBackBtn->click();
  c.PeakBackBtn->click();
  EXPECT_EQ(c.EditPeakHz->text().toStdString(), "595.313");

  // The status bar turns between the frequency-step line and the statistics.
  EXPECT_EQ(Panel(2), results.statsText);
  c.StatusBar1->Clicked();
  EXPECT_EQ(Panel(2), "Δｆ= 4.688Hz / 絶対値[dBV] 表示 / 窓関数=ハニング窓");
  c.StatusBar1->Clicked();
  EXPECT_EQ(Panel(2), results.statsText);
}

TEST_F(WindowTest, AClickOnTheLinearSpectrumReadsTheLineUnderTheMouse) {
  FftSetting linear;
  linear.fLogGraph = 0;  // 0 … 2400 Hz
  WriteDefaults(linear);
  Open();
  Measure();
  PaintBox& box = *window->Controls().PaintBox1;
  for (const int x : {box.width() / 4, box.width() / 2, box.width() - 1}) {
    box.MousePressed(x, 0);
    const double underMouse = 2400.0 * x / box.width();
    EXPECT_NEAR(window->Controls().EditPeakHz->text().toDouble(), underMouse, 4.6875 / 2) << x;
  }
}

TEST_F(WindowTest, PeakButtonsAndClicksDoNothingWithoutAMeasurement) {
  WriteDefaults();
  Open();
  window->Controls().PeakFwdBtn->click();
  window->Controls().PaintBox1->MousePressed(100, 0);
  EXPECT_EQ(window->Controls().EditPeakHz->text().toStdString(), "---");
  EXPECT_EQ(window->Controls().EditRMS->text().toStdString(), "---");
}

TEST_F(WindowTest, AutomaticSaveAtTheEndOfAMeasurement) {
  WriteBytes(dir / "kept.DTA", "an older file");
  const struct {
    std::string target;
    bool answer;  // to the overwrite question
    const char* box;
    bool saved;
    const char* caption;
  } rows[] = {
      {(dir / "auto.DTA").string(), false, nullptr, true, "Zemtra : auto.DTA"},
      {(dir / "kept.DTA").string(), false, nullptr, false, "Zemtra : kept.DTA"},
      {"D:\\data\\run1.DTA", false, "データ保存できませんでした", false, "Zemtra : run1.DTA"},  // from Windows
  };
  for (const auto& r : rows) {
    SaveSetting save;
    save.fSaveDataFile = 1;
    save.DataFileName = r.target;
    WriteDefaults({}, save);
    prompter.messages.clear();
    prompter.answers = {r.answer};
    Open();
    Measure();
    EXPECT_EQ(prompter.messages.size(), r.box == nullptr ? 0U : 1U) << r.target;
    if (r.box != nullptr && !prompter.messages.empty()) {
      EXPECT_EQ(prompter.messages[0].text, r.box);
    }
    EXPECT_TRUE(window->State().fDataValid) << "kept and shown: " << r.target;
    EXPECT_EQ(window->State().fDataSaved, r.saved) << r.target;
    EXPECT_EQ(window->windowTitle().toStdString(), r.caption) << r.target;
    EXPECT_EQ(window->State().saveSetting.DataFileName, r.target) << "kept byte for byte";
  }
  EXPECT_EQ(ReadBytes(dir / "kept.DTA"), "an older file");
}

TEST_F(WindowTest, DefaultSettingsFileAtStartAndClose) {
  Open();
  EXPECT_TRUE(fs::exists(settingsPath)) << "missing: written with the defaults";
  EXPECT_TRUE(prompter.messages.empty());

  settingsPath = dir / "missing" / "Zemtraini.prf";  // cannot be written
  Open();
  ASSERT_EQ(prompter.messages.size(), 1U);
  EXPECT_EQ(prompter.messages[0].text, "初期設定ファイルを保存できませんでした");
  EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Warning);
  EXPECT_EQ(window->State().fftSetting.DataCountMax, 65536) << "the defaults";
  window->close();
  EXPECT_EQ(prompter.messages.size(), 2U) << "again at close";
}

TEST_F(WindowTest, CaptionNamesTheDataFileAsTheFileHoldsIt) {
  const struct {
    const char* dataFileName;
    const char* caption;
  } rows[] = {
      {"", "Zemtra : "},
      {"/data/run1.DTA", "Zemtra : run1.DTA"},
      {"D:\\data\\run1.DTA", "Zemtra : run1.DTA"},
      {"/data/計測.DTA", "Zemtra : 計測.DTA"},
      {"/data/\x83\x65\x83\x58\x83\x67.DTA", "Zemtra : テスト.DTA"},  // Shift-JIS from Windows
      {"/data/\xff.DTA", "Zemtra : \xef\xbf\xbd.DTA"},                // neither: U+FFFD
  };
  for (const auto& r : rows) {
    SaveSetting save;
    save.DataFileName = r.dataFileName;
    WriteDefaults({}, save);
    Open();
    EXPECT_EQ(window->windowTitle().toStdString(), r.caption) << r.dataFileName;
    EXPECT_EQ(window->State().saveSetting.DataFileName, r.dataFileName) << "kept byte for byte";
  }
}

}  // namespace
