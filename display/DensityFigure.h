// The noise-density plot of the analysis window, free of any toolkit: what it shows
// (a measurement's density, a reference's beside it, the band of the band noise), its
// axes at the picture's size (DensityPlot), the reading at the place under the mouse
// and the band a drag across the plot selects. Frequencies in Hz, densities in V/√Hz,
// pixels of the plot bitmap (DensityPlot.h).
#pragma once

#include <optional>
#include <string>

#include "analysis/NoiseFigures.h"
#include "display/DensityPlot.h"

struct DensityFigure {
  DensityCurve current;    // empty density: no measurement
  DensityCurve reference;  // empty density: no reference
  std::optional<FrequencyBand> band;
  // The curves' names in the legend, shown when both curves are (the caller's texts).
  std::string currentName;
  std::string referenceName;
};

// The axes of the figure on the picture's plot bitmap; none when neither density has
// anything to draw.
std::optional<DensityPlot> DensityFigurePlot(const DensityFigure& figure);

// The line of a density nearest to f on the log axis (1 … size − 1); none when the
// density has no lines or f is not positive.
std::optional<std::size_t> LineNearest(const DensityCurve& curve, double f);

// What the plot says at frequency f: "12.34 Hz", then for each curve its name and the
// density of its line nearest to f ("  測定データ 20.41 nV/√Hz").
std::string DensityReadout(const DensityFigure& figure, double f);

// The fewest pixels a drag must cross to select a band (less is a click).
inline constexpr int kMinBandDragPixels = 3;
// The band a drag from column x0 to x1 selects, in either direction, cut to range;
// none for a shorter drag or one that leaves no band inside the range.
std::optional<FrequencyBand> BandOfDrag(const DensityPlot& plot, int x0, int x1, const FrequencyRange& range);
