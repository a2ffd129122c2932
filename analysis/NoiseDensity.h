// Noise spectral density by Welch's method. A record is cut into segments of L
// samples that overlap by half (starting at 0, L/2, L, …; a shorter rest is left out);
// each segment, without its own mean when asked, is windowed and transformed, and the
// squared line magnitudes are averaged over every segment of every record added.
//
// Units and normalisation: with Y[k] the unnormalised transform of a windowed segment
// (TmyFFT::RealFFT), E = Σw² the energy of the window as applied (TmyFFT::WindowEnergy,
// its correction included, so that the correction cancels) and fs the sample rate in
// Hz, the one-sided power spectral density in V²/Hz at k·fs/L Hz is
//   P[0] = ⟨|Y[0]|²⟩ / (fs·E),   P[k] = 2·⟨|Y[k]|²⟩ / (fs·E)   for k = 1 … L/2 − 1,
// ⟨⟩ the mean over the segments; Density() gives √P in V/√Hz. A white noise of RMS σ
// thus reads σ/√(fs/2) on every line with every window, corrected or not, at every
// length and rate; and Σ P[k]·fs/L over k ≥ 1 is the segments' variance (Parseval:
// exactly for the rectangle, on average for the other windows). The line at half the
// sample rate is left out, as in the RMS spectrum.
#pragma once

#include <span>
#include <vector>

#include "analysis/CacheAligned.h"
#include "analysis/Myfft.h"
#include "model/Records.h"

struct DensityOptions {
  int window = TmyFFT::kHanning;  // FftSetting::whichWindowFunc
  int correct = 0;                // FftSetting::fWinFuncAdjust (the density does not depend on it)
  bool dcCut = true;              // remove each segment's mean
  int segmentLength = 0;          // L: a power of two from 4 to kMaxSamples
  double sampleRate = 0.0;        // samples per second, > 0
};

// The options of the display settings fft (its window, correction and mean removal)
// for segments of segmentLength samples at sampleRate samples per second.
DensityOptions DensityOptionsOf(const FftSetting& fft, int segmentLength, double sampleRate);

class WelchDensity {
 public:
  // fft: the engine for the transforms (used by one thread at a time, it must outlive
  // this). Throws std::invalid_argument for a segment length or rate outside the above.
  WelchDensity(TmyFFT& fft, const DensityOptions& options);

  // Adds the segments of a record of at least L samples in volts (std::invalid_argument
  // for a shorter one).
  void AddRecord(std::span<const float> volts);

  // The number of segments a record of n ≥ L samples gives: 1 + (n − L) / (L/2).
  int SegmentsOf(int n) const;
  // Segments averaged so far.
  int Segments() const { return segments_; }
  // Line spacing fs/L in Hz, and the number of lines L/2.
  double DeltaF() const;
  int Lines() const { return options_.segmentLength / 2; }

  // √P[k] in V/√Hz for k = 0 … L/2 − 1; all 0 before the first segment.
  std::vector<double> Density() const;

 private:
  TmyFFT& fft_;
  DensityOptions options_;
  double windowEnergy_;
  CacheAlignedVector<float> segment_;  // one windowed segment, transformed in place
  std::vector<double> power_;          // Σ |Y[k]|² over the segments
  int segments_ = 0;
};
