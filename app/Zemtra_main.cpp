#include "app/Zemtra_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <thread>
#include <utility>

#include "adc/Amp_setting.h"
#include "app/Caption.h"
#include "app/NoiseAnalysisWindow.h"
#include "app/RecoverDialog.h"
#include "display/Fft_setting.h"
#include "display/PaintBox.h"
#include "model/UnitTables.h"
#include "ui/FileText.h"
#include "ui/Myversion.h"
#include "ui/QtPrompter.h"
#include "ui/StatusBar.h"
#include "ui/UiFont.h"

namespace {

// A reply wait sleeps this long between looks at the link once the events have run.
constexpr auto kReplyWaitSleep = std::chrono::microseconds(200);
constexpr int kLastStatusPanel = 2;

}  // namespace

TFormMain::TFormMain(MainFormEnvironment environment, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint),
      env_(std::move(environment)),
      ownPrompter_(env_.prompter == nullptr || env_.printPrompter == nullptr ? std::make_unique<QtPrompter>(this)
                                                                             : nullptr),
      prompter_(env_.prompter != nullptr ? *env_.prompter : *ownPrompter_),
      printPrompter_(env_.printPrompter != nullptr ? *env_.printPrompter : *ownPrompter_),
      message_(prompter_, kUnitName, kProgramCaption),
      session_(prompter_, env_.steadyClock, env_.wallClock),
      unit_(
          env_.driver,
          [this] {
            QCoreApplication::processEvents();
            if (env_.waitIdle) {
              env_.waitIdle();
            } else {
              std::this_thread::sleep_for(kReplyWaitSleep);
            }
          },
          env_.steadyClock),
      form_(new QWidget(this)),
      controls_(*form_),
      menu_(*menuBar()),
      status_(*controls_.StatusBar1, kUnitName, kLastStatusPanel),
      graph_([this] { return form_->size(); }, *controls_.PaintBox1, *controls_.PaintBox3, &SamplePeriodMs,
             GraphLabelsOf(controls_.graphLabels), session_.State().refData, session_.State().curData,
             session_.State().measAdSetting, session_.State().fftSetting),
      results_(controls_, graph_, status_, session_.State()),
      progress_(*form_),
      fftSetting_(new TFormFFTSetting(prompter_, this)),
      ampSetting_(new TFormAmpSetting(this)),
      version_(new TFormVersion(this)),
      seriesSetting_(new TFormSeriesSetting(this)),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      progressThrottle_(kProgressInterval, env_.steadyClock),
      liveThrottle_(kLiveViewPeriod, env_.steadyClock) {
  setFont(UiFont());
  setWindowTitle(QString::fromLatin1(kProgramCaption));
  form_->setFixedSize(MainFormControls::kClientWidth, MainFormControls::kClientHeight);
  setCentralWidget(form_);
  // The form's fixed size: neither dragging nor maximising changes it.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  results_.ClearResults();
  session_.SetJournalDirectory(env_.journalDirectory);
  pollTimer_.setSingleShot(true);
  ConnectCommands();
  QTimer::singleShot(0, this, &TFormMain::StartupWork);
}

TFormMain::~TFormMain() = default;

void TFormMain::ConnectCommands() {
  const auto guarded = [this](void (TFormMain::*slot)()) {
    return [this, slot] { Guarded([&] { (this->*slot)(); }); };
  };
  connect(controls_.MeasureStartBtn, &QPushButton::clicked, this, guarded(&TFormMain::MeasureStartBtnClick));
  connect(menu_.MenuMeasureStart, &QAction::triggered, this, guarded(&TFormMain::MenuMeasureStartClick));
  connect(menu_.MenuFileExit, &QAction::triggered, this, guarded(&TFormMain::MenuFileExitClick));
  connect(menu_.MenuHelpVersion, &QAction::triggered, this, guarded(&TFormMain::MenuHelpVersionClick));
  connect(menu_.MenuAverageMeasure, &QAction::triggered, this, guarded(&TFormMain::MenuAverageMeasureClick));
  connect(menu_.MenuContinuousMeasure, &QAction::triggered, this, guarded(&TFormMain::MenuContinuousMeasureClick));
  connect(menu_.MenuFileNew, &QAction::triggered, this, guarded(&TFormMain::MenuFileNewClick));
  connect(menu_.MenuDataLoad, &QAction::triggered, this, guarded(&TFormMain::MenuDataLoadClick));
  connect(menu_.MenuDataSave, &QAction::triggered, this, guarded(&TFormMain::MenuDataSaveClick));
  connect(menu_.MenuTextSave, &QAction::triggered, this, guarded(&TFormMain::MenuTextSaveClick));
  connect(menu_.MenuDataRecover, &QAction::triggered, this, guarded(&TFormMain::MenuDataRecoverClick));
  connect(menu_.MenuRefLoadFile, &QAction::triggered, this, guarded(&TFormMain::MenuRefLoadFileClick));
  connect(menu_.MenuRefClear, &QAction::triggered, this, guarded(&TFormMain::MenuRefClearClick));
  connect(menu_.MenuDispSetting, &QAction::triggered, this, guarded(&TFormMain::MenuDispSettingClick));
  connect(menu_.MenuADUnitSetting, &QAction::triggered, this, guarded(&TFormMain::MenuADUnitSettingClick));
  connect(menu_.MenuOpenSettingFile, &QAction::triggered, this, guarded(&TFormMain::MenuOpenSettingFileClick));
  connect(menu_.MenuSaveSettingFile, &QAction::triggered, this, guarded(&TFormMain::MenuSaveSettingFileClick));
  connect(menu_.MenuFilePrintSetting, &QAction::triggered, this, guarded(&TFormMain::MenuFilePrintSettingClick));
  connect(menu_.MenuFilePrint, &QAction::triggered, this, guarded(&TFormMain::MenuFilePrintClick));
  connect(menu_.MenuNoiseAnalysis, &QAction::triggered, this, guarded(&TFormMain::MenuNoiseAnalysisClick));
  connect(&pollTimer_, &QTimer::timeout, this, guarded(&TFormMain::AcquireTick));
  connect(controls_.PeakFwdBtn, &QPushButton::clicked, this,
          [this] { Guarded([this] { results_.PeakFwdBtnClick(); }); });
  connect(controls_.PeakBackBtn, &QPushButton::clicked, this,
          [this] { Guarded([this] { results_.PeakBackBtnClick(); }); });
  connect(controls_.PaintBox1, &PaintBox::MousePressed, this,
          [this](int x, int /*y*/) { Guarded([this, x] { results_.SpectrumPressed(x); }); });
  connect(controls_.StatusBar1, &StatusBar::Clicked, this, [this] { Guarded([this] { results_.StatusBarClick(); }); });
}

void TFormMain::Guarded(const std::function<void()>& work) {
  try {
    work();
  } catch (const std::exception& error) {
    // During the set-up its caller is still on the stack below this slot and ends the
    // phase itself; otherwise whatever ran is stopped and the commands come back.
    if (phase_ != Phase::Starting) {
      if (phase_ != Phase::Idle) status_.ClearMeasureNotice();  // the measurement ended here
      session_.Stop();
      ReturnToIdle();
    }
    prompter_.ShowMessage(error.what(), kProgramCaption, MessageIcon::Error);
  }
}

// ---- Start-up and close ---------------------------------------------------------------

void TFormMain::StartupWork() {
  if (!startupPending_) return;
  startupPending_ = false;
  Guarded([this] {
    LoadDefaultSettings();
    UpdateTitle();
    RelayoutGraphs();
    graph_.Paint();
    show();
    controls_.MeasureStartBtn->setFocus();
    OfferRecovery();
  });
}

void TFormMain::LoadDefaultSettings() {
  if (session_.Settings().LoadDefaultSettings(env_.settingsPath) == SettingsCommands::DefaultsOutcome::WriteFailed) {
    message_.IniSaveError();
  }
}

void TFormMain::SaveDefaultSettings() {
  if (!session_.Settings().SaveDefaultSettings(env_.settingsPath)) message_.IniSaveError();
}

void TFormMain::closeEvent(QCloseEvent* event) {
  if (phase_ == Phase::Starting) {
    closePending_ = true;
    event->ignore();
    return;
  }
  Guarded([this] {
    if (phase_ == Phase::Measuring) StopMeasurement();
    // Closed before the start-up work (by a signal): the settings were never read,
    // so the file keeps what it holds.
    if (!startupPending_) SaveDefaultSettings();
  });
  startupPending_ = false;  // a window closed is never shown again
  event->accept();
  emit Closed();
}

void TFormMain::EndWithoutDisplay() {
  session_.Stop();  // a running acquisition gets "AX"
  if (startupPending_) return;
  // No box can be shown any more: a file that cannot be written stays as it was.
  session_.Settings().SaveDefaultSettings(env_.settingsPath);
}

void TFormMain::MenuFileExitClick() { close(); }

void TFormMain::MenuNoiseAnalysisClick() {
  if (noiseAnalysis_ == nullptr) {
    noiseAnalysis_ = new TFormNoiseAnalysis(session_, prompter_, this);
    connect(this, &TFormMain::MeasurementChanged, noiseAnalysis_, &TFormNoiseAnalysis::MeasurementChanged);
  }
  noiseAnalysis_->show();
  noiseAnalysis_->raise();
  noiseAnalysis_->activateWindow();
}

void TFormMain::MenuHelpVersionClick() {
  version_->exec();
  activateWindow();
}

void TFormMain::RaiseWindow() {
  showNormal();
  raise();
  activateWindow();
}

// ---- Caption ------------------------------------------------------------------------

void TFormMain::UpdateTitle() { setWindowTitle(FileText(CaptionText(session_.State().saveSetting))); }

void TFormMain::UpdateTitleIfAutoSave() {
  if (CaptionFollowsAutoSave(session_.State().saveSetting)) UpdateTitle();
}

// ---- Command states -----------------------------------------------------------------

// The 解析 menu stays enabled: its window disturbs no measurement, and is what one
// watches during one.
void TFormMain::EnableCommands(bool enabled) {
  for (QMenu* menu :
       {menu_.MenuFile, menu_.MenuMeasure, menu_.MenuData, menu_.MenuSetting, menu_.MenuHelp, menu_.MenuRef}) {
    menu->menuAction()->setEnabled(enabled);
  }
  menu_.MenuMeasureStart->setEnabled(enabled);
  menu_.MenuAverageMeasure->setEnabled(enabled);
  menu_.MenuContinuousMeasure->setEnabled(enabled);
  controls_.PeakBackBtn->setEnabled(enabled);
  controls_.PeakFwdBtn->setEnabled(enabled);
}

void TFormMain::SetMeasuringState() {
  controls_.MeasureStartBtn->setText(tr("計測中止"));
  EnableCommands(false);
}

void TFormMain::SetIdleState() {
  controls_.MeasureStartBtn->setText(tr("計測開始"));
  EnableCommands(true);
}

void TFormMain::LockCommands() {
  controls_.MeasureStartBtn->setEnabled(false);
  EnableCommands(false);
}

void TFormMain::UnlockCommands() {
  controls_.MeasureStartBtn->setEnabled(true);
  EnableCommands(true);
  controls_.MeasureStartBtn->setFocus();
}

// ---- The measurement sequencer ------------------------------------------------------

void TFormMain::MeasureStartBtnClick() {
  switch (phase_) {
    case Phase::Idle:
      StartSeries({});
      break;
    case Phase::Starting:
      session_.Stop();  // the set-up ends at its current step; StartAcquisition reports it
      break;
    case Phase::Measuring:
      StopMeasurement();
      status_.ShowStopped();
      SaveAfterStop();
      break;
    case Phase::Finishing:
      break;
  }
}

void TFormMain::MenuMeasureStartClick() { StartSeries({}); }

void TFormMain::MenuAverageMeasureClick() {
  if (seriesSetting_->Ask(seriesChoices_) == TFormSeriesSetting::Answer::Start) StartSeries(seriesChoices_.average);
  activateWindow();
}

void TFormMain::MenuContinuousMeasureClick() { StartSeries(seriesChoices_.Continuous()); }

void TFormMain::StartSeries(const SeriesPlan& plan) {
  if (phase_ != Phase::Idle) return;
  // The series averages the density with the segment the analysis window shows.
  if (noiseAnalysis_) session_.SetDensitySegmentLength(noiseAnalysis_->Choice().segmentLength);
  session_.BeginSeries(plan);
  StartAcquisition();
}

void TFormMain::StartAcquisition() {
  phase_ = Phase::Starting;
  seriesShown_ = session_.Series().Finished() > 0;
  SetMeasuringState();
  controls_.MeasureStartBtn->setEnabled(true);
  // The finish locked the button, which took the focus away: it is the stop button again.
  if (seriesShown_) controls_.MeasureStartBtn->setFocus();
  status_.ClearMeasurePanels();
  MeasurementSession::StartResult result;
  try {
    result = session_.Start(unit_, session_.Series().Next());
  } catch (...) {
    ReturnToIdle();
    throw;
  }
  ShowStartOutcome(result);
  if (closePending_) close();
}

void TFormMain::ShowStartOutcome(const MeasurementSession::StartResult& result) {
  using StartOutcome = MeasurementSession::StartOutcome;
  if (result.setup.Ok() && result.outcome != StartOutcome::Stopped) {
    status_.ShowUnitInfo(result.setup.unitName, result.setup.version, result.setup.description);
    if (!seriesShown_) ClearDisplay();  // a series keeps its average in view
  }
  switch (result.outcome) {
    case StartOutcome::Started:
      phase_ = Phase::Measuring;
      progressThrottle_.Reset();
      liveThrottle_.Reset();
      timeLeft_.emplace(session_.SampleCount(), SamplesPerSecond(session_.State().measAdSetting.spsSel),
                        env_.steadyClock);
      ShowAcquisitionProgress(0);
      status_.ShowMeasuring();
      status_.ShowStarting();
      ShowJournalWarning();  // a journal that could not be opened
      UpdateTitleIfAutoSave();
      // Rounded down: a tick a little early costs one empty look, one late a step's delay.
      pollInterval_ = std::max(kShortestPoll, std::chrono::floor<std::chrono::milliseconds>(
                                                  StallGuard::PollPeriodFor(session_.State().measAdSetting.spsSel)));
      pollTimer_.start(pollInterval_);
      return;
    case StartOutcome::Stopped:
      status_.ShowStopped();
      ReturnToIdle();
      SaveAfterStop();
      return;
    case StartOutcome::NotFound:
      status_.ShowNotFound();
      message_.UnitNotFound();
      break;
    case StartOutcome::NoResponse:
      status_.ShowNoResponse();
      message_.UnitNoResponse();
      break;
    case StartOutcome::StartRefused:
      status_.ShowCommandError();
      message_.CommandSendError();
      break;
    case StartOutcome::InvalidCount:  // only a setting from outside the dialogs gives one
      message_.SettingFileError();
      break;
    case StartOutcome::SetupFailed:  // silently, as the unit's protocol prescribes
      break;
  }
  ReturnToIdle();
}

void TFormMain::StopMeasurement() {
  session_.Stop();
  ReturnToIdle();
}

void TFormMain::ReturnToIdle() {
  pollTimer_.stop();
  timeLeft_.reset();
  if (seriesShown_ && session_.State().fDataValid) {
    // The series ended before it was complete: its finished acquisitions' average.
    RedrawData();
    results_.ShowTopPeak();
    results_.ShowRMS();
  } else if (liveShown_ && !session_.State().fDataValid) {
    ClearLiveView();
  }
  liveShown_ = false;
  seriesShown_ = false;
  phase_ = Phase::Idle;
  SetIdleState();
  controls_.MeasureStartBtn->setEnabled(true);
  ShowAverageNote();
}

void TFormMain::SaveAfterStop() {
  // The stop is how 連続計測 ends: its last finished measurement is saved as a
  // measurement's end saves it. Any other stop keeps what it has unsaved.
  if (session_.Series().Plan().mode == SeriesPlan::Mode::Continuous) AutoSaveData();
}

void TFormMain::ShowAverageNote() {
  if (phase_ != Phase::Idle) return;
  const SessionState& state = session_.State();
  const SpectrumAverage& average = state.curAverage;
  if (!state.fDataValid || average.kind == SpectrumAveraging::None) {
    progress_.Hide();
    return;
  }
  // "RMS平均 3 / 10", or without the count asked for where that does not fit.
  const auto note = [&](const QString& kind) {
    progress_.ShowNote(tr("%1 %2 / %3").arg(kind).arg(average.spectra).arg(average.planned),
                       tr("%1 %2").arg(kind).arg(average.spectra));
  };
  switch (average.kind) {
    case SpectrumAveraging::Rms:
      note(tr("RMS平均"));
      break;
    case SpectrumAveraging::PeakHold:
      note(tr("ピーク"));
      break;
    case SpectrumAveraging::Exponential:
      progress_.ShowNote(tr("指数平均 %1回").arg(average.depth), tr("指数 %1回").arg(average.depth));
      break;
    case SpectrumAveraging::None:
      break;
  }
}

void TFormMain::AcquireTick() {
  using PollOutcome = MeasurementSession::PollOutcome;
  if (phase_ != Phase::Measuring) return;
  const auto budgetEnd = std::chrono::steady_clock::now() + kPollBudget;
  for (;;) {
    const PollOutcome outcome = session_.Poll();
    ShowJournalWarning();
    switch (outcome) {
      case PollOutcome::Progress:
        ShowProgress();
        ShowLiveView();
        if (std::chrono::steady_clock::now() < budgetEnd) continue;
        pollTimer_.start(0);  // more may wait: read on once the events have run
        return;
      case PollOutcome::Waiting:
        pollTimer_.start(pollInterval_);
        return;
      case PollOutcome::AllIn:
        FinishMeasurement();
        return;
      case PollOutcome::ReadFailed:  // also a unit that stopped sending
      case PollOutcome::NotRunning:
        EndWithReadError();
        return;
    }
  }
}

void TFormMain::ShowJournalWarning() {
  const std::string warning = session_.TakeJournalWarning();
  if (warning.empty()) return;
  std::fprintf(stderr, "zemtra: %s\n", warning.c_str());
  // In place of "計測中", which the progress line beside it still shows to be true.
  status_.ShowText(tr("途中データを記録できません（計測は続けます）"), TmyStatus::kMeasurePanel);
}

void TFormMain::ShowProgress() {
  if (progressThrottle_.Due()) status_.ShowProgress(session_.SampleIndex(), session_.LastCode());
}

void TFormMain::ShowLiveView() {
  if (!liveThrottle_.Due()) return;
  const SessionState& state = session_.State();
  const int done = session_.SampleIndex();
  ShowAcquisitionProgress(done);
  // A later acquisition of a series leaves the last finished one in view until it
  // finishes itself.
  if (state.fftSetting.fWaveGraph != 1 || seriesShown_) return;
  graph_.DrawWaveSoFar(waveSoFar_.Take(state.curData.adCode, done, state.measAdSetting), session_.SampleCount());
  liveShown_ = true;
}

void TFormMain::ShowAcquisitionProgress(int done) {
  if (!timeLeft_) return;
  const SeriesPlan& plan = session_.Series().Plan();
  if (plan.mode == SeriesPlan::Mode::Single) {
    progress_.Show(timeLeft_->PercentDone(done), timeLeft_->SecondsLeft(done));
    return;
  }
  const int k = session_.Series().Finished() + 1;
  const int n = plan.mode == SeriesPlan::Mode::Average ? plan.count : 0;
  // The acquisitions still to come take as long as the rate says.
  const double later = static_cast<double>(n - std::min(n, k)) * session_.SampleCount() /
                       SamplesPerSecond(session_.State().measAdSetting.spsSel);
  progress_.ShowSeries(k, n, timeLeft_->PercentDone(done), timeLeft_->SecondsLeft(done) + later);
}

void TFormMain::ClearLiveView() {
  graph_.ClearAll();
  graph_.Paint();
  graph_.UpdateLabels();
  graph_.ArrangeGraphs();
}

void TFormMain::EndWithReadError() {
  status_.ShowMeasureError();
  ReturnToIdle();
}

void TFormMain::FinishMeasurement() {
  // The boxes below are modal; until the last step nothing may start a measurement
  // that would refill the arrays under them.
  phase_ = Phase::Finishing;
  controls_.MeasureStartBtn->setText(tr("計測開始"));
  LockCommands();
  if (session_.Finish() == MeasurementSession::FinishOutcome::LevelError) {
    status_.ShowLevelError();
    message_.InputLevelError();
  } else {
    seriesShown_ = false;  // the record holds the series' average again
    RedrawData();
    results_.ShowTopPeak();
    results_.ShowRMS();
    const bool more = session_.Series().Running();
    if (!more) AutoSaveData();
    status_.ShowFinished();
    results_.ShowStatistics();
    if (more) {
      StartAcquisition();
      return;
    }
  }
  ReturnToIdle();
  UnlockCommands();
}

void TFormMain::AutoSaveData() {
  switch (session_.Data().AutoSave()) {
    case DataCommands::AutoSaveOutcome::Written:
      UpdateTitle();
      break;
    case DataCommands::AutoSaveOutcome::Failed:
      message_.DataSaveError();
      break;
    case DataCommands::AutoSaveOutcome::NotDue:
    case DataCommands::AutoSaveOutcome::Declined:
      break;
  }
}

void TFormMain::RelayoutGraphs() {
  graph_.UpdateLabels();
  graph_.ArrangeGraphs();
  graph_.Resize();
  graph_.ClearAll();
}

void TFormMain::ClearDisplay() {
  graph_.ClearAll();
  graph_.Paint();
  results_.ClearResults();
  ShowMeasurementChanged();
  ShowAverageNote();
}

void TFormMain::ShowMeasurementChanged() { emit MeasurementChanged(); }

void TFormMain::RedrawData() {
  ShowMeasurementChanged();
  const SessionState& state = session_.State();
  const bool wave = state.fftSetting.fWaveGraph == 1;
  if (state.fDataValid && state.fRefValid) {
    graph_.DrawSpectrumWithRef();
    if (wave) graph_.DrawWaveWithRef();
  } else if (state.fDataValid || state.fRefValid) {
    const bool isRef = !state.fDataValid;
    graph_.DrawSpectrum(isRef);
    if (wave) graph_.DrawWave(isRef);
  } else {
    ShowAverageNote();
    return;
  }
  if (wave) {
    graph_.UpdateLabels();
    graph_.ArrangeGraphs();
  }
  results_.ShowReadoutAgain();
  ShowAverageNote();
}
