#include "drivers/ConverterModel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "model/UnitTables.h"

namespace {

constexpr double kCodesPerHalfRange = 8388608.0;  // 2^23
constexpr double kNanovolt = 1e-9;
constexpr double kOffsetChopOffTimesGain = 75e-6;  // volts × gain
constexpr double kOffsetChopOn = 0.5e-6;           // volts

// Published RMS noise in nV (external 5 V reference, bipolar, input shorted, chopping
// off) at the gains 1, 8, 16, 32, 64, 128.
struct NoiseRow {
  double hertz;
  std::array<double, kGainCount> nanovolts;
};

constexpr std::size_t kNoiseRows = 8;

constexpr std::array<NoiseRow, kNoiseRows> kSinc4Noise{{
    {4.7, {250, 38, 21, 12, 10, 8.5}},
    {10, {330, 50, 30, 18, 14, 11.5}},
    {50, {900, 125, 78, 45, 33, 28}},
    {60, {970, 140, 88, 52, 36, 31}},
    {300, {1900, 285, 170, 100, 75, 67}},
    {960, {3000, 480, 280, 175, 140, 121}},
    {2400, {5000, 780, 440, 280, 220, 198}},
    {4800, {14300, 1920, 1000, 550, 380, 295}},
}};

constexpr std::array<NoiseRow, kNoiseRows> kSinc3Noise{{
    {4.7, {270, 42, 23, 13.5, 10.5, 9}},
    {10, {350, 60, 35, 19, 15, 12.5}},
    {50, {1000, 134, 86, 50, 35, 29}},
    {60, {1050, 145, 95, 55, 40, 32}},
    {300, {1950, 308, 175, 110, 83, 73}},
    {960, {4000, 590, 330, 200, 150, 133}},
    {2400, {56600, 7000, 3500, 1800, 900, 490}},
    {4800, {442000, 55000, 28000, 14000, 7000, 3450}},
}};

// Log-log interpolation of a table column at a rate; clamped at the table's ends.
double Interpolate(const std::array<NoiseRow, kNoiseRows>& table, double hertz, std::uint32_t gainSel) {
  if (hertz <= table.front().hertz) return table.front().nanovolts[gainSel];
  if (hertz >= table.back().hertz) return table.back().nanovolts[gainSel];
  const auto upper =
      std::find_if(table.begin(), table.end(), [hertz](const NoiseRow& row) { return row.hertz >= hertz; });
  const auto lower = upper - 1;
  const double fraction = std::log(hertz / lower->hertz) / std::log(upper->hertz / lower->hertz);
  const double low = std::log(lower->nanovolts[gainSel]);
  const double high = std::log(upper->nanovolts[gainSel]);
  return std::exp(low + fraction * (high - low));
}

}  // namespace

std::int32_t IdealCode(double volts, std::int32_t gain) {
  const double code = std::round(kCodesPerHalfRange * (1.0 + volts * gain / kReferenceVolts));
  return static_cast<std::int32_t>(std::clamp(code, 0.0, static_cast<double>(kFullCode)));
}

double ConverterNoiseRms(const ConverterSetting& setting) {
  const std::uint32_t gainSel = std::min<std::uint32_t>(setting.gainSel, kGainCount - 1);
  const double hertz = SamplesPerSecond(setting.spsSel);
  const double nanovolts = Interpolate(setting.sinc3 ? kSinc3Noise : kSinc4Noise, hertz, gainSel);
  const double chopFactor = setting.chop ? 1.0 / std::numbers::sqrt2 : 1.0;
  return nanovolts * kNanovolt * chopFactor;
}

double ConverterOffset(const ConverterSetting& setting) {
  if (setting.chop) return kOffsetChopOn;
  return kOffsetChopOffTimesGain / GainOf(setting.gainSel);
}

ConverterModel::ConverterModel(bool withNoise, std::uint64_t seed) : withNoise(withNoise), noise(seed) {}

std::int32_t ConverterModel::Convert(double volts, const ConverterSetting& setting) {
  const double input = withNoise ? volts + ConverterOffset(setting) + ConverterNoiseRms(setting) * noise.Next() : volts;
  return IdealCode(input, GainOf(setting.gainSel));
}
