// A measurement of several acquisitions with the same settings, as the window runs it
// (MeasurementSession::BeginSeries):
//   Single      one acquisition, as a press of the start button takes it.
//   Average     N acquisitions (kMinCount to kMaxCount); after each, the current
//               measurement's spectrum is the RMS average or the peak hold of the
//               spectra of those finished so far.
//   Continuous  acquisitions until stopped; each is the current measurement as it
//               finishes, its spectrum the exponential average over the last N when
//               asked for, its own otherwise.
// The series keeps the last finished acquisition's record (samples, volts, the
// spectrum as averaged, its start), because the next acquisition empties the current
// record as it begins: a stop or a failure in acquisition k gives back the average of
// the k − 1 finished ones.
//
// Beside the spectra it keeps the noise density of the finished acquisitions, averaged
// over all of them (Welch's method, WelchDensity, in power, whatever the spectrum's
// averaging), at a segment length the caller sets (default: the whole record).
#pragma once

#include <memory>

#include "analysis/NoiseDensity.h"
#include "analysis/PowerAverage.h"
#include "app/SessionState.h"

// Which acquisition of a measurement of several (an average) a Start begins: the
// first opens the measurement's journal, the others continue it, the last one's
// Finish ends it.
struct SessionAcquisition {
  int index = 0;
  int count = 1;
};

struct SeriesPlan {
  enum class Mode { Single, Average, Continuous };
  static constexpr int kMinCount = 2;
  static constexpr int kMaxCount = 1000;

  Mode mode = Mode::Single;
  // Average: Rms or PeakHold. Continuous: None or Exponential. Single: None.
  SpectrumAveraging averaging = SpectrumAveraging::None;
  // Average: the acquisitions N. Continuous with Exponential: the N of "the last N".
  int count = 1;

  // Whether the fields go together as above, counts within kMinCount to kMaxCount.
  bool Valid() const;
};

class MeasurementSeries {
 public:
  // fft: the engine for the density's transforms; it must outlive the series.
  explicit MeasurementSeries(TmyFFT& fft);
  MeasurementSeries(const MeasurementSeries&) = delete;
  MeasurementSeries& operator=(const MeasurementSeries&) = delete;

  // A new series (std::invalid_argument for a plan that is not Valid; the series
  // before it is then kept as it was): nothing finished, the density emptied.
  void Begin(const SeriesPlan& plan);
  // The series is over: completed, stopped or failed. Its figures stay readable.
  void End() { running_ = false; }

  const SeriesPlan& Plan() const { return plan_; }
  bool Running() const { return running_; }
  // Acquisitions finished in this series.
  int Finished() const { return finished_; }
  // Whether another acquisition is due after the one that finished last.
  bool WantsMore() const;
  // The acquisition the next Start begins, for the journal: Average {Finished, N}, a
  // measurement of its own otherwise.
  SessionAcquisition Next() const;

  // A finished, analysed acquisition: its spectrum and density are folded in, and
  // the record's spectrum becomes the series' average (state.curAverage says which,
  // with the N of an average as planned).
  // Then the record is kept for Restore.
  void Add(SessionState& state);
  // The last finished acquisition back into the current record as Add left it
  // (fDataValid 1, fDataSaved 0, its start and deviation); nothing before the first.
  void Restore(SessionState& state) const;

  // L for the density, a power of two from 4 up (std::invalid_argument otherwise), or
  // 0 for the whole record; a record shorter than L is taken whole. It applies from
  // the next series on.
  void SetDensitySegmentLength(int length);
  int DensitySegmentLength() const { return segmentLength_; }
  // The averaged density of the finished acquisitions; null before the first.
  const WelchDensity* Density() const { return density_.get(); }

 private:
  TmyFFT& fft_;
  SeriesPlan plan_;
  bool running_ = false;
  int finished_ = 0;
  int segmentLength_ = 0;  // 0: the whole record
  std::unique_ptr<LineAverage> average_;
  std::unique_ptr<WelchDensity> density_;
  // The last finished acquisition as Add left it.
  std::unique_ptr<MeasureBuffers> keptBuffers_ = std::make_unique<MeasureBuffers>();
  MeasureData kept_;
  float keptDeviation_ = 0.0F;
  std::string keptStart_;
  SpectrumAverage keptAverage_;
};
