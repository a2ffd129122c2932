// A real-input FFT plan for one power-of-two length: the n real values are taken as
// n/2 complex pairs, transformed, and separated into the real signal's spectrum.
// The constructor builds every table and the scratch memory; Forward allocates nothing
// and uses the plan's scratch, so one plan serves one thread at a time.
//
// Output layout of Forward, unnormalised (see TmyFFT): a[0] DC sum, a[1] the line at
// half the sample rate, a[2k] = Σ x·cos(2πjk/n), a[2k+1] = Σ x·sin(2πjk/n).
#pragma once

#include <vector>

#include "analysis/CacheAligned.h"
#include "analysis/RealFftKernels.h"
#include "analysis/Simd.h"

class RealFftPlan {
 public:
  // n a power of two, at least 4, and level one the CPU runs (AvailableSimdLevels);
  // otherwise throws std::invalid_argument.
  explicit RealFftPlan(int n, SimdLevel level = BestSimdLevel());

  RealFftPlan(const RealFftPlan&) = delete;
  RealFftPlan& operator=(const RealFftPlan&) = delete;

  int Size() const { return view_.n; }

  // Transforms a[0 … n-1] in place into the packed layout above.
  void Forward(float* a) { kernel_.forward(view_, a); }

 private:
  std::vector<FftPass> passes_;
  CacheAlignedVector<float> passTwiddles_;  // the rows every FftPass points into
  CacheAlignedVector<float> splitRe_;       // cos(2πk/n), k = 0 … n/4
  CacheAlignedVector<float> splitIm_;       // −sin(2πk/n)
  CacheAlignedVector<float> scratch_;       // 2·n floats
  RealFftView view_;
  RealFftKernel kernel_;
};
