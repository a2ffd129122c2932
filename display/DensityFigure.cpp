#include "display/DensityFigure.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "analysis/FigureTexts.h"

std::optional<DensityPlot> DensityFigurePlot(const DensityFigure& figure) {
  const BoxRect box = DensityPlotBox();
  const DensityCurve curves[] = {figure.current, figure.reference};
  return DensityPlot::OfCurves(curves, box.width - 2 * kDensityFrame, box.height - 2 * kDensityFrame);
}

std::optional<std::size_t> LineNearest(const DensityCurve& curve, double f) {
  if (curve.density.size() < 2 || !(curve.deltaF > 0.0) || !(f > 0.0)) return std::nullopt;
  const double below = std::floor(f / curve.deltaF);
  const auto last = static_cast<double>(curve.density.size() - 1);
  if (below >= last) return curve.density.size() - 1;
  if (below < 1.0) return 1;
  // Nearer on the log axis: compare the ratios to the lines either side.
  const double ratioBelow = f / (below * curve.deltaF);
  const double ratioAbove = ((below + 1.0) * curve.deltaF) / f;
  return static_cast<std::size_t>(ratioBelow <= ratioAbove ? below : below + 1.0);
}

std::string DensityReadout(const DensityFigure& figure, double f) {
  std::string text = SignificantText(f) + " Hz";
  const auto add = [&](const DensityCurve& curve, const std::string& name) {
    if (const auto k = LineNearest(curve, f)) text += "  " + name + " " + VoltText(curve.density[*k], "/√Hz");
  };
  add(figure.current, figure.currentName);
  add(figure.reference, figure.referenceName);
  return text;
}

namespace {

// A dragged frequency keeps this many significant digits: a pixel spans about 1 % of
// a frequency on a few decades, so more would only be noise of the hand.
constexpr int kDraggedDigits = 3;

double Rounded(double f) {
  const double unit = std::pow(10.0, std::floor(std::log10(f)) - (kDraggedDigits - 1));
  return std::round(f / unit) * unit;
}

}  // namespace

std::optional<FrequencyBand> BandOfDrag(const DensityPlot& plot, int x0, int x1, const FrequencyRange& range) {
  if (std::abs(x1 - x0) < kMinBandDragPixels) return std::nullopt;
  const double f1 = std::max(Rounded(plot.FreqAt(std::min(x0, x1))), range.low);
  const double f2 = std::min(Rounded(plot.FreqAt(std::max(x0, x1))), range.high);
  if (!(f1 < f2)) return std::nullopt;
  return FrequencyBand{f1, f2};
}
