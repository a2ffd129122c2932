// Averages of line spectra, all with one interface so that a measurement of several
// acquisitions can use any of them:
//   PowerAverage        RMS (linear power) averaging: each line is the root of the mean
//                       of that line's squares over the spectra added.
//   PeakHold            each line is the largest value it took in any spectrum added.
//   ExponentialAverage  power averaging with a weight that forgets: the first `depth`
//                       spectra are averaged as PowerAverage does, each later one
//                       counts 1/depth and the average before it (1 − 1/depth).
//
// Units: those of the lines (RMS volts per line for the analysis chain's spectrum).
// A steady sine keeps its RMS value on its line under every average; a noise line
// keeps its mean power under the power averages, while the spread of the line powers
// shrinks by √N over N spectra; peak hold shows the noise's largest lines.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "model/Records.h"

class LineAverage {
 public:
  virtual ~LineAverage() = default;

  // Adds one spectrum; all must have as many lines as the first (std::invalid_argument
  // otherwise, and nothing is added).
  void Add(std::span<const float> lines);
  // Spectra added so far.
  int Count() const { return count_; }
  // The average into lines, which must have the spectra's line count
  // (std::invalid_argument otherwise); nothing happens before the first spectrum.
  void Result(std::span<float> lines) const;
  // What the result is, for the texts of the files and the page.
  SpectrumAverage Describe() const { return {Kind(), count_, Depth(), 0}; }

 protected:
  LineAverage() = default;
  LineAverage(const LineAverage&) = default;
  LineAverage& operator=(const LineAverage&) = default;

 private:
  virtual SpectrumAveraging Kind() const = 0;
  virtual int Depth() const { return 0; }
  // Folds one line of the count_-th spectrum (1 for the first) into its accumulator.
  virtual void Fold(double& accumulated, double line, int count) const = 0;
  // One line of the result from its accumulator after count spectra.
  virtual double Value(double accumulated, int count) const = 0;

  std::vector<double> accumulated_;
  int count_ = 0;
};

class PowerAverage final : public LineAverage {
 private:
  SpectrumAveraging Kind() const override { return SpectrumAveraging::Rms; }
  void Fold(double& accumulated, double line, int count) const override;  // Σ line²
  double Value(double accumulated, int count) const override;
};

class PeakHold final : public LineAverage {
 private:
  SpectrumAveraging Kind() const override { return SpectrumAveraging::PeakHold; }
  void Fold(double& accumulated, double line, int count) const override;  // max line
  double Value(double accumulated, int count) const override;
};

class ExponentialAverage final : public LineAverage {
 public:
  // depth ≥ 1 (std::invalid_argument otherwise); 1 keeps only the last spectrum.
  explicit ExponentialAverage(int depth);

 private:
  SpectrumAveraging Kind() const override { return SpectrumAveraging::Exponential; }
  int Depth() const override { return depth_; }
  void Fold(double& accumulated, double line, int count) const override;  // the mean power
  double Value(double accumulated, int count) const override;

  int depth_;
};

// A new average of this kind (None: none); depth is the exponential average's.
std::unique_ptr<LineAverage> MakeLineAverage(SpectrumAveraging kind, int depth);
