#include "analysis/ChainKernels.h"

#include <cmath>

// Built with -ffp-contract=off (no fused multiply-add changes a rounding) and
// -fno-math-errno (so the square roots vectorise); see CMakeLists.txt.

namespace {

constexpr int kPartialSums = 8;

ZEMTRA_ALWAYS_INLINE double Sum(int n, const float* __restrict src) {
  double partial[kPartialSums] = {};
  int i = 0;
  for (; i + kPartialSums <= n; i += kPartialSums) {
    for (int j = 0; j < kPartialSums; ++j) partial[j] += src[i + j];
  }
  for (int j = 0; i < n; ++i, ++j) partial[j] += src[i];
  return ((partial[0] + partial[1]) + (partial[2] + partial[3])) +
         ((partial[4] + partial[5]) + (partial[6] + partial[7]));
}

ZEMTRA_ALWAYS_INLINE void Subtract(int n, const float* __restrict src, float offset, float* __restrict dst) {
  for (int i = 0; i < n; ++i) dst[i] = src[i] - offset;
}

ZEMTRA_ALWAYS_INLINE void Window(int n, const float* __restrict src, float offset, const double* __restrict shape,
                                 double correction, float* __restrict dst) {
  for (int i = 0; i < n; ++i) {
    const auto windowed = static_cast<float>(shape[i] * (src[i] - offset));
    dst[i] = static_cast<float>(windowed * correction);
  }
}

ZEMTRA_ALWAYS_INLINE void TaperedWindow(int n, const float* __restrict src, float offset,
                                        const double* __restrict shape, const double* __restrict taper,
                                        double correction, float* __restrict dst) {
  for (int i = 0; i < n; ++i) {
    const auto windowed = static_cast<float>(taper[i] * (shape[i] * (src[i] - offset)));
    dst[i] = static_cast<float>(windowed * correction);
  }
}

ZEMTRA_ALWAYS_INLINE void Magnitude(int n, const float* __restrict a, float dcScale, double lineGain, double lineScale,
                                    float* __restrict lines) {
  lines[0] = std::fabs(a[0] * dcScale);
  for (int k = 1; k < n / 2; ++k) {
    const double re = static_cast<float>(a[2 * k] * lineGain * lineScale);
    const double im = static_cast<float>(a[2 * k + 1] * lineGain * lineScale);
    lines[k] = static_cast<float>(std::sqrt(re * re + im * im));
  }
}

// One set of out-of-line functions per level, each with the loops inlined into it.
#define ZEMTRA_SPECTRUM_KERNELS(Suffix, Target)                                                                      \
  Target double Sum##Suffix(int n, const float* src) { return Sum(n, src); }                                         \
  Target void Subtract##Suffix(int n, const float* src, float offset, float* dst) { Subtract(n, src, offset, dst); } \
  Target void Window##Suffix(int n, const float* src, float offset, const double* shape, double correction,          \
                             float* dst) {                                                                           \
    Window(n, src, offset, shape, correction, dst);                                                                  \
  }                                                                                                                  \
  Target void TaperedWindow##Suffix(int n, const float* src, float offset, const double* shape, const double* taper, \
                                    double correction, float* dst) {                                                 \
    TaperedWindow(n, src, offset, shape, taper, correction, dst);                                                    \
  }                                                                                                                  \
  Target void Magnitude##Suffix(int n, const float* a, float dcScale, double lineGain, double lineScale,             \
                                float* lines) {                                                                      \
    Magnitude(n, a, dcScale, lineGain, lineScale, lines);                                                            \
  }                                                                                                                  \
  constexpr ChainKernels k##Suffix##Kernels{Sum##Suffix, Subtract##Suffix, Window##Suffix, TaperedWindow##Suffix,    \
                                            Magnitude##Suffix};

ZEMTRA_SPECTRUM_KERNELS(Portable, )
#if defined(ZEMTRA_HAVE_AVX2_KERNELS)
ZEMTRA_SPECTRUM_KERNELS(Avx2, ZEMTRA_TARGET_AVX2)
#endif

}  // namespace

const ChainKernels& ChainKernelsFor(SimdLevel level) {
  RequireSimdLevel(level);
#if defined(ZEMTRA_HAVE_AVX2_KERNELS)
  if (level == SimdLevel::Avx2) return kAvx2Kernels;
#endif
  return kPortableKernels;
}
