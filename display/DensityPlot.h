// The geometry of the noise-density picture, free of any toolkit: where the plot box
// sits in the picture, its log–log axes in whole decades, the unit of the density
// axis, the grid, the axis labels' texts and places, and the curve's points. The same
// axes carry any positive curve on log–log axes (OfPoints), such as the Allan deviation
// against τ, with the names of its quantities (LogLogNames).
//
// Inputs: a density as WelchDensity::Density gives it (V/√Hz per line k at k·deltaF Hz,
// line 0 the mean's share, never drawn). Frequencies in Hz, densities in V/√Hz; the
// density labels are in the axis unit (DensityUnit). Pixel positions are real values
// truncated toward zero, relative to the plot bitmap (the box less its 1-pixel frame)
// except where a place in the picture is said.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "display/AxisLabels.h"
#include "display/GraphGeometry.h"

// The picture: the size of the graphs' picture, the plot box inside it with room for
// the density labels at the left, the unit above them and the frequency labels below.
inline constexpr int kDensityPictureWidth = 812;
inline constexpr int kDensityPictureHeight = 466;
inline constexpr int kDensityFrame = 1;  // the box's black frame around the plot bitmap
BoxRect DensityPlotBox();

// A unit of the density axis: a value shown is V/√Hz × perVolt.
struct DensityUnit {
  double perVolt = 1.0;
  const char* text = "V/√Hz";
};

// The units of the level axis of a curve in volts: V down to pV.
extern const std::array<DensityUnit, 5> kVoltUnits;

// How the axes name their values: the horizontal axis's unit, with "k" before it from
// 1000 on when kilo is set, and the level axis's units, largest first.
struct LogLogNames {
  const char* xUnit = "Hz";
  bool kilo = true;
  std::span<const DensityUnit> levelUnits;
};
// The names of the density picture: Hz, kHz and V/√Hz down to pV/√Hz.
LogLogNames DensityNames();

// A point of a curve in the axes' values (both positive to be shown).
struct LogLogValue {
  double x = 0.0;
  double level = 0.0;
};

// A density as WelchDensity::Density gives it, with its line spacing in Hz.
struct DensityCurve {
  std::span<const double> density;
  double deltaF = 0.0;
};

// A stretch of the horizontal axis in plot-bitmap pixels, from ≤ to.
struct PixelSpan {
  int from = 0;
  int to = 0;
};

// An axis from 10^low to 10^high (high > low).
struct DecadeAxis {
  int low = 0;
  int high = 1;
};

// A label's text and the pixel position of the grid line it names.
struct DecadeLabel {
  int pos = 0;
  std::string text;
};

class DensityPlot {
 public:
  // At most this many decades of density are shown below the largest value; lower
  // values sit on the bottom edge.
  static constexpr int kMaxDensityDecades = 6;

  // The axes for the lines 1 … size − 1 of a density on a bitmap of width × height
  // pixels. None when no such line has a positive density, deltaF is not positive, or
  // the bitmap is empty.
  static std::optional<DensityPlot> Of(std::span<const double> density, double deltaF, int width, int height);
  // The axes that hold every line 1 … size − 1 of several densities (a measurement
  // and its reference, of other lengths or rates); none as above for all of them.
  static std::optional<DensityPlot> OfCurves(std::span<const DensityCurve> curves, int width, int height);
  // The axes for a curve: none when no point has a positive level and x, or the bitmap
  // is empty.
  static std::optional<DensityPlot> OfPoints(std::span<const LogLogValue> curve, int width, int height,
                                             const LogLogNames& names);

  const DecadeAxis& Freq() const { return freq_; }
  const DecadeAxis& Density() const { return density_; }  // in volts per root hertz
  // The largest unit (V down to pV) in which the bottom of the axis is at least 1.
  const DensityUnit& Unit() const { return unit_; }

  int X(double hertz) const;
  // Values below the bottom of the axis (0 included) give the bottom edge.
  int Y(double voltsPerRootHertz) const;

  // The frequency at pixel column x (the inverse of X, for the place under the mouse).
  double FreqAt(int x) const;
  // The columns of the band f1 … f2 (f1 < f2), cut to the bitmap; none when the band
  // lies wholly outside it.
  std::optional<PixelSpan> Band(double f1, double f2) const;

  // Grid lines at m·10^e, m = 1 … 9, inside the axes; main lines at the decades.
  std::vector<GridLine> FreqLines() const;
  std::vector<GridLine> DensityLines() const;
  // One label per decade: "0.1Hz", "1Hz", … "1kHz", "10kHz"; "0.1", "1", "10", "100", …
  std::vector<DecadeLabel> FreqLabels() const;
  std::vector<DecadeLabel> DensityLabels() const;

  // The curve: lines 1 … size − 1 of the density.
  struct Point {
    int x = 0;
    int y = 0;
  };
  std::vector<Point> Curve(std::span<const double> density, double deltaF) const;
  std::vector<Point> Curve(std::span<const LogLogValue> curve) const;

 private:
  DensityPlot() = default;
  std::vector<GridLine> Lines(const DecadeAxis& axis, bool vertical) const;

  int width_ = 0;
  int height_ = 0;
  DecadeAxis freq_;
  DecadeAxis density_;
  DensityUnit unit_;
  LogLogNames names_;
};

// Picture places of the labels, each moved wholly inside the picture: a frequency
// label centred below the box at the line's x; a density label right-aligned left of
// the box and centred on the line's y; the unit above the density labels.
LabelPlace PlaceDensityFreqLabel(const BoxRect& box, int lineX, const LabelSize& size);
LabelPlace PlaceDensityLevelLabel(const BoxRect& box, int lineY, const LabelSize& size);
LabelPlace PlaceDensityUnitLabel(const BoxRect& box, const LabelSize& size);
// Line `line` (from 0) of a legend in the box's top right corner, inside the frame.
LabelPlace PlaceLegendLine(const BoxRect& box, int line, const LabelSize& size);
