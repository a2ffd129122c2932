// The FFT engine: mean removal, three window functions with optional correction of
// their attenuation, an in-place real-input FFT and line magnitudes. Arrays belong
// to the caller; source and destination are always distinct.
//
// Units: the windows and DCCut keep the unit of their input (volts). RealFFT is
// unnormalised: for x[0 … n-1] it leaves
//   a[0]    = Σ x[j]                    (DC sum)
//   a[1]    = Σ x[j]·(-1)^j             (line at half the sample rate)
//   a[2k]   = Σ x[j]·cos(2πjk/n)        k = 1 … n/2-1
//   a[2k+1] = Σ x[j]·sin(2πjk/n)        (plus sign of the sine)
// Magnitude gives spec[0] = |a[0]| and spec[k] = sqrt(a[2k]² + a[2k+1]²).
#pragma once

#include <map>
#include <memory>

#include "analysis/RealFft.h"
#include "app/Records.h"
#include "ui/Prompter.h"

class TmyFFT {
public:
  // Correction factors: reciprocals of the windows' RMS values over a record.
  static constexpr double kHanningCorrection = 1.632993162;
  static constexpr double kHammingCorrection = 1.586302721;
  static constexpr double kFlatTopCorrection = 2.228422982;

  // The settings record is kept for its owner's sake; every operation takes its
  // inputs as arguments. The prompter shows the DCCut division-by-zero warning.
  TmyFFT(const FftSetting& setting, Prompter& prompter);

  // dst[i] = src[i] - mean(src). n = 0 shows a warning and changes nothing.
  void DCCut(int n, const float* src, float* dst) const;

  // dst = window × src; the correction applies only when correct is exactly 1.
  void Hanning(int n, const float* src, int correct, float* dst) const;
  void Hamming(int n, const float* src, int correct, float* dst) const;
  void FlatTop(int n, const float* src, int correct, float* dst) const;

  // Forward (direction +1) real FFT of a power-of-two length n ≥ 4, in place, in the
  // packed layout above. Tables are built once per size and kept.
  void RealFFT(int n, int direction, float* a);

  // spec[0 … n/2-1] from a packed transform.
  static void Magnitude(int n, const float* a, float* spec);

  const FftSetting& Setting() const { return setting_; }

private:
  const FftSetting& setting_;
  Prompter& prompter_;
  std::map<int, std::unique_ptr<RealFftPlan>> plans_;
};
