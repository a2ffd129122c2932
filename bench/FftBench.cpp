// The transform and the analysis chain beside FFTW single precision, so the ratios
// are read from one run.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "analysis/Analysis.h"
#include "analysis/NoiseDensity.h"

namespace {

std::vector<float> NoisySignal(int n) {
  std::mt19937 rng(1);
  std::normal_distribution<float> noise(0.0F, 1e-3F);
  std::vector<float> x(static_cast<std::size_t>(n));
  for (int j = 0; j < n; ++j) x[static_cast<std::size_t>(j)] = 0.5F + noise(rng);
  return x;
}

void BM_RealFFT(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto signal = NoisySignal(n);
  std::vector<float> a(signal);
  FftSetting setting;
  TmyFFT fft(setting);
  fft.RealFFT(n, 1, a.data());  // plan outside the timed loop, as FFTW's
  for (auto _ : state) {
    std::copy(signal.begin(), signal.end(), a.begin());
    fft.RealFFT(n, 1, a.data());
    benchmark::DoNotOptimize(a.data());
  }
}

// The portable kernels alone, as a CPU without AVX2 runs them.
void BM_RealFFTPortable(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto signal = NoisySignal(n);
  std::vector<float> a(signal);
  RealFftPlan plan(n, SimdLevel::Portable);
  for (auto _ : state) {
    std::copy(signal.begin(), signal.end(), a.begin());
    plan.Forward(a.data());
    benchmark::DoNotOptimize(a.data());
  }
}

void BM_AnalyseSpectrum(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  FftSetting setting;
  setting.whichWindowFunc = 1;
  setting.fDCCut_FFT = 1;
  setting.fWinFuncAdjust = 1;
  TmyFFT fft(setting);
  auto buffers = std::make_unique<MeasureBuffers>();
  auto work = std::make_unique<AnalysisWork>();
  MeasureData data;
  buffers->Bind(data);
  data.ad_dnum = n;
  const auto signal = NoisySignal(n);
  std::copy(signal.begin(), signal.end(), data.volt);
  AnalyseSpectrum(fft, setting, data, *work);
  for (auto _ : state) {
    AnalyseSpectrum(fft, setting, data, *work);
    benchmark::DoNotOptimize(data.spectrum);
  }
}

// The noise density of a whole record by Welch's method with 4096-sample segments
// (31 Hanning segments overlapping by half for 65536 samples).
void BM_WelchDensity(benchmark::State& state) {
  constexpr int kSegment = 4096;
  constexpr double kRate = 4800.0;
  const int n = static_cast<int>(state.range(0));
  const auto signal = NoisySignal(n);
  FftSetting setting;
  TmyFFT fft(setting);
  for (auto _ : state) {
    WelchDensity welch(fft, {.window = TmyFFT::kHanning, .segmentLength = kSegment, .sampleRate = kRate});
    welch.AddRecord(signal);
    auto density = welch.Density();
    benchmark::DoNotOptimize(density.data());
  }
}

struct FftwPlan {
  explicit FftwPlan(int n)
      : in(fftwf_alloc_real(static_cast<std::size_t>(n))),
        out(fftwf_alloc_complex(static_cast<std::size_t>(n / 2 + 1))),
        plan(fftwf_plan_dft_r2c_1d(n, in, out, FFTW_ESTIMATE)) {}
  ~FftwPlan() {
    fftwf_destroy_plan(plan);
    fftwf_free(in);
    fftwf_free(out);
  }
  FftwPlan(const FftwPlan&) = delete;
  FftwPlan& operator=(const FftwPlan&) = delete;

  float* in;
  fftwf_complex* out;
  fftwf_plan plan;
};

void BM_FftwR2C(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto signal = NoisySignal(n);
  FftwPlan fftw(n);
  for (auto _ : state) {
    std::copy(signal.begin(), signal.end(), fftw.in);
    fftwf_execute(fftw.plan);
    benchmark::DoNotOptimize(fftw.out);
  }
}

// The same chain with FFTW: mean removal, precomputed Hanning window, r2c, magnitudes.
void BM_FftwChain(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto signal = NoisySignal(n);
  FftwPlan fftw(n);
  std::vector<float> window(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    window[static_cast<std::size_t>(i)] =
        static_cast<float>(0.5 * (1.0 - std::cos(2.0 * std::numbers::pi * (i + 0.5) / n)) * 1.632993162);
  }
  std::vector<float> spectrum(static_cast<std::size_t>(n / 2));
  for (auto _ : state) {
    double sum = 0.0;
    for (float v : signal) sum += v;
    const auto mean = static_cast<float>(sum / n);
    for (int i = 0; i < n; ++i)
      fftw.in[i] = (signal[static_cast<std::size_t>(i)] - mean) * window[static_cast<std::size_t>(i)];
    fftwf_execute(fftw.plan);
    const float scale = static_cast<float>(std::numbers::sqrt2 / n);
    for (int k = 0; k < n / 2; ++k) {
      spectrum[static_cast<std::size_t>(k)] = std::hypot(fftw.out[k][0], fftw.out[k][1]) * scale;
    }
    benchmark::DoNotOptimize(spectrum.data());
  }
}

constexpr int kSmallest = 1024;
constexpr int kLargest = 65536;

}  // namespace

BENCHMARK(BM_RealFFT)->RangeMultiplier(4)->Range(kSmallest, kLargest)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RealFFTPortable)->RangeMultiplier(4)->Range(kSmallest, kLargest)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FftwR2C)->RangeMultiplier(4)->Range(kSmallest, kLargest)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AnalyseSpectrum)->RangeMultiplier(4)->Range(kSmallest, kLargest)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WelchDensity)->Arg(kLargest)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FftwChain)->RangeMultiplier(4)->Range(kSmallest, kLargest)->Unit(benchmark::kMicrosecond);
