// The figures of a measurement from one record of 65536 codes: the converter's noise
// with its histogram, the tone metrics, and the Allan deviation.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "analysis/Analysis.h"
#include "analysis/MeasurementFigures.h"

namespace {

constexpr double kRate = 4800.0;
constexpr double kVoltsPerCode = 2.5 / 8388608.0 / 128.0;

// Codes of noise of 20 codes RMS about zero volts, with a tone of `toneCodes` amplitude
// 0.37 line off line n/16.
std::vector<std::int32_t> Record(int n, double toneCodes) {
  std::mt19937 rng(1);
  std::normal_distribution<double> noise(0.0, 20.0);
  std::vector<std::int32_t> codes(static_cast<std::size_t>(n));
  const double line = n / 16 + 0.37;
  for (int j = 0; j < n; ++j) {
    const double tone = toneCodes * std::sin(2.0 * std::numbers::pi * line * j / n);
    codes[static_cast<std::size_t>(j)] = kCodeZero + static_cast<std::int32_t>(std::lround(tone + noise(rng)));
  }
  return codes;
}

void BM_NoiseFigures(benchmark::State& state) {
  const auto codes = Record(static_cast<int>(state.range(0)), 0.0);
  for (auto _ : state) {
    const ConverterNoise noise = ConverterNoiseOf(codes, kVoltsPerCode);
    const CodeHistogram histogram = CodeHistogramOf(codes, noise);
    benchmark::DoNotOptimize(noise);
    benchmark::DoNotOptimize(histogram.gauss.data());
  }
}

void BM_ToneMetrics(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto codes = Record(n, 1e6);
  const double mean = ConverterNoiseOf(codes, kVoltsPerCode).meanCode;
  ToneAnalyser analyser(n);  // the window and the plan are built once per length
  for (auto _ : state) {
    auto tone = analyser.Analyse(codes, mean, kVoltsPerCode, kRate);
    benchmark::DoNotOptimize(tone);
  }
}

void BM_AllanDeviation(benchmark::State& state) {
  const auto codes = Record(static_cast<int>(state.range(0)), 0.0);
  const double mean = ConverterNoiseOf(codes, kVoltsPerCode).meanCode;
  for (auto _ : state) {
    auto points = AllanDeviationOf(codes, mean, kVoltsPerCode, kRate);
    benchmark::DoNotOptimize(points.data());
  }
}

constexpr int kLargest = 65536;

}  // namespace

BENCHMARK(BM_NoiseFigures)->Arg(kLargest)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ToneMetrics)->Arg(kLargest)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AllanDeviation)->Arg(kLargest)->Unit(benchmark::kMicrosecond);
