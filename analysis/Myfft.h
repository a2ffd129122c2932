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
// Magnitude gives lines[0] = |a[0]| and lines[k] = sqrt(a[2k]² + a[2k+1]²).
//
// The transform plans and the window values are built once per length and kept, so
// after the first call for a length nothing is allocated. The plans' scratch memory
// makes an engine usable by one thread at a time.
#pragma once

#include <map>
#include <memory>

#include "analysis/CacheAligned.h"
#include "analysis/ChainKernels.h"
#include "analysis/RealFft.h"
#include "analysis/Simd.h"
#include "model/Records.h"

class TmyFFT {
 public:
  // Correction factors: reciprocals of the windows' RMS values over a record.
  static constexpr double kHanningCorrection = 1.632993162;
  static constexpr double kHammingCorrection = 1.586302721;
  static constexpr double kFlatTopCorrection = 2.228422982;

  // Window functions by their FftSetting::whichWindowFunc index; any other is the rectangle.
  static constexpr int kRectangle = 0;
  static constexpr int kHanning = 1;
  static constexpr int kHamming = 2;
  static constexpr int kFlatTop = 3;

  // The settings record is kept for its owner's sake; every operation takes its
  // inputs as arguments.
  // level selects the compiled kernels (tests run each; results agree within rounding
  // for the transform and exactly for everything else).
  explicit TmyFFT(const FftSetting& setting, SimdLevel level = BestSimdLevel());

  // dst[i] = src[i] - mean(src). False for n = 0 (there is no mean to take; the
  // caller shows the division-by-zero warning), and nothing changes.
  [[nodiscard]] bool DCCut(int n, const float* src, float* dst) const;

  // dst = window × src; the correction applies only when correct is exactly 1.
  void Hanning(int n, const float* src, int correct, float* dst) const;
  void Hamming(int n, const float* src, int correct, float* dst) const;
  void FlatTop(int n, const float* src, int correct, float* dst) const;

  // Forward (direction +1) real FFT of a power-of-two length n ≥ 4, in place, in the
  // packed layout above.
  void RealFFT(int n, int direction, float* a);

  // lines[0 … n/2-1] from a packed transform.
  static void Magnitude(int n, const float* a, float* lines);

  // The analysis chain's steps fused into fewer passes; every element comes out as the
  // separate steps above give it.
  //
  // The mean that DCCut subtracts (volts); 0 for n ≤ 0.
  float Mean(int n, const float* src) const;
  // dst = window `which` (kRectangle … kFlatTop) of (src − offset), corrected when
  // correct is 1 (never for the rectangle): DCCut followed by the window when offset is
  // Mean(n, src), the window alone when offset is 0.
  void ApplyWindow(int which, int n, const float* src, float offset, int correct, float* dst) const;
  // Σw² over a record of n samples of window `which` as ApplyWindow applies it (the
  // correction, when correct is 1, included): the window's energy, which turns squared
  // transform lines into a power density. n for the rectangle; 0 for n ≤ 0.
  double WindowEnergy(int which, int n, int correct) const;
  // Magnitude of a transform scaled by 1/n (line 0) and lineGain/n (the others), each
  // scaled value rounded to a 32-bit float as if stored; a itself is left as it is.
  // n is a power of two (a length RealFFT accepts).
  void ScaledMagnitude(int n, const float* a, double lineGain, float* lines) const;

  const FftSetting& Setting() const { return setting_; }

 private:
  // Window values of one length in double, as the window formulas give them.
  struct WindowTables {
    CacheAlignedVector<double> hanning;       // Hanning window × 0.5
    CacheAlignedVector<double> hamming;       // Hamming window
    CacheAlignedVector<double> flatTopShape;  // the Hamming taper of the flat top
    CacheAlignedVector<double> flatTopSinc;   // its sinc factor
  };
  const WindowTables& TablesFor(int which, int n) const;
  // Window `which` of n samples as ApplyWindow applies it, so that its energy is that
  // of the window applied: no values for the rectangle.
  struct AppliedWindow {
    const double* values = nullptr;
    const double* taper = nullptr;  // the flat top's sinc factor, none for the others
    double factor = 1.0;            // the correction, or 1
  };
  AppliedWindow WindowOf(int which, int n, int correct) const;

  const FftSetting& setting_;
  SimdLevel level_;
  const ChainKernels& kernels_;
  std::map<int, std::unique_ptr<RealFftPlan>> plans_;
  mutable std::map<int, WindowTables> windows_;  // filled on first use per length and window
};
