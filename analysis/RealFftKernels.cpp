#include "analysis/RealFftKernels.h"

#include <cstring>

namespace {

// ---------------------------------------------------------------------------------
// Arithmetic shared by the scalar and the vector loops: T is float or a vector.

// Four floats (SSE, NEON) for the portable level, eight (AVX) for the AVX2 level.
typedef float Vec4 __attribute__((vector_size(16)));
typedef float Vec8 __attribute__((vector_size(32)));

template <typename T>
struct Cx {
  T re;
  T im;
};

template <typename T>
ZEMTRA_ALWAYS_INLINE Cx<T> operator+(Cx<T> a, Cx<T> b) {
  return {a.re + b.re, a.im + b.im};
}
template <typename T>
ZEMTRA_ALWAYS_INLINE Cx<T> operator-(Cx<T> a, Cx<T> b) {
  return {a.re - b.re, a.im - b.im};
}
template <typename T>
ZEMTRA_ALWAYS_INLINE Cx<T> Mul(Cx<T> a, Cx<T> w) {
  return {a.re * w.re - a.im * w.im, a.re * w.im + a.im * w.re};
}
// −i·a, the quarter turn of the forward transform.
template <typename T>
ZEMTRA_ALWAYS_INLINE Cx<T> MinusI(Cx<T> a) {
  return {a.im, -a.re};
}

// The four-point forward DFT of (a, b, c, d), in place, before the twiddles.
template <typename T>
ZEMTRA_ALWAYS_INLINE void Butterfly4(Cx<T>& a, Cx<T>& b, Cx<T>& c, Cx<T>& d) {
  const auto apc = a + c;
  const auto amc = a - c;
  const auto bpd = b + d;
  const auto mibmd = MinusI(b - d);
  a = apc + bpd;
  b = amc + mibmd;
  c = apc - bpd;
  d = amc - mibmd;
}

// Line k of the real signal from lines k and n/2 − k of the half-length transform Z:
// with E = (Z_k + conj Z_{N−k})/2, O = (Z_k − conj Z_{N−k})/2i and W = e^{−2πik/n},
// X_k = E + W·O and X_{N−k} = conj(E − W·O). Returned in the packed layout (cosine
// part, sine part = −Im X): low for line k, high for line N − k.
template <typename T>
ZEMTRA_ALWAYS_INLINE void SeparateLines(Cx<T> zk, Cx<T> zMirror, Cx<T> w, Cx<T>& low, Cx<T>& high) {
  const T half = T{} + 0.5F;
  const Cx<T> zm{zMirror.re, -zMirror.im};
  const Cx<T> even{(zk.re + zm.re) * half, (zk.im + zm.im) * half};
  const Cx<T> odd{(zk.im - zm.im) * half, (zm.re - zk.re) * half};
  const auto t = Mul(odd, w);
  low = {even.re + t.re, -(even.im + t.im)};
  high = {even.re - t.re, even.im - t.im};
}

// ---------------------------------------------------------------------------------
// Vector memory access and lane shuffles, for both widths.

template <typename V>
constexpr int kLanesOf = sizeof(V) / sizeof(float);

template <typename V>
ZEMTRA_ALWAYS_INLINE V Load(const float* p) {
  V v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
template <typename V>
ZEMTRA_ALWAYS_INLINE void Store(float* p, V v) {
  std::memcpy(p, &v, sizeof v);
}
template <typename V>
ZEMTRA_ALWAYS_INLINE V Broadcast(float x) {
  return V{} + x;
}

// The lower halves of a and b interleaved lane by lane, and the upper halves.
ZEMTRA_ALWAYS_INLINE Vec4 ZipLow(Vec4 a, Vec4 b) { return __builtin_shufflevector(a, b, 0, 4, 1, 5); }
ZEMTRA_ALWAYS_INLINE Vec4 ZipHigh(Vec4 a, Vec4 b) { return __builtin_shufflevector(a, b, 2, 6, 3, 7); }
ZEMTRA_ALWAYS_INLINE Vec8 ZipLow(Vec8 a, Vec8 b) { return __builtin_shufflevector(a, b, 0, 8, 1, 9, 2, 10, 3, 11); }
ZEMTRA_ALWAYS_INLINE Vec8 ZipHigh(Vec8 a, Vec8 b) { return __builtin_shufflevector(a, b, 4, 12, 5, 13, 6, 14, 7, 15); }
// The even and the odd lanes of a followed by b.
ZEMTRA_ALWAYS_INLINE Vec4 Evens(Vec4 a, Vec4 b) { return __builtin_shufflevector(a, b, 0, 2, 4, 6); }
ZEMTRA_ALWAYS_INLINE Vec4 Odds(Vec4 a, Vec4 b) { return __builtin_shufflevector(a, b, 1, 3, 5, 7); }
ZEMTRA_ALWAYS_INLINE Vec8 Evens(Vec8 a, Vec8 b) { return __builtin_shufflevector(a, b, 0, 2, 4, 6, 8, 10, 12, 14); }
ZEMTRA_ALWAYS_INLINE Vec8 Odds(Vec8 a, Vec8 b) { return __builtin_shufflevector(a, b, 1, 3, 5, 7, 9, 11, 13, 15); }
ZEMTRA_ALWAYS_INLINE Vec4 Reverse(Vec4 a) { return __builtin_shufflevector(a, a, 3, 2, 1, 0); }
ZEMTRA_ALWAYS_INLINE Vec8 Reverse(Vec8 a) { return __builtin_shufflevector(a, a, 7, 6, 5, 4, 3, 2, 1, 0); }
// Lower halves of a and b side by side, and upper halves (the stride-4 pass of Vec8).
ZEMTRA_ALWAYS_INLINE Vec8 LowHalves(Vec8 a, Vec8 b) { return __builtin_shufflevector(a, b, 0, 1, 2, 3, 8, 9, 10, 11); }
ZEMTRA_ALWAYS_INLINE Vec8 HighHalves(Vec8 a, Vec8 b) {
  return __builtin_shufflevector(a, b, 4, 5, 6, 7, 12, 13, 14, 15);
}

// n/2 complex values in split form.
struct Split {
  float* re;
  float* im;
};

// The two ping-pong buffers in the plan's scratch.
struct Buffers {
  Split split[2];
  explicit Buffers(const RealFftView& view)
      : split{{view.scratch, view.scratch + view.n / 2}, {view.scratch + view.n, view.scratch + view.n * 3 / 2}} {}
};

// Lines 0 and n/2 of the real signal: the sum and difference of Z_0's two parts.
ZEMTRA_ALWAYS_INLINE void SeparateOuterLines(Split z, float* a) {
  a[0] = z.re[0] + z.im[0];
  a[1] = z.re[0] - z.im[0];
}

template <typename V>
ZEMTRA_ALWAYS_INLINE Cx<V> LoadCx(Split s, int i) {
  return {Load<V>(s.re + i), Load<V>(s.im + i)};
}
template <typename V>
ZEMTRA_ALWAYS_INLINE void StoreCx(Split s, int i, Cx<V> z) {
  Store(s.re + i, z.re);
  Store(s.im + i, z.im);
}
// Complex values from interleaved (re, im) pairs.
template <typename V>
ZEMTRA_ALWAYS_INLINE Cx<V> LoadInterleaved(const float* p) {
  const V a = Load<V>(p);
  const V b = Load<V>(p + kLanesOf<V>);
  return {Evens(a, b), Odds(a, b)};
}
template <typename V>
ZEMTRA_ALWAYS_INLINE void StoreInterleaved(float* p, Cx<V> z) {
  Store(p, ZipLow(z.re, z.im));
  Store(p + kLanesOf<V>, ZipHigh(z.re, z.im));
}

// Twiddle row k (1 … 3) of a pass, entry e.
struct Twiddles {
  const float* rows;
  int count;
  ZEMTRA_ALWAYS_INLINE const float* Re(int k, int e) const { return rows + (2 * k - 2) * count + e; }
  ZEMTRA_ALWAYS_INLINE const float* Im(int k, int e) const { return rows + (2 * k - 1) * count + e; }
  template <typename V>
  ZEMTRA_ALWAYS_INLINE Cx<V> Lanes(int k, int e) const {
    return {Load<V>(Re(k, e)), Load<V>(Im(k, e))};
  }
  template <typename V>
  ZEMTRA_ALWAYS_INLINE Cx<V> Broadcasted(int k, int e) const {
    return {Broadcast<V>(*Re(k, e)), Broadcast<V>(*Im(k, e))};
  }
  ZEMTRA_ALWAYS_INLINE Cx<float> Scalar(int k, int e) const { return {*Re(k, e), *Im(k, e)}; }
};

template <typename V>
ZEMTRA_ALWAYS_INLINE void ApplyTwiddles(Cx<V>& b, Cx<V>& c, Cx<V>& d, Cx<V> w1, Cx<V> w2, Cx<V> w3) {
  b = Mul(b, w1);
  c = Mul(c, w2);
  d = Mul(d, w3);
}

// ---------------------------------------------------------------------------------
// Vector passes. In a radix-4 pass, element i = q + s·p (q < s, p < L/4) combines the
// inputs i + j·n/8 (j = 0 … 3, n/8 = a quarter of the n/2 points), and output k goes
// to q + s·(4p + k). Vectors run over consecutive i, so the loads are contiguous; the
// stores are contiguous once s reaches the vector width, and shuffled before that.

// The first pass (s = 1) reads the caller's interleaved data; output k of lane p goes
// to 4p + k, a 4 × W transposition of the four results (two rounds of zips).
template <typename V>
ZEMTRA_ALWAYS_INLINE void FirstPass(const FftPass& pass, const float* a, Split out, int quarter) {
  constexpr int W = kLanesOf<V>;
  const Twiddles tw{pass.twiddles, pass.twiddleCount};
  for (int i = 0; i < quarter; i += W) {
    auto x0 = LoadInterleaved<V>(a + 2 * i);
    auto x1 = LoadInterleaved<V>(a + 2 * (i + quarter));
    auto x2 = LoadInterleaved<V>(a + 2 * (i + 2 * quarter));
    auto x3 = LoadInterleaved<V>(a + 2 * (i + 3 * quarter));
    Butterfly4(x0, x1, x2, x3);
    ApplyTwiddles(x1, x2, x3, tw.Lanes<V>(1, i), tw.Lanes<V>(2, i), tw.Lanes<V>(3, i));
    const auto p0 = ZipLow(x0.re, x2.re), p1 = ZipHigh(x0.re, x2.re);
    const auto q0 = ZipLow(x1.re, x3.re), q1 = ZipHigh(x1.re, x3.re);
    const auto r0 = ZipLow(x0.im, x2.im), r1 = ZipHigh(x0.im, x2.im);
    const auto s0 = ZipLow(x1.im, x3.im), s1 = ZipHigh(x1.im, x3.im);
    const int o = 4 * i;
    StoreCx<V>(out, o, {ZipLow(p0, q0), ZipLow(r0, s0)});
    StoreCx<V>(out, o + W, {ZipHigh(p0, q0), ZipHigh(r0, s0)});
    StoreCx<V>(out, o + 2 * W, {ZipLow(p1, q1), ZipLow(r1, s1)});
    StoreCx<V>(out, o + 3 * W, {ZipHigh(p1, q1), ZipHigh(r1, s1)});
  }
}

// The pass with s = 4 for eight lanes: a vector holds two values of p, whose outputs
// go to 16p + 4k + q. Its span n/8 ≥ 8 always has twiddles.
ZEMTRA_ALWAYS_INLINE void StrideFourPass(const FftPass& pass, Split in, Split out, int quarter) {
  using V = Vec8;
  const Twiddles tw{pass.twiddles, pass.twiddleCount};
  for (int i = 0; i < quarter; i += kLanesOf<V>) {
    auto x0 = LoadCx<V>(in, i);
    auto x1 = LoadCx<V>(in, i + quarter);
    auto x2 = LoadCx<V>(in, i + 2 * quarter);
    auto x3 = LoadCx<V>(in, i + 3 * quarter);
    Butterfly4(x0, x1, x2, x3);
    ApplyTwiddles(x1, x2, x3, tw.Lanes<V>(1, i), tw.Lanes<V>(2, i), tw.Lanes<V>(3, i));
    const int o = 4 * i;
    StoreCx<V>(out, o, {LowHalves(x0.re, x1.re), LowHalves(x0.im, x1.im)});
    StoreCx<V>(out, o + 8, {LowHalves(x2.re, x3.re), LowHalves(x2.im, x3.im)});
    StoreCx<V>(out, o + 16, {HighHalves(x0.re, x1.re), HighHalves(x0.im, x1.im)});
    StoreCx<V>(out, o + 24, {HighHalves(x2.re, x3.re), HighHalves(x2.im, x3.im)});
  }
}

// Passes with s ≥ W: one twiddle per p, broadcast; loads and stores contiguous.
template <typename V>
ZEMTRA_ALWAYS_INLINE void WidePass(const FftPass& pass, Split in, Split out, int quarter) {
  const Twiddles tw{pass.twiddles, pass.twiddleCount};
  const int s = pass.stride;
  const int groups = pass.span / 4;
  const bool twiddled = pass.twiddleCount > 0;
  for (int p = 0; p < groups; ++p) {
    const auto w1 = twiddled ? tw.Broadcasted<V>(1, p) : Cx<V>{};
    const auto w2 = twiddled ? tw.Broadcasted<V>(2, p) : Cx<V>{};
    const auto w3 = twiddled ? tw.Broadcasted<V>(3, p) : Cx<V>{};
    for (int q = 0; q < s; q += kLanesOf<V>) {
      const int i = q + s * p;
      auto x0 = LoadCx<V>(in, i);
      auto x1 = LoadCx<V>(in, i + quarter);
      auto x2 = LoadCx<V>(in, i + 2 * quarter);
      auto x3 = LoadCx<V>(in, i + 3 * quarter);
      Butterfly4(x0, x1, x2, x3);
      if (twiddled) ApplyTwiddles(x1, x2, x3, w1, w2, w3);
      const int o = q + 4 * s * p;
      StoreCx(out, o, x0);
      StoreCx(out, o + s, x1);
      StoreCx(out, o + 2 * s, x2);
      StoreCx(out, o + 3 * s, x3);
    }
  }
}

// The radix-2 last pass (L = 2, s = n/4): sum and difference of the two halves.
template <typename V>
ZEMTRA_ALWAYS_INLINE void LastRadix2Pass(Split in, Split out, int half) {
  for (int q = 0; q < half; q += kLanesOf<V>) {
    const auto x0 = LoadCx<V>(in, q);
    const auto x1 = LoadCx<V>(in, q + half);
    StoreCx(out, q, x0 + x1);
    StoreCx(out, q + half, x0 - x1);
  }
}

// From the half-length transform z (N = n/2 points) to the packed real spectrum in a.
// Lines k = 1 … N/2 go in blocks of W with their mirrors N − k; line N/2 is its own
// mirror, and both of its results are equal because its twiddle is exactly −i.
template <typename V>
ZEMTRA_ALWAYS_INLINE void SeparateVector(const RealFftView& view, Split z, float* a) {
  constexpr int W = kLanesOf<V>;
  const int points = view.n / 2;
  for (int k = 1; k + W - 1 <= points / 2; k += W) {
    const int mirror = points - k - (W - 1);  // lowest of the mirrored lines N − k
    const auto zk = LoadCx<V>(z, k);
    const Cx<V> zm{Reverse(Load<V>(z.re + mirror)), Reverse(Load<V>(z.im + mirror))};
    const Cx<V> w{Load<V>(view.splitRe + k), Load<V>(view.splitIm + k)};
    Cx<V> low, high;
    SeparateLines(zk, zm, w, low, high);
    StoreInterleaved(a + 2 * k, low);
    StoreInterleaved(a + 2 * mirror, Cx<V>{Reverse(high.re), Reverse(high.im)});
  }
  SeparateOuterLines(z, a);
}

template <typename V>
ZEMTRA_ALWAYS_INLINE void ForwardVector(const RealFftView& view, float* a) {
  const int half = view.n / 2;
  const int quarter = half / 4;
  Buffers buffers(view);
  int current = 0;
  FirstPass<V>(view.passes[0], a, buffers.split[current], quarter);
  for (std::size_t p = 1; p < view.passes.size(); ++p) {
    const FftPass& pass = view.passes[p];
    const Split in = buffers.split[current];
    const Split out = buffers.split[current ^ 1];
    if (pass.radix == 2) {
      LastRadix2Pass<V>(in, out, half / 2);
    } else if (pass.stride >= kLanesOf<V>) {
      WidePass<V>(pass, in, out, quarter);
    } else if constexpr (kLanesOf<V> == 8) {
      StrideFourPass(pass, in, out, quarter);
    }
    current ^= 1;
  }
  SeparateVector<V>(view, buffers.split[current], a);
}

// ---------------------------------------------------------------------------------
// Scalar loops for the short lengths, the same passes one element at a time.

ZEMTRA_ALWAYS_INLINE void ScalarPass(const FftPass& pass, Split in, Split out, int half) {
  const int s = pass.stride;
  const int quarter = half / pass.radix;
  const Twiddles tw{pass.twiddles, pass.twiddleCount};
  for (int p = 0; p < pass.span / pass.radix; ++p) {
    for (int q = 0; q < s; ++q) {
      const int i = q + s * p;
      Cx<float> x[4];
      for (int j = 0; j < pass.radix; ++j) x[j] = {in.re[i + j * quarter], in.im[i + j * quarter]};
      if (pass.radix == 2) {
        const auto sum = x[0] + x[1];
        x[1] = x[0] - x[1];
        x[0] = sum;
      } else {
        Butterfly4(x[0], x[1], x[2], x[3]);
        const int e = pass.perLane ? i : p;
        for (int k = 1; k < 4 && pass.twiddleCount > 0; ++k) x[k] = Mul(x[k], tw.Scalar(k, e));
      }
      for (int k = 0; k < pass.radix; ++k) {
        out.re[q + s * (pass.radix * p + k)] = x[k].re;
        out.im[q + s * (pass.radix * p + k)] = x[k].im;
      }
    }
  }
}

ZEMTRA_ALWAYS_INLINE void ForwardScalar(const RealFftView& view, float* a) {
  const int half = view.n / 2;
  Buffers buffers(view);
  for (int j = 0; j < half; ++j) {
    buffers.split[0].re[j] = a[2 * j];
    buffers.split[0].im[j] = a[2 * j + 1];
  }
  int current = 0;
  for (const FftPass& pass : view.passes) {
    ScalarPass(pass, buffers.split[current], buffers.split[current ^ 1], half);
    current ^= 1;
  }
  const Split z = buffers.split[current];
  for (int k = 1; k <= half / 2; ++k) {
    Cx<float> low, high;
    SeparateLines<float>({z.re[k], z.im[k]}, {z.re[half - k], z.im[half - k]}, {view.splitRe[k], view.splitIm[k]}, low,
                         high);
    a[2 * k] = low.re;
    a[2 * k + 1] = low.im;
    a[2 * (half - k)] = high.re;
    a[2 * (half - k) + 1] = high.im;
  }
  SeparateOuterLines(z, a);
}

template <typename V>
ZEMTRA_ALWAYS_INLINE void Forward(const RealFftView& view, float* a) {
  if (view.n < kRealFftVectorMinimum) {
    ForwardScalar(view, a);
  } else {
    ForwardVector<V>(view, a);
  }
}

void ForwardPortable(const RealFftView& view, float* a) { Forward<Vec4>(view, a); }

#if defined(ZEMTRA_HAVE_AVX2_KERNELS)
ZEMTRA_TARGET_AVX2 void ForwardAvx2(const RealFftView& view, float* a) { Forward<Vec8>(view, a); }
#endif

}  // namespace

RealFftKernel RealFftKernelFor(SimdLevel level) {
  RequireSimdLevel(level);
#if defined(ZEMTRA_HAVE_AVX2_KERNELS)
  if (level == SimdLevel::Avx2) return {ForwardAvx2, kLanesOf<Vec8>};
#endif
  return {ForwardPortable, kLanesOf<Vec4>};
}
