// The figures of a tone in a record: its frequency and level, SNR, THD, SINAD, SFDR
// and ENOB, with harmonics 2 to 6.
//
// The record gets a window of its own, independent of the display's: the 7-term
// Blackman–Harris window (periodic), whose main lobe reaches its first zeros 7 lines
// either side of the tone and whose side lobes stay below −170 dB, so a tone between
// two lines leaks nothing that a 24-bit converter's noise would not hide (the display
// windows keep −36 … −76 dB of such a tone beyond ±10 lines). Its mean is removed
// first, then it is windowed and transformed (RealFftPlan). Line k (k·rate/N Hz,
// k = 0 … N/2 − 1) holds the power P[k] = 2·|Y[k]|² / (N·Σw²) in V², so that a tone's
// power, the sum over its lobe, is its mean square and white noise of RMS σ sums to σ².
//
//   lobe          kToneLobeLines lines either side of a tone's line
//   DC part       lines 0 … kToneLobeLines: what is left of the mean and the lowest
//                 frequencies; never a tone, never noise
//   fundamental   the largest line above the DC part, with its lobe. It must stand
//                 clear of the noise: its line at least kToneClearance times the mean
//                 line within two lobe widths either side of its lobe; otherwise the
//                 record has no tone
//   frequencyHz   the power-weighted mean line of the fundamental's lobe × rate/N, Hz
//   vrms          √P1, P1 the fundamental's power, V RMS
//   harmonics     orders 2 … 6 at h·f folded into 0 … rate/2; the power of each is the
//                 sum over its lobe of the lines no lower order, the fundamental or the
//                 DC part took; dbc = 10·log10(Ph / P1), none when it took no line
//   noise         the mean of the lines outside the DC part, the fundamental's and the
//                 harmonics' lobes, times N/2: extrapolated over the excluded lines
//   snrDb         10·log10(P1 / noise), dB
//   thdDb         10·log10(Σ Ph / P1), dB (negative)
//   sinadDb       10·log10(P1 / (noise + Σ Ph)), dB
//   sfdrDbc       10·log10(P1 / Ps), Ps the power (the sum over its lobe, as a tone's)
//                 of the largest line outside the DC part and the fundamental's lobe, dBc
//   enobBits      (SINAD − 1.76) / 6.02, bits
// A noiseless tone has infinite SNR and SINAD; one without harmonic lines −∞ THD.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "analysis/CacheAligned.h"
#include "analysis/RealFft.h"

inline constexpr int kToneLobeLines = 8;
inline constexpr double kToneClearance = 100.0;  // 20 dB
inline constexpr int kMinToneSamples = 256;
inline constexpr int kHighestHarmonic = 6;

struct Harmonic {
  int order = 0;
  double frequencyHz = 0.0;
  std::optional<double> dbc;
};

struct ToneMetrics {
  double frequencyHz = 0.0;
  double vrms = 0.0;
  double snrDb = 0.0;
  double thdDb = 0.0;
  double sinadDb = 0.0;
  double sfdrDbc = 0.0;
  double enobBits = 0.0;
  std::vector<Harmonic> harmonics;  // orders 2 … kHighestHarmonic
};

class ToneAnalyser {
 public:
  // For records of n samples, a power of two ≥ kMinToneSamples (else
  // std::invalid_argument). The window and the plan are built here, once.
  explicit ToneAnalyser(int n);

  // The tone of n codes about their mean code, one code being voltsPerCode volts, at
  // sampleRate samples per second (> 0); none when no tone stands clear of the noise.
  // std::invalid_argument for another number of codes.
  std::optional<ToneMetrics> Analyse(std::span<const std::int32_t> codes, double meanCode, double voltsPerCode,
                                     double sampleRate);

 private:
  // The lines of one lobe centred on line k, clipped to the spectrum.
  struct LineRange {
    int first;
    int last;
  };
  LineRange LobeAround(int k) const;
  // Σ P over a lobe's lines not yet taken; marks them taken when asked.
  double LobePower(LineRange lobe, bool take);

  int n_;
  RealFftPlan plan_;
  std::vector<double> window_;
  double windowEnergy_;               // Σw²
  CacheAlignedVector<float> work_;    // the windowed record, transformed in place
  std::vector<double> power_;         // P[k], V²
  std::vector<unsigned char> taken_;  // lines of the DC part, the fundamental and the harmonics
};

// Tone analysers by record length, each built on first use and kept: for callers that
// analyse one record after another.
class ToneAnalysers {
 public:
  // The analyser for records of n samples (as ToneAnalyser(n) takes them).
  ToneAnalyser& For(int n);

 private:
  std::map<int, std::unique_ptr<ToneAnalyser>> analysers_;
};
