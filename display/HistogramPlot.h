// The geometry of the histogram picture, free of any toolkit, in the frame and with
// the label places of the noise-density picture (DensityPlot.h): linear axes of codes
// (bin i spans CodeOf(i) − ½ … CodeOf(i) + binCodes − ½) and of samples per bin, from
// 0 up to the next grid line above the largest count or prediction; grid lines every
// 1, 2 or 5 × 10^k, each labelled. The counts are drawn as the outline of their bars,
// the Gaussian's prediction as a line through the bins' centres. Pixel positions are
// relative to the plot bitmap, truncated toward zero.
#pragma once

#include <optional>
#include <vector>

#include "analysis/CodeHistogram.h"
#include "display/DensityPlot.h"

class HistogramPlot {
 public:
  // At most this many grid intervals on either axis.
  static constexpr int kMaxCodeDivisions = 8;
  static constexpr int kMaxCountDivisions = 10;

  // None for a histogram without bins or an empty bitmap.
  static std::optional<HistogramPlot> Of(const CodeHistogram& histogram, int width, int height);

  int X(double code) const;
  int Y(double count) const;

  std::vector<GridLine> CodeLines() const;
  std::vector<GridLine> CountLines() const;
  std::vector<DecadeLabel> CodeLabels() const;
  std::vector<DecadeLabel> CountLabels() const;
  // "samples per code", or per bin of several codes.
  std::string Unit() const;

  std::vector<DensityPlot::Point> Bars(const CodeHistogram& histogram) const;
  std::vector<DensityPlot::Point> Gauss(const CodeHistogram& histogram) const;

  double CodeStep() const { return codeStep_; }
  double CountStep() const { return countStep_; }
  double CountTop() const { return countTop_; }

 private:
  HistogramPlot() = default;

  int width_ = 0;
  int height_ = 0;
  double codeLow_ = 0.0;
  double codeHigh_ = 0.0;
  double codeStep_ = 1.0;
  double countStep_ = 1.0;
  double countTop_ = 1.0;
  std::int64_t binCodes_ = 1;
};

// The least of 1, 2 and 5 × 10^k (k ≥ 0) that cuts span into at most divisions parts.
double NiceStep(double span, int divisions);
