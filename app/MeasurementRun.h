// The road of one measurement without any window: unit set-up and start, the
// acquisition in small steps, and the finish (stop, level check, conversion,
// analysis). The main window drives it from its idle timer, the command-line tool
// from a polling loop; both show their own texts for each outcome.
#pragma once

#include <cstdint>

#include "adc/Ad7190.h"
#include "adc/UnitSetup.h"
#include "analysis/Analysis.h"
#include "model/Records.h"

class MeasurementRun {
 public:
  enum class StartOutcome {
    Started,       // the unit streams; call Step until AllIn
    InvalidCount,  // the sample count is not one the analysis takes; nothing was sent
    NotFound,      // the unit could not be opened (link closed)
    NoResponse,    // the unit did not answer the presence check (link closed)
    SetupFailed,   // a setting, the identification or the version failed (link open)
    StartRefused,  // the start command could not be sent (abort sent, link closed)
    Stopped,       // Stop came while the unit was being set up: link closed, nothing started
  };
  struct StartResult {
    StartOutcome outcome = StartOutcome::NotFound;
    UnitSetupResult setup;
  };

  enum class StepOutcome {
    Waiting,     // the records asked for are not all there yet
    Progress,    // records arrived; more are due
    ReadFailed,  // the read failed: abort sent, the record emptied, link left open
    AllIn,       // every sample is in; call Finish
    NotRunning,  // no acquisition runs (never started, stopped, failed or finished)
  };

  enum class FinishOutcome {
    Analysed,    // volts, frequency step and spectrum are filled
    LevelError,  // a code at either end of the range: the record is discarded
  };

  MeasurementRun(TADC& unit, TmyFFT& fft, AnalysisWork& work);

  // Sets the unit up with `setting` and starts an acquisition of `samples` records
  // into data.adCode. The previous contents of the record are given up only once
  // the start was accepted. The set-up's reply waits run the link's pump, from which
  // Stop may be called; a second Start from there is a logic_error.
  StartResult Start(const AdUnitSetting& setting, int samples, MeasureData& data);

  // One poll: asks for the records per poll of the data rate, at most what is missing.
  StepOutcome Step();

  // Stops the unit, fills the record's count, rate and filter, checks the level,
  // converts and analyses with `fftSetting`. Only after Step answered AllIn (a
  // logic_error otherwise: an interrupted record is never analysed).
  FinishOutcome Finish(const FftSetting& fftSetting);

  // The user's stop: the abort command; a link that cannot take it is closed.
  // The samples gathered so far are not analysed. During Start's set-up it closes
  // the link, so the set-up ends at its current step and Start answers Stopped.
  void Stop();

  bool Starting() const { return starting_; }
  bool Running() const { return running_; }
  int SampleIndex() const { return sampleIndex_; }
  int SampleCount() const { return samples_; }
  std::int32_t LastCode() const { return lastCode_; }

 private:
  TADC& unit_;
  TmyFFT& fft_;
  AnalysisWork& work_;
  AdUnitSetting setting_;
  MeasureData* data_ = nullptr;
  int samples_ = 0;
  int sampleIndex_ = 0;
  std::int32_t lastCode_ = 0;
  bool starting_ = false;
  bool stopRequested_ = false;  // Stop came during the set-up
  bool running_ = false;
};
