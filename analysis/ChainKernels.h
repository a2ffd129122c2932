// The element loops of the analysis chain (mean, windows, line magnitudes), compiled
// once per instruction-set level like the transform. Every element goes through the
// same operations in the same order on every level, so the levels agree bit for bit;
// the compiler only spreads the independent elements over vector lanes.
#pragma once

#include "analysis/Simd.h"

struct ChainKernels {
  // Σ src[i] in double, as eight interleaved partial sums (i mod 8) added pairwise at
  // the end: as accurate as one running sum, without its chain of dependent additions.
  double (*sum)(int n, const float* src);

  // dst[i] = src[i] − offset, in float.
  void (*subtract)(int n, const float* src, float offset, float* dst);

  // dst[i] = float(float(shape[i]·(src[i] − offset))·correction), products in double.
  void (*window)(int n, const float* src, float offset, const double* shape, double correction, float* dst);

  // dst[i] = float(float(taper[i]·(shape[i]·(src[i] − offset)))·correction), products in double.
  void (*taperedWindow)(int n, const float* src, float offset, const double* shape, const double* taper,
                        double correction, float* dst);

  // lines[0] = |a[0]·dcScale|; lines[k] = √(re² + im²) for k = 1 … n/2 − 1 in double,
  // with re, im = float(a[2k], a[2k+1] · lineGain · lineScale) as if stored scaled.
  void (*magnitude)(int n, const float* a, float dcScale, double lineGain, double lineScale, float* lines);
};

// The loops compiled for level (which the CPU must run).
const ChainKernels& ChainKernelsFor(SimdLevel level);
