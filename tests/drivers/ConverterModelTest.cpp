#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "drivers/ConverterModel.h"
#include "drivers/SignalModel.h"
#include "model/UnitTables.h"

namespace {

constexpr double kStep = 2.5 / 8388608.0;  // volts per code at gain 1

TEST(ConverterModel, IdealCodeIsOffsetBinaryAndClampsAtOverload) {
  struct Row {
    const char* reason;
    double volts;
    std::int32_t gain;
    std::int32_t code;
  };
  const std::vector<Row> rows = {
      {"zero", 0.0, 1, 0x800000},
      {"one step below zero", -kStep, 1, 0x7FFFFF},
      {"one step above the lowest code", -2.5 + kStep, 1, 1},
      {"half scale", 1.25, 1, 0xC00000},
      {"largest code", 2.5 - kStep, 1, 0xFFFFFF},
      {"positive full scale clamps", 2.5, 1, 0xFFFFFF},
      {"far beyond clamps", 100.0, 1, 0xFFFFFF},
      {"negative full scale", -2.5, 1, 0},
      {"far below clamps", -100.0, 1, 0},
      {"gain 128 scales", 2.5 / 128 / 2, 128, 0xC00000},
      {"gain 128 overload", 0.02, 128, 0xFFFFFF},
      {"rounds to nearest", 0.4 * kStep, 1, 0x800000},
      {"rounds to nearest", 0.6 * kStep, 1, 0x800001},
  };
  for (const Row& row : rows) EXPECT_EQ(IdealCode(row.volts, row.gain), row.code) << row.reason;
}

// The published figures themselves are checked through the whole measurement road
// (MeasurementRunTest); here, what the model does between and beside them.
TEST(ConverterModel, NoiseBetweenThePublishedRates) {
  // 5 per second lies between the published 4.7 (250 nV) and 10 (330 nV).
  const double fiveHertz = ConverterNoiseRms({0, 0, false, false, false});
  EXPECT_GT(fiveHertz, 250e-9);
  EXPECT_LT(fiveHertz, 330e-9);
  // 20 per second on the straight log-log line from 10 (330 nV) to 50 (900 nV).
  EXPECT_NEAR(ConverterNoiseRms({2, 0, false, false, false}),
              330e-9 * std::pow(900.0 / 330.0, std::log(2.0) / std::log(5.0)), 1e-12);

  for (const bool sinc3 : {false, true}) {
    for (std::uint32_t gain = 0; gain < kGainCount; ++gain) {
      for (int rate = 1; rate < kRateCount; ++rate) {
        EXPECT_GT(ConverterNoiseRms({rate, gain, sinc3, false, false}),
                  ConverterNoiseRms({rate - 1, gain, sinc3, false, false}))
            << "noise grows with the data rate; rate " << rate << " gain " << gain << " sinc3 " << sinc3;
      }
      if (gain > 0) {
        EXPECT_LT(ConverterNoiseRms({12, gain, sinc3, false, false}),
                  ConverterNoiseRms({12, gain - 1, sinc3, false, false}))
            << "noise shrinks with the gain";
      }
    }
  }
  EXPECT_NEAR(ConverterNoiseRms({12, 5, false, false, true}) * std::sqrt(2.0),
              ConverterNoiseRms({12, 5, false, false, false}), 1e-15)
      << "chopping";
}

TEST(ConverterModel, OffsetShrinksWithGainAndWithChopping) {
  EXPECT_NEAR(ConverterOffset({12, 0, false, false, false}), 75e-6, 1e-12);
  EXPECT_NEAR(ConverterOffset({12, 5, false, false, false}), 75e-6 / 128, 1e-12);
  EXPECT_NEAR(ConverterOffset({12, 5, false, false, true}), 0.5e-6, 1e-12);
}

TEST(ConverterModel, ConvertedNoiseHasTheModelledRmsAndOffset) {
  const ConverterSetting setting{12, 5, false, false, false};
  ConverterModel converter(true, 42);
  constexpr int kSamples = 20000;
  const double voltsPerCode = kStep / 128;
  double sum = 0.0;
  double squares = 0.0;
  for (int i = 0; i < kSamples; ++i) {
    const double volts = (converter.Convert(0.0, setting) - 0x800000) * voltsPerCode;
    sum += volts;
    squares += volts * volts;
  }
  const double mean = sum / kSamples;
  const double rms = std::sqrt(squares / kSamples - mean * mean);
  EXPECT_NEAR(mean, ConverterOffset(setting), 0.05 * ConverterOffset(setting));
  EXPECT_NEAR(rms, ConverterNoiseRms(setting), 0.05 * ConverterNoiseRms(setting));

  ConverterModel quiet(false, 42);
  EXPECT_EQ(quiet.Convert(0.0, setting), 0x800000) << "noise=off converts ideally";
}

TEST(SignalModel, SumsItsTerms) {
  SignalModel signal({{SignalKind::Dc, 0, 0.5}, {SignalKind::Sine, 100, 0.25}, {SignalKind::Hum, 0, 0.1}}, 1);
  EXPECT_DOUBLE_EQ(signal.Deterministic(0.0), 0.5);
  // A quarter period of 50 Hz: sine at 100 Hz is at 0 again, the hum's odd harmonics
  // alternate in sign: 1 - 0.3 + 0.15 - 0.05.
  EXPECT_NEAR(signal.Deterministic(0.005), 0.5 + 0.1 * 0.8, 1e-12);
  EXPECT_NEAR(signal.Deterministic(0.0025), 0.5 + 0.25 + 0.1 * std::sin(std::numbers::pi / 4) * (1 + 0.3 - 0.15 - 0.05),
              1e-12);
  EXPECT_DOUBLE_EQ(signal.Next(0.0, 4800.0), 0.5) << "no noise term, no noise";
}

TEST(SignalModel, WhiteNoiseHasItsRms) {
  SignalModel signal({{SignalKind::White, 0, 3e-6}, {SignalKind::White, 0, 4e-6}}, 3);
  EXPECT_DOUBLE_EQ(signal.WhiteRms(), 5e-6) << "independent noises add in power";
  constexpr int kSamples = 20000;
  double squares = 0.0;
  for (int i = 0; i < kSamples; ++i) squares += std::pow(signal.Next(0.0, 4800.0), 2);
  EXPECT_NEAR(std::sqrt(squares / kSamples), 5e-6, 0.05 * 5e-6);
}

// Allan deviation at an averaging time of `cluster` samples: half the mean square of
// the differences of consecutive cluster means, rooted.
double AllanDeviation(const std::vector<double>& x, std::size_t cluster) {
  std::vector<double> means;
  for (std::size_t start = 0; start + cluster <= x.size(); start += cluster) {
    double sum = 0.0;
    for (std::size_t i = start; i < start + cluster; ++i) sum += x[i];
    means.push_back(sum / static_cast<double>(cluster));
  }
  double squares = 0.0;
  for (std::size_t i = 1; i < means.size(); ++i) squares += std::pow(means[i] - means[i - 1], 2);
  return std::sqrt(squares / (2.0 * static_cast<double>(means.size() - 1)));
}

// The time-domain signature of 1/f noise: a density A/√f (one-sided) has the same
// Allan deviation A·√(2 ln 2) at every averaging time, where white noise would fall
// as 1/√τ and a random walk rise as √τ.
TEST(FlickerNoise, AllanDeviationIsFlatAtItsDensity) {
  constexpr double kNsd = 100e-9;
  const double expected = kNsd * std::sqrt(2.0 * std::numbers::ln2);
  constexpr std::size_t kSamples = 1 << 17;
  for (const double rate : {100.0, 4800.0}) {
    SignalModel signal({{SignalKind::Flicker, 0, kNsd}}, 11);
    std::vector<double> x(kSamples);
    for (double& v : x) v = signal.Next(0.0, rate);
    for (const std::size_t cluster : {4U, 16U, 128U}) {
      EXPECT_NEAR(AllanDeviation(x, cluster), expected, 0.05 * expected)
          << "at " << rate << " per second, tau = " << cluster << " samples";
    }
  }
}

TEST(FlickerNoise, IsSeededAndLeavesTheWhiteNoiseAlone) {
  SignalModel a({{SignalKind::White, 0, 1e-6}, {SignalKind::Flicker, 0, 1e-7}}, 5);
  SignalModel b({{SignalKind::White, 0, 1e-6}, {SignalKind::Flicker, 0, 1e-7}}, 5);
  SignalModel whiteOnly({{SignalKind::White, 0, 1e-6}}, 5);
  SignalModel flickerOnly({{SignalKind::Flicker, 0, 1e-7}}, 5);
  for (int i = 0; i < 1000; ++i) {
    const double sample = a.Next(0.0, 50.0);
    ASSERT_EQ(sample, b.Next(0.0, 50.0)) << "same seed, same samples";
    ASSERT_NEAR(sample, whiteOnly.Next(0.0, 50.0) + flickerOnly.Next(0.0, 50.0), 1e-18)
        << "the 1/f noise draws from its own stream";
  }
  EXPECT_DOUBLE_EQ(a.FlickerNsd(), 1e-7);
  EXPECT_THROW(flickerOnly.Next(0.0, 2.0), std::invalid_argument) << "1 Hz must lie below half the rate";
}

}  // namespace
