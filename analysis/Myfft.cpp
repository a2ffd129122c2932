#include "analysis/Myfft.h"

#include <cmath>
#include <stdexcept>

#include "ui/Mymessage.h"

namespace {

// The window constants as the engine stores them.
constexpr float kTwoPi = 6.2831855F;
constexpr float kFourPi = 12.566371F;
constexpr float kHalf = 0.5F;
constexpr float kOne = 1.0F;
constexpr double kHamming0 = 0.54;
constexpr double kHamming1 = 0.46;

void ApplyCorrection(int n, int correct, double factor, float* dst) {
  if (correct != 1) return;
  for (int i = 0; i < n; ++i) dst[i] = static_cast<float>(dst[i] * factor);
}

}  // namespace

TmyFFT::TmyFFT(const FftSetting& setting, Prompter& prompter) : setting_(setting), prompter_(prompter) {}

void TmyFFT::DCCut(int n, const float* src, float* dst) const {
  if (n == 0) {
    ShowDcCutDivisionByZero(prompter_);
    return;
  }
  // A double sum keeps a small residual DC on a large offset from leaking into
  // the lowest lines; the mean itself is stored as a 32-bit float.
  double sum = 0.0;
  for (int i = 0; i < n; ++i) sum += src[i];
  const auto mean = static_cast<float>(sum / n);
  for (int i = 0; i < n; ++i) dst[i] = src[i] - mean;
}

void TmyFFT::Hanning(int n, const float* src, int correct, float* dst) const {
  for (int i = 0; i < n; ++i) {
    const double w = kOne - std::cos((i + 0.5) * static_cast<double>(kTwoPi) / n);
    dst[i] = static_cast<float>(w * src[i] * kHalf);
  }
  ApplyCorrection(n, correct, kHanningCorrection, dst);
}

void TmyFFT::Hamming(int n, const float* src, int correct, float* dst) const {
  for (int i = 0; i < n; ++i) {
    const double w = kHamming0 - kHamming1 * std::cos((i + 0.5) * static_cast<double>(kTwoPi) / n);
    dst[i] = static_cast<float>(w * src[i]);
  }
  ApplyCorrection(n, correct, kHammingCorrection, dst);
}

void TmyFFT::FlatTop(int n, const float* src, int correct, float* dst) const {
  const int h = n / 2;
  for (int i = 0; i < n; ++i) {
    const auto x = static_cast<float>((i + 0.5 - h) / n);
    const double t = (kHamming0 + kHamming1 * std::cos(static_cast<double>(kTwoPi) * x)) * src[i];
    const double arg = static_cast<double>(kFourPi) * x;
    dst[i] = static_cast<float>(std::sin(arg) / arg * t);
  }
  ApplyCorrection(n, correct, kFlatTopCorrection, dst);
}

void TmyFFT::RealFFT(int n, int direction, float* a) {
  if (direction != 1) throw std::invalid_argument("TmyFFT::RealFFT: only the forward direction (+1) exists");
  auto& plan = plans_[n];
  if (!plan) plan = std::make_unique<RealFftPlan>(n);
  plan->Forward(a);
}

void TmyFFT::Magnitude(int n, const float* a, float* spec) {
  spec[0] = std::fabs(a[0]);
  for (int k = 1; k < n / 2; ++k) {
    const double re = a[2 * k];
    const double im = a[2 * k + 1];
    spec[k] = static_cast<float>(std::sqrt(re * re + im * im));
  }
}
