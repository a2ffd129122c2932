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

// Published RMS noise in nV, chopping off, at the gains 1, 8, 16, 32, 64, 128.
struct NoiseRow {
  double hertz;
  std::array<double, kGainCount> nanovolts;
};

constexpr std::array<NoiseRow, 10> kSinc4Noise{{
    {4.7, {60, 13, 11, 9.5, 8.5, 8.5}},
    {7.5, {75, 16, 13, 11, 10, 10}},
    {10, {85, 18, 15, 12, 11.5, 11}},
    {50, {200, 40, 30, 26, 25, 24}},
    {60, {215, 43, 32, 28, 27, 26}},
    {150, {350, 65, 50, 43, 42, 41}},
    {300, {480, 95, 70, 62, 60, 58}},
    {960, {1100, 200, 135, 110, 105, 100}},
    {2400, {2600, 420, 260, 190, 180, 170}},
    {4800, {4500, 720, 420, 300, 270, 255}},
}};

constexpr std::array<NoiseRow, 10> kSinc3Noise{{
    {4.7, {60, 13, 11, 9.5, 8.5, 8.5}},
    {7.5, {75, 16, 13, 11, 10, 10}},
    {10, {85, 18, 15, 12, 11.5, 11}},
    {50, {205, 41, 31, 27, 26, 25}},
    {60, {220, 44, 33, 29, 28, 27}},
    {150, {360, 67, 52, 45, 43, 42}},
    {300, {500, 100, 73, 64, 62, 60}},
    {960, {1300, 230, 150, 120, 112, 106}},
    {2400, {6000, 900, 480, 310, 230, 210}},
    {4800, {23000, 3000, 1600, 850, 520, 420}},
}};

// Log-log interpolation of a table column at a rate; clamped at the table's ends.
double Interpolate(const std::array<NoiseRow, 10>& table, double hertz, std::uint32_t gainSel) {
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
