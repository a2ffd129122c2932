#include "analysis/Myfft.h"

#include <cmath>
#include <stdexcept>

// Built with -ffp-contract=off: the window values must be the formulas' roundings on
// every target, not those of a fused multiply-add (see CMakeLists.txt).

namespace {

// The window constants as the engine stores them.
constexpr float kTwoPi = 6.2831855F;
constexpr float kFourPi = 12.566371F;
constexpr float kHalf = 0.5F;
constexpr float kOne = 1.0F;
constexpr double kHamming0 = 0.54;
constexpr double kHamming1 = 0.46;
constexpr double kUnity = 1.0;  // a gain or correction of 1 leaves a float exactly as it is

// The factor of 0.5 is taken into the table: (w·x)·0.5 and (w·0.5)·x round alike in
// double, since halving is exact there.
CacheAlignedVector<double> HanningTable(int n) {
  CacheAlignedVector<double> table(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const double w = kOne - std::cos((i + 0.5) * static_cast<double>(kTwoPi) / n);
    table[static_cast<std::size_t>(i)] = w * kHalf;
  }
  return table;
}

CacheAlignedVector<double> HammingTable(int n) {
  CacheAlignedVector<double> table(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    table[static_cast<std::size_t>(i)] = kHamming0 - kHamming1 * std::cos((i + 0.5) * static_cast<double>(kTwoPi) / n);
  }
  return table;
}

// x = (i + 0.5 − n/2)/n as a float; shape = 0.54 + 0.46·cos(2π·x), sinc = sin(4π·x)/(4π·x).
void FlatTopTables(int n, CacheAlignedVector<double>& shape, CacheAlignedVector<double>& sinc) {
  shape.resize(static_cast<std::size_t>(n));
  sinc.resize(static_cast<std::size_t>(n));
  const int h = n / 2;
  for (int i = 0; i < n; ++i) {
    const auto x = static_cast<float>((i + 0.5 - h) / n);
    shape[static_cast<std::size_t>(i)] = kHamming0 + kHamming1 * std::cos(static_cast<double>(kTwoPi) * x);
    const double arg = static_cast<double>(kFourPi) * x;
    sinc[static_cast<std::size_t>(i)] = std::sin(arg) / arg;
  }
}

}  // namespace

TmyFFT::TmyFFT(const FftSetting& setting, SimdLevel level)
    : setting_(setting), level_(level), kernels_(ChainKernelsFor(level)) {}

bool TmyFFT::DCCut(int n, const float* src, float* dst) const {
  if (n == 0) return false;
  kernels_.subtract(n, src, Mean(n, src), dst);
  return true;
}

float TmyFFT::Mean(int n, const float* src) const {
  // A double sum keeps a small residual DC on a large offset from leaking into
  // the lowest lines; the mean itself is stored as a 32-bit float.
  if (n <= 0) return 0.0F;
  return static_cast<float>(kernels_.sum(n, src) / n);
}

void TmyFFT::Hanning(int n, const float* src, int correct, float* dst) const {
  ApplyWindow(kHanning, n, src, 0.0F, correct, dst);
}

void TmyFFT::Hamming(int n, const float* src, int correct, float* dst) const {
  ApplyWindow(kHamming, n, src, 0.0F, correct, dst);
}

void TmyFFT::FlatTop(int n, const float* src, int correct, float* dst) const {
  ApplyWindow(kFlatTop, n, src, 0.0F, correct, dst);
}

void TmyFFT::ApplyWindow(int which, int n, const float* src, float offset, int correct, float* dst) const {
  if (n <= 0) return;
  const AppliedWindow window = WindowOf(which, n, correct);
  if (window.values == nullptr) {
    kernels_.subtract(n, src, offset, dst);
  } else if (window.taper == nullptr) {
    kernels_.window(n, src, offset, window.values, window.factor, dst);
  } else {
    kernels_.taperedWindow(n, src, offset, window.values, window.taper, window.factor, dst);
  }
}

double TmyFFT::WindowEnergy(int which, int n, int correct) const {
  if (n <= 0) return 0.0;
  const AppliedWindow window = WindowOf(which, n, correct);
  if (window.values == nullptr) return n;
  double sum = 0.0;
  for (int i = 0; i < n; ++i) {
    const double w = window.taper != nullptr ? window.taper[i] * window.values[i] : window.values[i];
    sum += w * w;
  }
  return sum * window.factor * window.factor;
}

TmyFFT::AppliedWindow TmyFFT::WindowOf(int which, int n, int correct) const {
  const auto factor = [correct](double correction) { return correct == 1 ? correction : kUnity; };
  switch (which) {
    case kHanning:
      return {TablesFor(which, n).hanning.data(), nullptr, factor(kHanningCorrection)};
    case kHamming:
      return {TablesFor(which, n).hamming.data(), nullptr, factor(kHammingCorrection)};
    case kFlatTop: {
      const auto& tables = TablesFor(which, n);
      return {tables.flatTopShape.data(), tables.flatTopSinc.data(), factor(kFlatTopCorrection)};
    }
    default:
      return {};
  }
}

const TmyFFT::WindowTables& TmyFFT::TablesFor(int which, int n) const {
  auto& tables = windows_[n];
  if (which == kHanning && tables.hanning.empty()) tables.hanning = HanningTable(n);
  if (which == kHamming && tables.hamming.empty()) tables.hamming = HammingTable(n);
  if (which == kFlatTop && tables.flatTopShape.empty()) FlatTopTables(n, tables.flatTopShape, tables.flatTopSinc);
  return tables;
}

void TmyFFT::RealFFT(int n, int direction, float* a) {
  if (direction != 1) throw std::invalid_argument("TmyFFT::RealFFT: only the forward direction (+1) exists");
  auto& plan = plans_[n];
  if (!plan) plan = std::make_unique<RealFftPlan>(n, level_);
  plan->Forward(a);
}

void TmyFFT::Magnitude(int n, const float* a, float* lines) {
  ChainKernelsFor(BestSimdLevel()).magnitude(n, a, kOne, kUnity, kUnity, lines);
}

void TmyFFT::ScaledMagnitude(int n, const float* a, double lineGain, float* lines) const {
  // For a power of two, 1/n is exact, so multiplying by it rounds as dividing by n does.
  kernels_.magnitude(n, a, kOne / static_cast<float>(n), lineGain, kUnity / n, lines);
}
