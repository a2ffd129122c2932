// A real-input FFT plan for one power-of-two length: the n real values are taken as
// n/2 complex pairs, transformed, and separated into the real signal's spectrum.
// Tables are built once by the constructor; Forward allocates nothing.
//
// Output layout of Forward, unnormalised (see TmyFFT): a[0] DC sum, a[1] the line at
// half the sample rate, a[2k] = Σ x·cos(2πjk/n), a[2k+1] = Σ x·sin(2πjk/n).
#pragma once

#include <complex>
#include <vector>

class RealFftPlan {
public:
  explicit RealFftPlan(int n);  // n a power of two, at least 4

  int Size() const { return n_; }
  void Forward(float* a) const;

private:
  void ComplexForward(std::complex<float>* z) const;

  int n_;
  std::vector<int> bitReverse_;                // permutation of the n/2 complex points
  std::vector<std::complex<float>> twiddle_;   // e^{-2πik/(n/2)}, k < n/4
  std::vector<std::complex<float>> realTwiddle_;  // e^{-2πik/n}, k < n/2
};
