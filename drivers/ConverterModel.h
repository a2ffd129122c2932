// The AD7190 as the simulated unit uses it: the ideal transfer from input volts to
// the 24-bit offset-binary code, and the converter's own noise and offset.
//
// The noise follows the published RMS-noise figures (input-referred, by output data
// rate and gain, chopping off): between the published rates it is interpolated on
// log-log axes. Sinc3 is a little noisier than Sinc4 at low rates and far noisier at
// 2400 and 4800 per second, where its quantisation noise dominates. Chopping lowers the noise by
// about √2 and the offset from about 75 µV / gain to about 0.5 µV.
#pragma once

#include <cstdint>

#include "drivers/GaussianSource.h"

// The converter settings the unit's commands select.
struct ConverterSetting {
  int spsSel = 3;             // data-rate index 0 … 12
  std::uint32_t gainSel = 5;  // gain index 0 … 5
  bool sinc3 = false;         // Sinc3 (true) or Sinc4 filter
  bool buffer = false;        // input buffer (no effect on the model)
  bool chop = false;          // chopping

  friend bool operator==(const ConverterSetting&, const ConverterSetting&) = default;
};

inline constexpr double kReferenceVolts = 2.5;
inline constexpr std::int32_t kZeroCode = 0x800000;  // code of 0 V
inline constexpr std::int32_t kFullCode = 0xFFFFFF;  // largest code

// The code of an input voltage at a gain: 0x800000 × (1 + volts × gain / 2.5 V),
// rounded to the nearest code and clamped to 0 … 0xFFFFFF (overload).
std::int32_t IdealCode(double volts, std::int32_t gain);

// Input-referred RMS noise in volts of the converter at a setting.
double ConverterNoiseRms(const ConverterSetting& setting);

// Input-referred offset in volts at a setting.
double ConverterOffset(const ConverterSetting& setting);

// Converts input volts to codes, adding the converter's noise and offset when enabled.
class ConverterModel {
 public:
  ConverterModel(bool withNoise, std::uint64_t seed);
  std::int32_t Convert(double volts, const ConverterSetting& setting);

 private:
  bool withNoise;
  GaussianSource noise;
};
