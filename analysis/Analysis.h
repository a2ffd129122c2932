// The analysis chain of a finished measurement, shared by the main window and the
// command-line tool: level check, conversion of codes to volts, spectrum, RMS and
// code statistics.
//
// Units: MeasureData::volt in volts; spectrum[0] the magnitude of the mean in volts,
// spectrum[k] the RMS amplitude in volts of the component at k·deltaF Hz; SignalRms
// in volts RMS; CodeMean and CodeDeviation in converter codes ("digits").
// Long sums are accumulated in 64-bit integers or doubles; per-element arithmetic
// stays in 32-bit floats.
#pragma once

#include <cstdint>
#include <string_view>

#include "analysis/Myfft.h"
#include "model/Records.h"

inline constexpr std::int32_t kCodeZero = 0x800000;     // offset-binary code of 0 V
inline constexpr std::int32_t kCodeLowest = 0;          // converter overloaded low
inline constexpr std::int32_t kCodeHighest = 0xFFFFFF;  // converter overloaded high
inline constexpr double kCodeCount = 16777216.0;        // 2^24 codes span the full-scale range

// The work array of the analysis, sized for the largest record: the windowed signal,
// transformed in place (left unscaled).
struct AnalysisWork {
  alignas(64) float windowed[kSampleCapacity] = {};  // on a cache line, like the engine's buffers
};

// Whether a record of n samples can be analysed: a power of two that the arrays hold.
bool IsAnalysableCount(std::int32_t n);
// What IsAnalysableCount asks, for messages.
inline constexpr std::string_view kAnalysableCountRule = "is no power of two from 1024 to 65536";

// False when any code sits at either end of the converter's range (overload);
// otherwise runs CodeToVolt and returns true.
bool CheckSignalLevel(MeasureData& data, const AdUnitSetting& setting);

// One code step in volts, vref × 2^−23 / Gain as a 32-bit float: the scale of CodeToVolt.
float VoltsPerCode(const AdUnitSetting& setting);

// Fills volt, voltMax, voltMin, voltMean and deltaF from adCode, ad_dnum and spsSel.
void CodeToVolt(MeasureData& data, const AdUnitSetting& setting);

// Fills data.spectrum from data.volt with the options of setting: mean removal,
// window (with correction), FFT, scaling to RMS volts per line (line 0 by 1/N, the
// others by √2/N), magnitudes. data.ad_dnum must be an analysable count.
void AnalyseSpectrum(TmyFFT& fft, const FftSetting& setting, MeasureData& data, AnalysisWork& work);

// RMS value in volts of the signal without its DC part: sqrt of the sum of the
// squared lines 1 … ad_dnum/2-1. 0 for an empty record.
float SignalRms(const MeasureData& data);

// Mean code, truncated toward zero; 0 for an empty record.
std::int32_t CodeMean(const MeasureData& data);

// Standard deviation of the codes about CodeMean (population form); 0 when empty.
float CodeDeviation(const MeasureData& data);
