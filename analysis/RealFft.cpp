#include "analysis/RealFft.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace {
bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }
}  // namespace

RealFftPlan::RealFftPlan(int n) : n_(n) {
  if (n < 4 || !IsPowerOfTwo(n)) throw std::invalid_argument("RealFftPlan: length must be a power of two >= 4");
  const int half = n / 2;
  bitReverse_.resize(static_cast<std::size_t>(half));
  int bits = 0;
  while ((1 << bits) < half) ++bits;
  for (int i = 0; i < half; ++i) {
    int r = 0;
    for (int b = 0; b < bits; ++b) r |= ((i >> b) & 1) << (bits - 1 - b);
    bitReverse_[static_cast<std::size_t>(i)] = r;
  }
  twiddle_.resize(static_cast<std::size_t>(std::max(1, half / 2)));
  for (std::size_t k = 0; k < twiddle_.size(); ++k) {
    const double angle = -2.0 * std::numbers::pi * static_cast<double>(k) / half;
    twiddle_[k] = {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
  }
  realTwiddle_.resize(static_cast<std::size_t>(half));
  for (std::size_t k = 0; k < realTwiddle_.size(); ++k) {
    const double angle = -2.0 * std::numbers::pi * static_cast<double>(k) / n;
    realTwiddle_[k] = {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
  }
}

void RealFftPlan::ComplexForward(std::complex<float>* z) const {
  const int half = n_ / 2;
  for (int i = 0; i < half; ++i) {
    const int r = bitReverse_[static_cast<std::size_t>(i)];
    if (r > i) std::swap(z[i], z[r]);
  }
  for (int len = 2; len <= half; len <<= 1) {
    const int step = half / len;
    for (int start = 0; start < half; start += len) {
      for (int j = 0; j < len / 2; ++j) {
        const auto w = twiddle_[static_cast<std::size_t>(j * step)];
        const auto u = z[start + j];
        const auto v = z[start + j + len / 2] * w;
        z[start + j] = u + v;
        z[start + j + len / 2] = u - v;
      }
    }
  }
}

void RealFftPlan::Forward(float* a) const {
  const int half = n_ / 2;
  auto* z = reinterpret_cast<std::complex<float>*>(a);  // NOLINT: std::complex is layout-compatible with float[2]
  ComplexForward(z);
  const auto z0 = z[0];
  // Separate the spectra of the even and odd samples, pairing k with half - k.
  for (int k = 1; k <= half / 2; ++k) {
    const auto zk = z[k];
    const auto zm = std::conj(z[half - k]);
    const auto even = (zk + zm) * 0.5F;
    const auto odd = (zk - zm) * std::complex<float>(0.0F, -0.5F);
    const auto xk = even + realTwiddle_[static_cast<std::size_t>(k)] * odd;
    const auto xm = std::conj(even - realTwiddle_[static_cast<std::size_t>(k)] * odd);
    // X[half-k] = conj(E_k) - conj(W_k O_k) … written through the mirrored pair.
    z[k] = {xk.real(), -xk.imag()};
    z[half - k] = {xm.real(), -xm.imag()};
  }
  a[0] = z0.real() + z0.imag();
  a[1] = z0.real() - z0.imag();
}
