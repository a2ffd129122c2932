#include "display/HistogramPlot.h"

#include <algorithm>
#include <cmath>

#include "ui/NumberFormat.h"

namespace {

constexpr double kHalfCode = 0.5;
constexpr double kDecade = 10.0;
constexpr double kNiceMantissas[] = {1.0, 2.0, 5.0};

// Multiples of step strictly inside (low, high), or from low on when inclusive.
std::vector<double> Multiples(double low, double high, double step, bool inclusive) {
  std::vector<double> values;
  for (double v = std::ceil(low / step) * step; v <= high; v += step) {
    if (inclusive || (v > low && v < high)) values.push_back(v);
  }
  return values;
}

}  // namespace

double NiceStep(double span, int divisions) {
  for (double scale = 1.0;; scale *= kDecade) {
    for (const double m : kNiceMantissas) {
      if (span / (m * scale) <= divisions) return m * scale;
    }
  }
}

std::optional<HistogramPlot> HistogramPlot::Of(const CodeHistogram& histogram, int width, int height) {
  if (histogram.counts.empty() || width <= 0 || height <= 0) return std::nullopt;
  HistogramPlot plot;
  plot.width_ = width;
  plot.height_ = height;
  plot.binCodes_ = histogram.binCodes;
  plot.codeLow_ = static_cast<double>(histogram.CodeOf(0)) - kHalfCode;
  plot.codeHigh_ = static_cast<double>(histogram.CodeOf(histogram.counts.size())) - kHalfCode;
  plot.codeStep_ = NiceStep(plot.codeHigh_ - plot.codeLow_, kMaxCodeDivisions);
  double largest = 0.0;
  for (const auto c : histogram.counts) largest = std::max(largest, static_cast<double>(c));
  for (const double g : histogram.gauss) largest = std::max(largest, g);
  plot.countStep_ = NiceStep(largest, kMaxCountDivisions);
  plot.countTop_ = std::max(plot.countStep_, std::ceil(largest / plot.countStep_) * plot.countStep_);
  return plot;
}

int HistogramPlot::X(double code) const { return TruncToPixel(width_ * (code - codeLow_) / (codeHigh_ - codeLow_)); }

int HistogramPlot::Y(double count) const { return TruncToPixel(height_ * (countTop_ - count) / countTop_); }

std::vector<GridLine> HistogramPlot::CodeLines() const {
  std::vector<GridLine> lines;
  for (const double code : Multiples(codeLow_, codeHigh_, codeStep_, false)) lines.push_back({X(code), true});
  return lines;
}

std::vector<GridLine> HistogramPlot::CountLines() const {
  std::vector<GridLine> lines;
  for (const double count : Multiples(0.0, countTop_, countStep_, false)) lines.push_back({Y(count), true});
  return lines;
}

std::vector<DecadeLabel> HistogramPlot::CodeLabels() const {
  std::vector<DecadeLabel> labels;
  for (const double code : Multiples(codeLow_, codeHigh_, codeStep_, false)) {
    labels.push_back({X(code), FormatInteger(static_cast<std::int64_t>(code))});
  }
  return labels;
}

std::vector<DecadeLabel> HistogramPlot::CountLabels() const {
  std::vector<DecadeLabel> labels;
  for (const double count : Multiples(0.0, countTop_, countStep_, true)) {
    labels.push_back({Y(count), FormatInteger(static_cast<std::int64_t>(count))});
  }
  return labels;
}

std::string HistogramPlot::Unit() const {
  return binCodes_ == 1 ? "samples per code" : "samples per " + FormatInteger(binCodes_) + " codes";
}

std::vector<DensityPlot::Point> HistogramPlot::Bars(const CodeHistogram& histogram) const {
  std::vector<DensityPlot::Point> points;
  points.reserve(2 * histogram.counts.size() + 2);
  points.push_back({X(codeLow_), Y(0.0)});
  for (std::size_t i = 0; i < histogram.counts.size(); ++i) {
    const int top = Y(static_cast<double>(histogram.counts[i]));
    points.push_back({X(static_cast<double>(histogram.CodeOf(i)) - kHalfCode), top});
    points.push_back({X(static_cast<double>(histogram.CodeOf(i + 1)) - kHalfCode), top});
  }
  points.push_back({X(codeHigh_), Y(0.0)});
  return points;
}

std::vector<DensityPlot::Point> HistogramPlot::Gauss(const CodeHistogram& histogram) const {
  std::vector<DensityPlot::Point> points;
  points.reserve(histogram.gauss.size());
  const double halfBin = static_cast<double>(histogram.binCodes) / 2.0;
  for (std::size_t i = 0; i < histogram.gauss.size(); ++i) {
    points.push_back({X(static_cast<double>(histogram.CodeOf(i)) - kHalfCode + halfBin), Y(histogram.gauss[i])});
  }
  return points;
}
