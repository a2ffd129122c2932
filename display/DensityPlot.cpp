#include "display/DensityPlot.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The plot box in the picture: room at the left for the density labels, above for
// the unit, below for the frequency labels.
constexpr int kBoxLeft = 72;
constexpr int kBoxTop = 28;
constexpr int kBoxRight = 24;      // margin right of the box
constexpr int kBoxBottom = 28;     // margin below the box
constexpr int kFreqLabelGap = 5;   // below the box, as under the spectrum
constexpr int kLevelLabelGap = 2;  // right edge of a level label to the box
constexpr int kUnitLabelGap = 6;   // above the box
constexpr int kLegendGap = 6;      // a legend from the box's top and right edges

constexpr int kMantissas = 9;  // grid lines at 1 … 9 times a power of ten
constexpr double kDecade = 10.0;
constexpr int kKiloExponent = 3;
// A power of ten computed by log10 may fall an ulp beside its exponent.
constexpr double kExponentSlack = 1e-9;

constexpr std::array<DensityUnit, 5> kDensityUnits{
    {{1.0, "V/√Hz"}, {1e3, "mV/√Hz"}, {1e6, "µV/√Hz"}, {1e9, "nV/√Hz"}, {1e12, "pV/√Hz"}}};

int FloorExponent(double value) { return static_cast<int>(std::floor(std::log10(value) + kExponentSlack)); }
int CeilExponent(double value) { return static_cast<int>(std::ceil(std::log10(value) - kExponentSlack)); }

DecadeAxis AxisAround(double low, double high) {
  DecadeAxis axis{FloorExponent(low), CeilExponent(high)};
  if (axis.high <= axis.low) axis.high = axis.low + 1;
  return axis;
}

// 10^exponent as plain decimal text: "0.01", "0.1", "1", "10", "1000".
std::string PowerOfTenText(int exponent) {
  if (exponent >= 0) return std::string("1").append(static_cast<std::size_t>(exponent), '0');
  return std::string("0.").append(static_cast<std::size_t>(-exponent - 1), '0').append(1, '1');
}

LabelPlace Inside(int left, int top, const LabelSize& size) {
  return KeptInside({left, top, true}, size, {kDensityPictureWidth, kDensityPictureHeight});
}

}  // namespace

const std::array<DensityUnit, 5> kVoltUnits{{{1.0, "V"}, {1e3, "mV"}, {1e6, "µV"}, {1e9, "nV"}, {1e12, "pV"}}};

LogLogNames DensityNames() { return {"Hz", true, kDensityUnits}; }

BoxRect DensityPlotBox() {
  return {kBoxLeft, kBoxTop, kDensityPictureWidth - kBoxLeft - kBoxRight, kDensityPictureHeight - kBoxTop - kBoxBottom};
}

std::optional<DensityPlot> DensityPlot::Of(std::span<const double> density, double deltaF, int width, int height) {
  const DensityCurve curve{density, deltaF};
  return OfCurves(std::span(&curve, 1), width, height);
}

std::optional<DensityPlot> DensityPlot::OfCurves(std::span<const DensityCurve> curves, int width, int height) {
  std::vector<LogLogValue> points;
  double lowest = 0.0;
  double highest = 0.0;
  for (const DensityCurve& c : curves) {
    if (!(c.deltaF > 0.0) || c.density.size() < 2) continue;
    for (std::size_t k = 1; k < c.density.size(); ++k) {
      points.push_back({c.deltaF * static_cast<double>(k), c.density[k]});
    }
    lowest = lowest > 0.0 ? std::min(lowest, c.deltaF) : c.deltaF;
    highest = std::max(highest, c.deltaF * static_cast<double>(c.density.size() - 1));
  }
  if (points.empty()) return std::nullopt;
  auto plot = OfPoints(points, width, height, DensityNames());
  // The frequency axis spans every line, shown or not.
  if (plot) plot->freq_ = AxisAround(lowest, highest);
  return plot;
}

std::optional<DensityPlot> DensityPlot::OfPoints(std::span<const LogLogValue> curve, int width, int height,
                                                 const LogLogNames& names) {
  if (width <= 0 || height <= 0 || names.levelUnits.empty()) return std::nullopt;
  double smallest = 0.0;
  double largest = 0.0;
  double xLow = 0.0;
  double xHigh = 0.0;
  for (const LogLogValue& point : curve) {
    const double d = point.level;
    if (!(d > 0.0) || !std::isfinite(d) || !(point.x > 0.0) || !std::isfinite(point.x)) continue;
    smallest = smallest > 0.0 ? std::min(smallest, d) : d;
    largest = std::max(largest, d);
    xLow = xLow > 0.0 ? std::min(xLow, point.x) : point.x;
    xHigh = std::max(xHigh, point.x);
  }
  if (!(largest > 0.0)) return std::nullopt;
  DensityPlot plot;
  plot.width_ = width;
  plot.height_ = height;
  plot.names_ = names;
  plot.freq_ = AxisAround(xLow, xHigh);
  plot.density_ = AxisAround(smallest, largest);
  plot.density_.low = std::max(plot.density_.low, plot.density_.high - kMaxDensityDecades);
  plot.unit_ = names.levelUnits.back();
  for (const DensityUnit& unit : names.levelUnits) {
    if (std::pow(kDecade, plot.density_.low) * unit.perVolt >= 1.0 - kExponentSlack) {
      plot.unit_ = unit;
      break;
    }
  }
  return plot;
}

int DensityPlot::X(double hertz) const {
  return TruncToPixel(width_ * (std::log10(hertz) - freq_.low) / (freq_.high - freq_.low));
}

int DensityPlot::Y(double voltsPerRootHertz) const {
  if (!(voltsPerRootHertz >= std::pow(kDecade, density_.low))) return height_;
  return TruncToPixel(height_ * (density_.high - std::log10(voltsPerRootHertz)) / (density_.high - density_.low));
}

double DensityPlot::FreqAt(int x) const {
  return std::pow(kDecade, freq_.low + (freq_.high - freq_.low) * static_cast<double>(x) / width_);
}

std::optional<PixelSpan> DensityPlot::Band(double f1, double f2) const {
  if (!(f1 > 0.0) || !(f2 > f1)) return std::nullopt;
  const double low = std::pow(kDecade, freq_.low);
  const double high = std::pow(kDecade, freq_.high);
  if (f2 <= low || f1 >= high) return std::nullopt;
  return PixelSpan{f1 <= low ? 0 : X(f1), f2 >= high ? width_ : X(f2)};
}

std::vector<GridLine> DensityPlot::Lines(const DecadeAxis& axis, bool vertical) const {
  std::vector<GridLine> lines;
  for (int e = axis.low; e < axis.high; ++e) {
    for (int m = 1; m <= kMantissas; ++m) {
      if (e == axis.low && m == 1) continue;  // the frame's edge
      const double value = m * std::pow(kDecade, e);
      lines.push_back({vertical ? X(value) : Y(value), m == 1});
    }
  }
  return lines;
}

std::vector<GridLine> DensityPlot::FreqLines() const { return Lines(freq_, true); }
std::vector<GridLine> DensityPlot::DensityLines() const { return Lines(density_, false); }

std::vector<DecadeLabel> DensityPlot::FreqLabels() const {
  std::vector<DecadeLabel> labels;
  for (int e = freq_.low; e <= freq_.high; ++e) {
    const bool kilo = names_.kilo && e >= kKiloExponent;
    labels.push_back(
        {X(std::pow(kDecade, e)), PowerOfTenText(kilo ? e - kKiloExponent : e) + (kilo ? "k" : "") + names_.xUnit});
  }
  return labels;
}

std::vector<DecadeLabel> DensityPlot::DensityLabels() const {
  const int unitExponent = static_cast<int>(std::lround(std::log10(unit_.perVolt)));
  std::vector<DecadeLabel> labels;
  for (int e = density_.low; e <= density_.high; ++e) {
    labels.push_back({Y(std::pow(kDecade, e)), PowerOfTenText(e + unitExponent)});
  }
  return labels;
}

std::vector<DensityPlot::Point> DensityPlot::Curve(std::span<const double> density, double deltaF) const {
  std::vector<Point> points;
  points.reserve(density.size());
  for (std::size_t k = 1; k < density.size(); ++k) {
    points.push_back({X(deltaF * static_cast<double>(k)), Y(density[k])});
  }
  return points;
}

std::vector<DensityPlot::Point> DensityPlot::Curve(std::span<const LogLogValue> curve) const {
  std::vector<Point> points;
  points.reserve(curve.size());
  for (const LogLogValue& point : curve) {
    if (point.x > 0.0) points.push_back({X(point.x), Y(point.level)});
  }
  return points;
}

LabelPlace PlaceDensityFreqLabel(const BoxRect& box, int lineX, const LabelSize& size) {
  return Inside(box.left + kDensityFrame + lineX - size.width / 2, box.top + box.height + kFreqLabelGap, size);
}

LabelPlace PlaceDensityLevelLabel(const BoxRect& box, int lineY, const LabelSize& size) {
  return Inside(box.left - kLevelLabelGap - size.width, box.top + kDensityFrame + lineY - size.height / 2, size);
}

LabelPlace PlaceDensityUnitLabel(const BoxRect& box, const LabelSize& size) {
  return Inside(box.left - kLevelLabelGap - size.width, box.top - kUnitLabelGap - size.height, size);
}

LabelPlace PlaceLegendLine(const BoxRect& box, int line, const LabelSize& size) {
  return Inside(box.left + box.width - kDensityFrame - kLegendGap - size.width,
                box.top + kDensityFrame + kLegendGap + line * size.height, size);
}
