// The analysis of a session's records: codes to volts with the record's converter
// settings, then the spectrum with the measurement settings. The FFT engine's plans
// and the work array are made once and reused for every record.
#pragma once

#include <memory>

#include "analysis/Analysis.h"
#include "model/Records.h"

class RecordAnalyser {
 public:
  // setting: the session's live measurement settings (the engine keeps a reference).
  explicit RecordAnalyser(const FftSetting& setting);

  // CodeToVolt with ad, then AnalyseSpectrum with fft. data.ad_dnum must be an
  // analysable count.
  void Analyse(MeasureData& data, const AdUnitSetting& ad, const FftSetting& fft);

  // True when a record analysed with a would give another spectrum with b: the
  // window, its correction or the DC cut differ.
  static bool AnalysisDiffers(const FftSetting& a, const FftSetting& b);

  TmyFFT& Engine() { return fft_; }
  AnalysisWork& Work() { return *work_; }

 private:
  TmyFFT fft_;
  std::unique_ptr<AnalysisWork> work_ = std::make_unique<AnalysisWork>();
};
