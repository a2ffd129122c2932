// TFormMain: the program's main window. It owns the measurement session (settings,
// records, flags, analysis and file commands), the converter unit, the graph, the
// status bar reporter, the message catalogue and the dialogs, and only drives and
// shows them:
//   - start-up work on the first turn of the event loop (default settings, caption,
//     empty graphs, then the window is shown);
//   - the measurement sequencer: set-up and start, polling on a single-shot timer
//     that runs only while a measurement runs, the finish with its boxes, and every
//     failure with the texts of the status bar and the catalogue; meanwhile the
//     waveform of the samples so far and the progress bar (app/ProgressView.h);
//   - series of acquisitions (解析(&A): 平均計測… and 連続計測, app/MeasurementSeries.h):
//     after each acquisition's finish the next one starts at once, the display showing
//     the series' average meanwhile; a stop or a failure ends the series with the
//     finished acquisitions' average shown, the automatic save comes after the last
//     acquisition of an average and after the stop of 連続計測;
//   - the results panel (app/ResultsPanel.h) and the menu commands on files,
//     settings, the reference and printing (app/MenuCommands.cpp), whose file and
//     print dialogs and boxes go through the prompters;
//   - the companion noise analysis window (app/NoiseAnalysisWindow.h), which follows
//     MeasurementChanged;
//   - the recovery of journalled measurements (app/JournalRecovery.h): the question
//     at start about a measurement a crash, a kill or a power cut cut short, and the
//     menu command with its list (app/RecoverDialog.h); the journal's warning.
// Re-entrancy: the set-up's reply waits let events run. While the unit is being set
// up a press of the start button (then "計測中止") ends the set-up at once, and a
// close waits until the set-up has ended, then stops the measurement. The commands
// stay locked until the sequencer is idle again; no slot lets an exception escape.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "adc/Ad7190.h"
#include "app/MainControls.h"
#include "app/MainMenu.h"
#include "app/MeasurementSession.h"
#include "app/ProgressView.h"
#include "app/ResultsPanel.h"
#include "app/SeriesSetting.h"
#include "app/Throttle.h"
#include "display/Graph_fft.h"
#include "display/WaveSoFar.h"
#include "ui/DialogPrompter.h"
#include "ui/Mymessage.h"
#include "ui/Mystatus.h"
#include "ui/PrintPrompter.h"
#include "ui/TimeLeft.h"

class QPrinter;
class QtPrompter;
class TFormNoiseAnalysis;
class TFormAmpSetting;
class TFormFFTSetting;
class TFormRecover;
class TFormVersion;
struct KeptJournal;

// What the entry point chooses for the window, and tests replace.
struct MainFormEnvironment {
  explicit MainFormEnvironment(D2xx& unitDriver) : driver(unitDriver) {}

  D2xx& driver;                            // the unit's driver (simulated or real); outlives the window
  std::filesystem::path settingsPath;      // the default settings file, resolved once
  DialogPrompter* prompter = nullptr;      // boxes and file dialogs; null: Qt's, parented to the window
  PrintPrompter* printPrompter = nullptr;  // print and page-setup dialogs; null: Qt's, as above
  // Between two looks at the link in a reply wait, after the window's events ran:
  // empty for a short sleep (the wait never spins a core).
  std::function<void()> waitIdle;
  StallGuard::Clock steadyClock = std::chrono::steady_clock::now;  // reply time-outs and the stall rule
  WallClock wallClock = std::chrono::system_clock::now;            // StartDateTime
  std::optional<std::filesystem::path> journalDirectory;           // where measurements are journalled; none: not
};

class TFormMain : public QMainWindow {
  Q_OBJECT

 public:
  // What the sequencer is doing.
  enum class Phase {
    Idle,       // commands enabled
    Starting,   // the unit is being set up (its reply waits let events run)
    Measuring,  // the poll timer collects the samples
    Finishing,  // level check, analysis, display, automatic save and their boxes;
                // in a series it leads straight to the next acquisition's Starting
  };

  // The poll timer ticks once per step of records (StallGuard::PollPeriodFor: 200 ms
  // at 5 per second, 6 ms at 4800), so a slow measurement costs next to nothing and
  // the finish comes within one tick of the last sample; one tick reads for at most
  // the budget.
  static constexpr std::chrono::milliseconds kPollBudget{5};
  static constexpr std::chrono::milliseconds kShortestPoll{1};
  // The progress line changes at most this often: every change costs a repaint and a
  // flush to the display, and nobody reads 150 numbers a second.
  static constexpr std::chrono::milliseconds kProgressInterval{40};
  // The waveform of the samples so far and the progress bar are drawn again at most
  // this often: enough to watch the curve grow, while a change of scale, which draws
  // the whole curve again, costs milliseconds at 65536 points.
  static constexpr std::chrono::milliseconds kLiveViewPeriod{250};

  explicit TFormMain(MainFormEnvironment environment, QWidget* parent = nullptr);
  ~TFormMain() override;

  Phase CurrentPhase() const { return phase_; }
  const MeasurementSession& Session() const { return session_; }
  const SessionState& State() const { return session_.State(); }
  MainFormControls& Controls() { return controls_; }
  MainMenu& Menu() { return menu_; }
  ProgressView& Progress() { return progress_; }
  TGraph_FFT& Graph() { return graph_; }
  // The noise analysis window; null until it is first asked for.
  TFormNoiseAnalysis* NoiseAnalysis() { return noiseAnalysis_; }
  bool PollTimerActive() const { return pollTimer_.isActive(); }
  // The period the poll timer waits between two looks at the unit, while measuring.
  std::chrono::milliseconds PollInterval() const { return pollInterval_; }

 public slots:
  // The start-up work of the first event-loop turn (once); shows the window.
  void StartupWork();
  // Starts in idle, stops a set-up or an acquisition otherwise.
  void MeasureStartBtnClick();
  void MenuMeasureStartClick();
  // One tick of the poll timer: takes the records that have arrived.
  void AcquireTick();
  void MenuFileExitClick();
  void MenuHelpVersionClick();
  // Opens the noise analysis window, or raises it when it is open.
  void MenuNoiseAnalysisClick();
  // 解析(&A): the average's dialog (which may start it), and 連続計測.
  void MenuAverageMeasureClick();
  void MenuContinuousMeasureClick();

  // Menu commands on files, settings and the reference (app/MenuCommands.cpp).
  void MenuFileNewClick();
  void MenuDataLoadClick();
  void MenuDataSaveClick();
  void MenuTextSaveClick();
  // データ → 途中データの復元 (app/MenuCommands.cpp).
  void MenuDataRecoverClick();
  void MenuRefLoadFileClick();
  void MenuRefClearClick();
  void MenuDispSettingClick();
  void MenuADUnitSettingClick();
  void MenuOpenSettingFileClick();
  void MenuSaveSettingFileClick();
  void MenuFilePrintSettingClick();
  void MenuFilePrintClick();
  // Another copy asked for this window.
  void RaiseWindow();

 public:
  // The display is gone and the process ends at once: the unit is stopped and the
  // default settings file written where it can be, without a box and without a close.
  void EndWithoutDisplay();

 signals:
  // The window accepted its close (the unit stopped, the settings written).
  void Closed();
  // What the window shows changed: a measurement finished or started, data or a
  // reference was loaded or cleared, the display settings changed. The one
  // notification that the companion views follow; ShowMeasurementChanged sends it.
  void MeasurementChanged();

 protected:
  // Stops a running acquisition and writes the default settings file; waits for a
  // set-up to end first. Closing is never refused.
  void closeEvent(QCloseEvent* event) override;

 private:
  void ConnectCommands();
  // Runs a slot's work; an exception is shown in a box and the sequencer returns to idle.
  void Guarded(const std::function<void()>& work);

  // A series of acquisitions from idle (one acquisition: a press of the start button).
  void StartSeries(const SeriesPlan& plan);
  // The set-up and start of the series' next acquisition.
  void StartAcquisition();
  void ShowStartOutcome(const MeasurementSession::StartResult& result);
  // The progress line and bar of the running acquisition.
  void ShowAcquisitionProgress(int done);
  void StopMeasurement();
  void ShowProgress();
  // The waveform of the samples so far and the progress bar, at most once per kLiveViewPeriod.
  void ShowLiveView();
  // After an acquisition that left no record: the empty graph and labels it began with.
  void ClearLiveView();
  void EndWithReadError();
  void FinishMeasurement();
  void AutoSaveData();
  // After the user's stop: the automatic save of 連続計測's last measurement.
  void SaveAfterStop();
  void ReturnToIdle();
  // Idle: how the spectrum shown was averaged under the start button, or nothing.
  void ShowAverageNote();
  // Draws the records present anew, after ShowMeasurementChanged.
  void RedrawData();
  // Tells the companion views that the records or the display settings changed (the
  // one place that sends MeasurementChanged; RedrawData and ClearDisplay call it, and
  // so must every new way of changing what is shown).
  void ShowMeasurementChanged();
  // Labels, layout, sizes and empty grids for the current settings.
  void RelayoutGraphs();
  // Empty grids on screen and "---" in the readouts.
  void ClearDisplay();

  // The discard question ("データを保存していませんが、破棄してもいいですか？") when
  // wouldDiscard; true when the measurement may go (or nothing would be lost).
  bool MayDiscardData(bool wouldDiscard);
  // Data or reference load: the file chosen, read and shown.
  void LoadMeasurement(bool asReference);
  // At start: the question "前回の計測は途中で終了しました（N / M サンプル）。復元しますか？"
  // about the newest journal that no program ended (TakeUnendedJournal), or a box
  // that it is too short to be recovered.
  void OfferRecovery();
  // The journal's part becomes the current, unsaved measurement, shown as a data
  // file's is; false (with the box of a bad data file) when it cannot.
  bool RecoverJournal(const KeptJournal& journal);
  // Every sample the journal received to a CSV file the user chooses.
  void WriteJournalCsv(const KeptJournal& journal);
  // The journal's warning, once, in the status bar and on stderr.
  void ShowJournalWarning();
  // An open or save dialog with the command's title, a name filter and a start name
  // from the records.
  std::string ChooseFile(bool save, const char* title, const QString& filter, const std::string& startName,
                         const char* pattern);

  void SetMeasuringState();
  void SetIdleState();
  void LockCommands();
  void UnlockCommands();
  void EnableCommands(bool enabled);

  void UpdateTitle();
  void UpdateTitleIfAutoSave();
  void LoadDefaultSettings();
  void SaveDefaultSettings();

  MainFormEnvironment env_;
  std::unique_ptr<QtPrompter> ownPrompter_;
  DialogPrompter& prompter_;
  PrintPrompter& printPrompter_;
  TmyMessage message_;
  MeasurementSession session_;
  TADC unit_;
  QWidget* form_;  // the central area, 812 × 466
  MainFormControls controls_;
  MainMenu menu_;
  TmyStatus status_;
  TGraph_FFT graph_;
  ResultsPanel results_;
  ProgressView progress_;
  // The dialogs, made once in this order and shown modally by their commands.
  TFormFFTSetting* fftSetting_;
  TFormAmpSetting* ampSetting_;
  TFormVersion* version_;
  TFormNoiseAnalysis* noiseAnalysis_ = nullptr;  // a window of its own, made when first asked for
  // Made at its first use: its list's delayed layout would keep an idle window ticking.
  TFormRecover* recover_ = nullptr;
  TFormSeriesSetting* seriesSetting_;
  SeriesChoices seriesChoices_;  // what 平均計測… last kept
  // The program's one printer: what either print command chooses (printer, file,
  // paper, orientation) holds for the next.
  std::unique_ptr<QPrinter> printer_;
  QTimer pollTimer_{this};                                 // single-shot, armed only while measuring
  std::chrono::milliseconds pollInterval_{kShortestPoll};  // set at each start
  Throttle progressThrottle_;                              // the status bar's progress line
  Throttle liveThrottle_;                                  // the live waveform and the progress bar
  std::optional<TimeLeftEstimate> timeLeft_;               // from the start of the acquisition
  WaveSoFar waveSoFar_;
  bool liveShown_ = false;  // the graph shows samples of an acquisition that has no record yet
  // A later acquisition of a series runs: the display shows the finished ones' average,
  // which the session gives back to the record should the series end here.
  bool seriesShown_ = false;
  // The settings file last chosen in the settings-file dialogs, which start beside it.
  std::string lastSettingFile_;
  bool startupPending_ = true;  // the start-up work has not run yet
  Phase phase_ = Phase::Idle;
  bool closePending_ = false;  // a close came during the set-up
};
