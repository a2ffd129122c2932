// The inner loops of RealFftPlan, compiled once per instruction-set level. The plan
// owns the tables and the scratch memory; a kernel only reads the tables through the
// view below and works in the scratch, so it allocates nothing.
//
// The complex transform of the n/2 points z[j] = a[2j] + i·a[2j+1] runs as Stockham
// passes (decimation in frequency, self-sorting, no bit-reversal pass), ping-ponging
// between two scratch buffers in split form (real parts, then imaginary parts). Pass p
// of span L and stride s (L·s = n/2) takes the s interleaved sub-sequences of length L
// and splits each into `radix` sub-sequences of length L/radix.
#pragma once

#include <span>

#include "analysis/Simd.h"

// One pass of the complex transform.
struct FftPass {
  int radix = 4;   // 4, or 2 for the last pass when log2(n/2) is odd
  int span = 0;    // L, the length of the sub-transforms this pass splits
  int stride = 0;  // s, the number of interleaved sub-transforms (L·s = n/2)
  // Per lane: twiddles indexed by the element index i = q + s·p (while s is narrower
  // than the kernel's vector); otherwise indexed by p and broadcast over q.
  bool perLane = false;
  int twiddleCount = 0;  // entries in each of the six twiddle rows, 0 when all twiddles are 1
  // Six rows of twiddleCount floats: re, im of w^p, w^2p, w^3p with w = e^{-2πi/L}.
  const float* twiddles = nullptr;
};

// What a kernel needs of a plan.
struct RealFftView {
  int n = 0;                        // real length, a power of two ≥ 4
  std::span<const FftPass> passes;  // in execution order
  const float* splitRe = nullptr;   // cos(2πk/n), k = 0 … n/4, for separating the real spectrum
  const float* splitIm = nullptr;   // −sin(2πk/n), k = 0 … n/4
  float* scratch = nullptr;         // 2·n floats: two buffers of n/2 complex values in split form
};

// Lengths below this run the scalar loops: the vector loops need n/8 ≥ 8 lanes.
inline constexpr int kRealFftVectorMinimum = 64;

// The forward transform compiled for one level.
struct RealFftKernel {
  void (*forward)(const RealFftView& view, float* a);
  int lanes;  // floats per vector; passes with a narrower stride need per-lane twiddles
};

// The kernel of level (which the CPU must run).
RealFftKernel RealFftKernelFor(SimdLevel level);
