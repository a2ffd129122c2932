// The window's series of acquisitions: 平均計測… and 連続計測 as states of its
// measurement sequencer.
#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include "WindowTestSupport.h"
#include "app/SeriesSetting.h"
#include "files/Journal.h"
#include "ui/StatusTexts.h"

namespace {

class SeriesWindowTest : public WindowTest {
 protected:
  // 平均計測… answered with n acquisitions and this averaging, then the button.
  void AskAverage(int n, bool peakHold, QPushButton* TFormSeriesSetting::*button = &TFormSeriesSetting::StartBtn) {
    auto* dialog = window->findChild<TFormSeriesSetting*>();
    ASSERT_NE(dialog, nullptr);
    QTimer::singleShot(0, dialog, [dialog, n, peakHold, button] {
      dialog->CountEdit->setValue(n);
      (peakHold ? dialog->PeakHoldBtn : dialog->RmsBtn)->setChecked(true);
      (dialog->*button)->click();
    });
    window->Menu().MenuAverageMeasure->trigger();
  }
  // Ticks until `done` holds or the sequencer leaves Measuring.
  void TickUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 100'000 && !done() && window->CurrentPhase() == Phase::Measuring; ++i) {
      window->AcquireTick();
      Advance();
    }
  }
  int Finished() const { return window->Session().Series().Finished(); }
  // Ticks into acquisition k (from 1) of the series, a few records in.
  void TickInto(int k) {
    TickUntil([&] { return Finished() == k - 1 && window->Session().SampleIndex() > 0; });
    ASSERT_EQ(window->CurrentPhase(), Phase::Measuring);
  }
  void ExpectIdle(const std::string& where) const {
    EXPECT_EQ(window->CurrentPhase(), Phase::Idle) << where;
    EXPECT_EQ(window->Controls().MeasureStartBtn->text().toStdString(), "計測開始") << where;
    EXPECT_TRUE(window->Controls().MeasureStartBtn->isEnabled()) << where;
    EXPECT_TRUE(window->Menu().MenuAverageMeasure->isEnabled()) << where;
    EXPECT_FALSE(window->PollTimerActive()) << where;
    EXPECT_EQ(window->State().fDataValid, window->State().curData.HasData()) << where;
  }
  std::string Line() const { return window->Progress().Line->text().toStdString(); }
  bool BarShown() const { return !window->Progress().Bar->isHidden(); }
  std::string Code0() const { return std::to_string(window->State().curData.adCode[0]); }

  // Every acquisition's samples as the unit sends them: a different noise each time.
  static constexpr const char* kNoise = "ch0=sine:600:1e-3,seed=5";
};

TEST_F(SeriesWindowTest, TheAnalysisMenuStandsBeforeHelpAndItsSeriesAreLockedWhileMeasuring) {
  WriteDefaults();
  Open();
  QStringList titles;
  for (QAction* action : window->menuBar()->actions()) titles << action->text();
  EXPECT_EQ(titles.join(" ").toStdString(),
            "ファイル(&F) 計測(&M) データ(&D) 設定(&S) 参照データ(&R) 解析(&A) ヘルプ(&H)");
  QStringList items;
  for (QAction* action : window->Menu().MenuAnalysis->actions()) items << action->text();
  EXPECT_EQ(items.join(" ").toStdString(), "ノイズ解析(&N) 平均計測(&V)… 連続計測(&C)");
  Press();
  EXPECT_FALSE(window->Menu().MenuAverageMeasure->isEnabled());
  EXPECT_FALSE(window->Menu().MenuContinuousMeasure->isEnabled());
  EXPECT_TRUE(window->Menu().MenuNoiseAnalysis->isEnabled()) << "its window may be watched meanwhile";
  Tick();
  EXPECT_TRUE(window->Menu().MenuAverageMeasure->isEnabled());
  EXPECT_TRUE(window->Menu().MenuContinuousMeasure->isEnabled());
  EXPECT_FALSE(window->Progress().Shown()) << "a single measurement: no note under the button";
}

TEST_F(SeriesWindowTest, AnAverageShowsKOfNThenItsAverageAndSavesTheLastSamplesOnce) {
  SaveSetting save;
  save.fSaveDataFile = 1;
  save.DataFileName = (dir / "auto.DTA").string();
  WriteDefaults({}, save);
  Open(kNoise);
  // 設定 keeps the choices and starts nothing; 取り消し keeps nothing.
  AskAverage(3, true, &TFormSeriesSetting::SetBtn);
  EXPECT_EQ(window->CurrentPhase(), Phase::Idle);
  AskAverage(7, false, &TFormSeriesSetting::CancelBtn);
  auto* dialog = window->findChild<TFormSeriesSetting*>();
  QTimer::singleShot(0, dialog, [dialog] {
    EXPECT_EQ(dialog->CountEdit->value(), 3) << "as 設定 left it";
    EXPECT_TRUE(dialog->PeakHoldBtn->isChecked());
    dialog->StartBtn->click();
  });
  window->Menu().MenuAverageMeasure->trigger();
  ASSERT_EQ(window->CurrentPhase(), Phase::Measuring);
  EXPECT_EQ(window->Controls().MeasureStartBtn->text().toStdString(), "計測中止");
  for (int k = 1; k <= 3; ++k) {
    TickInto(k);
    EXPECT_EQ(Line().rfind(std::to_string(k) + " / 3", 0), 0U) << Line();
    EXPECT_TRUE(BarShown());
    EXPECT_FALSE(fs::exists(dir / "auto.DTA")) << "saved only after the last";
  }
  Tick();
  ASSERT_EQ(window->CurrentPhase(), Phase::Idle);
  const SessionState& s = window->State();
  EXPECT_EQ(s.curAverage, (SpectrumAverage{SpectrumAveraging::PeakHold, 3, 0, 3}));
  EXPECT_EQ(Line(), "ピーク 3 / 3");
  EXPECT_FALSE(BarShown());
  EXPECT_EQ(Panel(1), status_text::kFinished);
  // The automatic save holds the last acquisition's samples.
  const std::string saved = ReadBytes(dir / "auto.DTA");
  EXPECT_NE(saved.find("\r\n" + Code0() + ","), std::string::npos);
  EXPECT_TRUE(s.fDataSaved);
  // A series that cannot start leaves the average and its note as they were.
  unit->refuseStart = true;
  window->Menu().MenuContinuousMeasure->trigger();
  EXPECT_EQ(Panel(0), "コマンド送信エラーです");
  EXPECT_EQ(Line(), "ピーク 3 / 3");
  // The note follows the record: a new data file drops it, and the note goes.
  prompter.files = {(dir / "next").string()};
  window->Menu().MenuFileNew->trigger();
  EXPECT_FALSE(window->State().fDataValid);
  EXPECT_FALSE(window->Progress().Shown());
}

// A stop at every phase of acquisition 2 of 3 keeps the first one's average, shown as
// such; in acquisition 1 it is the measurement's own stop.
TEST_F(SeriesWindowTest, AStopInEveryPhaseKeepsTheFinishedAcquisitions) {
  const struct {
    const char* name;
    int k;            // the acquisition stopped
    bool inTheSetUp;  // from the link's wait during its set-up
    bool kept;
  } rows[] = {
      {"set-up of the first", 1, true, false},
      {"first acquiring", 1, false, false},
      {"set-up of the second", 2, true, true},
      {"second acquiring", 2, false, true},
  };
  WriteDefaults();
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Open(kNoise);
    int aborts = 0;
    unit->onAbort = [&] { ++aborts; };
    bool pressed = false;
    if (r.inTheSetUp) {
      onWait = [&](int) {
        if (!pressed && window->CurrentPhase() == Phase::Starting && Finished() == r.k - 1) {
          pressed = true;
          Press();
        }
      };
    }
    AskAverage(3, false);
    if (!r.inTheSetUp) {
      TickInto(r.k);
      const int before = aborts;
      Press();
      EXPECT_EQ(aborts, before + 1) << "the unit got AX";
    } else {
      Tick();
      EXPECT_TRUE(pressed);
    }
    onWait = nullptr;
    ExpectIdle(r.name);
    EXPECT_EQ(Panel(1), status_text::kStopped);
    EXPECT_EQ(window->State().fDataValid, r.kept);
    if (r.kept) {
      EXPECT_EQ(window->State().curAverage, (SpectrumAverage{SpectrumAveraging::Rms, 1, 0, 3}));
      EXPECT_EQ(Line(), "RMS平均 1 / 3") << "the average of what finished, said as such";
      EXPECT_NE(window->Controls().LabelRMS->text().toStdString(), "---");
    } else {
      EXPECT_FALSE(window->Progress().Shown());
    }
  }
}

TEST_F(SeriesWindowTest, AFaultInAcquisitionKEndsTheSeriesWithItsTextsAndKeepsTheOthers) {
  const struct {
    const char* name;
    bool continuous;
    const char* config;
    int finished;  // acquisitions of 1024 before the fault
    const char* panel2;
  } rows[] = {
      {"average, garbled in the third", false, "noise=off,fault=garble@2100", 2, status_text::kMeasureError},
      {"continuous, unplugged in the fourth", true, "noise=off,fault=unplug@3100", 3, status_text::kMeasureError},
  };
  WriteDefaults();
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Open(r.config);
    if (r.continuous) {
      window->Menu().MenuContinuousMeasure->trigger();
    } else {
      AskAverage(5, false);
    }
    Tick();
    ExpectIdle(r.name);
    EXPECT_EQ(Panel(2), r.panel2);
    EXPECT_EQ(Finished(), r.finished);
    EXPECT_TRUE(window->State().fDataValid) << "the finished ones are kept";
    EXPECT_TRUE(prompter.messages.empty());
  }
}

TEST_F(SeriesWindowTest, ClosingDuringARunStopsTheUnitAndWritesTheSettings) {
  WriteDefaults();
  for (const bool inTheSetUp : {false, true}) {
    SCOPED_TRACE(inTheSetUp ? "in the second set-up" : "acquiring the second");
    Open(kNoise);
    window->show();
    int aborts = 0;
    unit->onAbort = [&] { ++aborts; };
    bool asked = false;
    if (inTheSetUp) {
      onWait = [&](int) {
        if (!asked && window->CurrentPhase() == Phase::Starting && Finished() == 1) {
          asked = true;
          EXPECT_FALSE(window->close()) << "deferred until the set-up has ended";
        }
      };
    }
    window->Menu().MenuContinuousMeasure->trigger();
    fs::remove(settingsPath);
    if (inTheSetUp) {
      Tick();
      EXPECT_TRUE(asked);
    } else {
      TickInto(2);
      EXPECT_TRUE(window->close());
    }
    onWait = nullptr;
    EXPECT_FALSE(window->isVisible());
    EXPECT_GE(aborts, 2) << "the first one's finish and the close";
    EXPECT_TRUE(unit->Sent("A000400"));
    EXPECT_TRUE(fs::exists(settingsPath));
    ExpectIdle("closed");
  }
}

TEST_F(SeriesWindowTest, ContinuousRunsUntilStoppedAndTheStopSavesTheLastFinishedOne) {
  SaveSetting save;
  save.fSaveDataFile = 1;
  save.DataFileName = (dir / "auto.DTA").string();
  WriteDefaults({}, save);
  Open(kNoise);
  auto* dialog = window->findChild<TFormSeriesSetting*>();
  QTimer::singleShot(0, dialog, [dialog] {
    dialog->ExponentialCheck->setChecked(true);
    dialog->DepthEdit->setValue(4);
    dialog->SetBtn->click();
  });
  window->Menu().MenuAverageMeasure->trigger();
  ASSERT_EQ(window->CurrentPhase(), Phase::Idle);
  window->Menu().MenuContinuousMeasure->trigger();
  TickInto(6);
  EXPECT_EQ(Line(), "6 回目");
  EXPECT_FALSE(fs::exists(dir / "auto.DTA"));
  Press();
  ExpectIdle("stopped");
  EXPECT_EQ(window->State().curAverage, (SpectrumAverage{SpectrumAveraging::Exponential, 5, 4, 0}));
  EXPECT_EQ(Line(), "指数平均 4回");
  EXPECT_NE(ReadBytes(dir / "auto.DTA").find("\r\n" + Code0() + ","), std::string::npos)
      << "the fifth one's samples, saved at the stop";
}

TEST_F(SeriesWindowTest, EveryAcquisitionIsJournalledAsTheCommandLineAveragesAre) {
  WriteDefaults();
  Open(kNoise);
  window.reset();
  QApplication::setFont(UiFont());
  MainFormEnvironment env(*unit);
  env.settingsPath = settingsPath;
  env.prompter = promptWith;
  env.printPrompter = promptWith;
  env.waitIdle = [this] { Advance(); };
  env.steadyClock = time.Clock();
  env.wallClock = [] { return kWallTime; };
  env.journalDirectory = dir / "state";
  window = std::make_unique<TFormMain>(std::move(env));
  window->StartupWork();
  AskAverage(2, false);
  Tick();
  const auto journals = ListJournals(dir / "state");
  ASSERT_EQ(journals.size(), 1U);
  const JournalRead read = ReadJournalFile(journals.front().path);
  ASSERT_TRUE(read.content);
  EXPECT_EQ(read.content->header.acquisitions, 2);
  EXPECT_EQ(read.content->codes.size(), 2048U);
  EXPECT_EQ(read.content->end, JournalEnd::Finished);
}

}  // namespace
