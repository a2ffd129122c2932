// What a measurement session holds: the settings records, the current and the
// reference measurement with their arrays, and the flags that say what the records
// hold. The arrays are allocated once, for the largest measurement, and bound to the
// records for the state's whole life, so a graph may keep references to the records.
//
// The session's classes change the state; its users see it read-only through
// MeasurementSession::State().
//
// The rule that keeps the flags and the records in step: a flag cleared means an
// empty record. DropData and DropReference clear a flag; nothing else does. The one
// case of a held measurement without a current start is documented in
// MeasurementSession::Start (a refused start keeps the previous measurement).
#pragma once

#include <memory>
#include <string>

#include "model/Records.h"

class SessionState {
 public:
  SessionState();  // every record at its defaults, both measurements empty, all flags 0
  SessionState(const SessionState&) = delete;
  SessionState& operator=(const SessionState&) = delete;

  // Converter settings: as the converter settings dialog (or the command line) last
  // left them; those of the running or last measurement, or of the last data or
  // settings file read (written to the default settings file at close); those read
  // with the reference.
  AdUnitSetting editAdSetting;
  AdUnitSetting measAdSetting;
  AdUnitSetting refAdSetting;
  FftSetting fftSetting;    // measurement and display settings (sample count included)
  SaveSetting saveSetting;  // automatic save, DataFileName (the caption's file), StartDateTime

  MeasureData curData;  // the current measurement; its ad_dnum is 0 when fDataValid is 0
  MeasureData refData;  // the reference; its ad_dnum is 0 when fRefValid is 0
  // How curData's spectrum was made: an average of several acquisitions (the samples
  // are the last one's), or None; and whether curData is what the session's series of
  // acquisitions left (MeasurementSeries), whose density then describes it. Both are
  // forgotten (ForgetSeries) whenever curData is dropped, loaded or analysed again
  // from its samples.
  SpectrumAverage curAverage;
  bool curFromSeries = false;

  bool fMeasuring = false;     // an acquisition runs (from the accepted start to its end)
  bool fDataValid = false;     // curData holds an analysed measurement
  bool fRefValid = false;      // refData holds an analysed reference
  bool fDataSaved = false;     // the current measurement was written to, or read from, a data file
  float codeDeviation = 0.0F;  // standard deviation of curData's codes, in digits
  std::string unitInfo;        // "QT4418PX/ 1.00/ 4.8ksps x128, " after the last good set-up

  // A current measurement that no data file holds: dropping it loses it.
  bool HoldsUnsavedData() const { return fDataValid && !fDataSaved; }

  // Throws std::logic_error while an acquisition runs: the commands that change the
  // records are locked then (the acquisition writes into curData).
  void RequireIdle() const;

  // fDataValid = 0 and curData emptied.
  void DropData();
  // curAverage None, curFromSeries 0.
  void ForgetSeries();
  // fRefValid = 0 and refData emptied.
  void DropReference();

 private:
  std::unique_ptr<MeasureBuffers> curBuffers_ = std::make_unique<MeasureBuffers>();
  std::unique_ptr<MeasureBuffers> refBuffers_ = std::make_unique<MeasureBuffers>();
};
