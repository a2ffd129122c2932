// The measurement session: everything the main window and the command-line tool
// share between a press of the start button and the finished, saved measurement,
// and the file and settings commands around it. It owns the settings records, the
// current and the reference measurement with their arrays (allocated once), their
// flags and the analysis, and never shows anything: each operation returns an
// outcome that the caller turns into its texts, boxes and redraws. The one question
// it asks itself, through the Prompter given here, is whether an existing file may
// be replaced.
//
// The road of one measurement (the caller polls from its timer or loop):
//   Start(unit) → Started: Poll() until AllIn (Progress shows SampleIndex/LastCode)
//               → Finish() → Analysed: Data().AutoSave()
//   Stop() at any time ends it (the user's stop, closing the window).
//
// State changes, in the names of SessionState (State()):
//   Start, accepted:  fMeasuring 1; measAdSetting = editAdSetting; fDataValid 0 with
//                     curData emptied (the acquisition fills its arrays); fDataSaved 0;
//                     StartDateTime = the wall clock's local time "yyyy/MM/dd HH:mm:ss";
//                     unitInfo set. Caption: retitle only when CaptionFollowsAutoSave.
//   Start, failed:    nothing of the records or flags changes, measAdSetting included:
//                     a measurement held before stays held with the settings it was
//                     measured with (after StartRefused too, although the window has
//                     already cleared it from view). unitInfo is set once the set-up
//                     succeeded (StartRefused).
//   Poll, ReadFailed: fMeasuring 0, curData stays empty; "AX" was sent, the link stays
//                     open. Also when no record came for 20 poll periods (at least 1 s)
//                     on the steady clock, e.g. a start the unit refused with "NG".
//   Stop:             fMeasuring 0; the samples so far are not analysed (fDataValid 0).
//   Finish, Analysed: fMeasuring 0; fDataValid 1, fDataSaved 0; curData holds codes,
//                     volts, frequency step and spectrum; codeDeviation set.
//   Finish, LevelError: fMeasuring 0; the measurement is discarded (fDataValid 0).
//   AdoptAveragedSpectrum: curData's spectrum becomes the average of several
//                     measurements (the last one's included), curAverage says which;
//                     samples, volts and statistics stay those of the last.
//
// A series (BeginSeries, MeasurementSeries): the caller starts each acquisition with
// Series().Next() while Series().WantsMore() after a Finish. Finish, Analysed, folds
// the acquisition in: curData's spectrum becomes the series' average (curAverage).
// When the series ends before it is complete (Stop, ReadFailed, LevelError, a Start
// that fails), curData is given back as the last finished acquisition left it, with
// fDataValid 1 and fDataSaved 0 (none finished: as without a series).
//
// The journal (SetJournalDirectory): Start of the first acquisition opens it with the
// settings and the start; each Poll that brings records adds them; Stop ends it as
// stopped, a ReadFailed or a LevelError as failed, Finish of the last acquisition as
// finished; a data file written of the finished measurement removes it.
//
// The file and settings commands (Data(), Settings()) are documented in their headers;
// the numbers and texts of the results panel come from ResultsOf (app/Results.h), the
// caption from CaptionText (app/Caption.h).
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "adc/Ad7190.h"
#include "analysis/PowerAverage.h"
#include "app/DataCommands.h"
#include "app/MeasurementJournal.h"
#include "app/MeasurementRun.h"
#include "app/MeasurementSeries.h"
#include "app/RecordAnalyser.h"
#include "app/SessionState.h"
#include "app/SettingsCommands.h"
#include "app/StallGuard.h"
#include "app/StartTime.h"
#include "ui/Prompter.h"

class MeasurementSession {
 public:
  // Start's outcomes; the window's texts for each are those of the measurement
  // sequencer (panel 0 and boxes):
  //   Started       the unit streams: poll.
  //   InvalidCount  FftSetting's DataCountMax is no power of two from 1024 to 65536;
  //                 nothing was sent. (Files with such counts are refused on reading,
  //                 so only a setting applied by the caller gives it.)
  //   NotFound      "QT4418PX" + "が見つかりませんでした", box UnitNotFound; link closed.
  //   NoResponse    "QT4418PX" + "応答しませんでした", box UnitNoResponse; link closed.
  //   SetupFailed   a setting, the name ("QT4418PX" expected) or the version failed:
  //                 silently; link open. setup.failedStep names the step.
  //   StartRefused  "コマンド送信エラーです", box CommandSendError; "AX" sent, link closed.
  //   Stopped       Stop() was called during the set-up (from the link's wait pump):
  //                 the set-up ended at once, link closed, nothing started.
  using StartOutcome = MeasurementRun::StartOutcome;
  using StartResult = MeasurementRun::StartResult;  // outcome and the set-up's replies
  // Poll's outcomes:
  //   Waiting     no complete records yet (poll again later)
  //   Progress    records arrived: "データ番号：" SampleIndex " / AD変換値：" LastCode
  //   AllIn       every sample is in: call Finish (fMeasuring stays 1 until then)
  //   ReadFailed  "計測エラーで終了" (a failed read, a garbled record, or a stall)
  //   NotRunning  no acquisition runs
  using PollOutcome = MeasurementRun::StepOutcome;
  // Finish's outcomes: Analysed ("計測終了しました", statistics), LevelError
  // ("入力信号レベルが適正範囲からはずれています", warning box InputLevelError).
  using FinishOutcome = MeasurementRun::FinishOutcome;

  // prompter: asks the overwrite questions of the file commands and the automatic
  // save. steadyClock: the stall rule's time base. wallClock: StartDateTime's source.
  // fileCalls: the system calls of every file writer (tests make them fail; the
  // command-line tool refuses the final rename once it was interrupted).
  explicit MeasurementSession(Prompter& prompter, StallGuard::Clock steadyClock = std::chrono::steady_clock::now,
                              WallClock wallClock = std::chrono::system_clock::now,
                              FileCalls& fileCalls = SystemFileCalls());
  MeasurementSession(const MeasurementSession&) = delete;
  MeasurementSession& operator=(const MeasurementSession&) = delete;

  // The records and flags, read-only; references stay valid for the session's life.
  const SessionState& State() const { return state_; }
  DataCommands& Data() { return data_; }
  SettingsCommands& Settings() { return settings_; }

  // Where the measurements are journalled (MeasurementJournal); none, the default,
  // journals nothing.
  void SetJournalDirectory(std::optional<std::filesystem::path> dir) { journal_.SetDirectory(std::move(dir)); }
  // The warning of a journal that could not be written (once per measurement), for
  // the status bar or stderr; empty when there is none.
  std::string TakeJournalWarning() { return journal_.TakeWarning(); }
  // The file the running measurement is journalled to; empty when none.
  const std::filesystem::path& JournalPath() const { return journal_.Path(); }

  using Acquisition = SessionAcquisition;

  // Sets the unit up with editAdSetting and starts an acquisition of DataCountMax
  // samples. The unit must outlive the measurement. A Start while one is being set up
  // or runs (e.g. from the link's pump) is a std::logic_error. Every sample received
  // is journalled as it arrives; a stop or a failure ends the journal and keeps it.
  StartResult Start(TADC& unit, Acquisition acquisition = {});
  // One acquisition step: takes the records that have arrived, never waits.
  PollOutcome Poll();
  // Ends a running acquisition ("AX"; a link that cannot take it is closed), or the
  // set-up of a start in progress. Nothing when neither runs.
  void Stop();
  // After Poll answered AllIn (a std::logic_error otherwise): "AX", level check,
  // conversion, analysis, codeDeviation.
  FinishOutcome Finish();

  // After several measurements with the same settings, each ended by Finish (Analysed):
  // their spectra's RMS average (PowerAverage) replaces the current one, so that
  // the RMS, the peak, the spectrum file and the picture describe the average. A
  // std::logic_error while a measurement runs or without a current measurement, a
  // std::invalid_argument for an average of another line count (the record is then
  // left as it was).
  void AdoptAveragedSpectrum(const LineAverage& average);

  // A new series of acquisitions (std::invalid_argument for a plan that is not Valid);
  // a std::logic_error while a measurement runs. Without one (the command-line tool)
  // each Start is a measurement of its own.
  void BeginSeries(const SeriesPlan& plan);
  // The series: its plan and the acquisitions finished.
  const MeasurementSeries& Series() const { return series_; }
  // The noise density averaged over the finished acquisitions of the series that left
  // the current measurement; null when none did (a measurement loaded, dropped or
  // analysed again since, or taken without a series).
  const WelchDensity* AveragedDensity() const { return state_.curFromSeries ? series_.Density() : nullptr; }
  // The density's segment length for the next series (MeasurementSeries).
  void SetDensitySegmentLength(int length) { series_.SetDensitySegmentLength(length); }

  int SampleIndex() const;        // samples received by the running acquisition
  int SampleCount() const;        // samples it asks for
  std::int32_t LastCode() const;  // the last code received

 private:
  // The series ends; before it was complete, the last finished acquisition comes back.
  void EndSeries();

  SessionState state_;
  RecordAnalyser analyser_{state_.fftSetting};
  MeasurementSeries series_{analyser_.Engine()};
  DataCommands data_;
  SettingsCommands settings_;
  StallGuard stall_;
  WallClock wallClock_;
  MeasurementJournal journal_;
  Acquisition acquisition_;
  int journalled_ = 0;  // samples of the running acquisition handed to the journal
  std::optional<MeasurementRun> run_;
};
