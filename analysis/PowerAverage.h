// RMS averaging of line spectra: each line of the average is the root of the mean of
// that line's squares over the spectra added (power averaging).
//
// Units: those of the lines (RMS volts per line for the analysis chain's spectrum).
// A steady sine keeps its RMS value on its line; a noise line keeps its mean power,
// while the spread of the line powers shrinks by √N over N spectra.
#pragma once

#include <span>
#include <vector>

class PowerAverage {
 public:
  // Adds one spectrum; all must have as many lines as the first (std::invalid_argument
  // otherwise, and nothing is added).
  void Add(std::span<const float> lines);
  // Spectra added so far.
  int Count() const { return count_; }
  // The average into lines, which must have the spectra's line count
  // (std::invalid_argument otherwise); nothing happens before the first spectrum.
  void Result(std::span<float> lines) const;

 private:
  std::vector<double> power_;  // Σ line² per line
  int count_ = 0;
};
