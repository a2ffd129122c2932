// The converter's noise figures of one record of codes, input-referred.
//
// The unit's bipolar coding spans the full-scale range FSR = 2·vref / Gain volts with
// 2^24 codes, one code being FSR / 2^24 = vref·2^−23 / Gain volts (VoltsPerCode, the
// scale of CodeToVolt). Every figure below is taken from the integer codes, so it does
// not depend on the rounding of the volts.
//
//   fsrVolts         FSR, V
//   meanCode         mean of the codes (offset binary, 0x800000 = 0 V), codes
//   minCode, maxCode the smallest and the largest code, codes
//   sigmaCodes       σ: the standard deviation of the record about its mean, dividing
//                    by N (the record's own spread, not an estimate of a population's;
//                    the two differ by under 0.01 % from 8192 samples on), codes
//   sigmaVolts       σ, V RMS
//   ppCodes          measured peak-to-peak noise, maxCode − minCode, codes
//   ppVolts          the same in V
//   ppGaussVolts     6.6 σ, V: the data sheets' peak-to-peak rule (kPeakToPeakPerRms)
//   effectiveBits    effective resolution log2(FSR / σ) = 24 − log2 σ_codes, bits
//   noiseFreeBits    noise-free resolution log2(FSR / (6.6 σ)), bits
//   noiseFreeCounts  2^noiseFreeBits = FSR / (6.6 σ), counts
//   dynamicRangeDb   20 log10((FSR / (2√2)) / σ): a full-scale sine's RMS over σ, dB
// A record without noise (σ = 0) has infinite resolutions and dynamic range.
#pragma once

#include <cstdint>
#include <span>

struct ConverterNoise {
  double fsrVolts = 0.0;
  double meanCode = 0.0;
  std::int32_t minCode = 0;
  std::int32_t maxCode = 0;
  double sigmaCodes = 0.0;
  double sigmaVolts = 0.0;
  double ppCodes = 0.0;
  double ppVolts = 0.0;
  double ppGaussVolts = 0.0;
  double effectiveBits = 0.0;
  double noiseFreeBits = 0.0;
  double noiseFreeCounts = 0.0;
  double dynamicRangeDb = 0.0;
};

// The figures of a record of at least one code (std::invalid_argument for none), one
// code being voltsPerCode volts (> 0).
ConverterNoise ConverterNoiseOf(std::span<const std::int32_t> codes, double voltsPerCode);
