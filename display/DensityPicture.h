// The noise density drawn as a picture in the graphs' style: a white plot in a 1-pixel
// black frame on the window's face colour, main grid lines (decades) and sub grid
// lines in the display settings' axis colours, the curve in their graph colour,
// labels in the user-interface font. Log–log axes (DensityPlot): frequency in Hz,
// density in the unit DensityPlot chooses, named above the density labels.
#pragma once

#include <QImage>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "display/DensityFigure.h"
#include "display/DensityPlot.h"
#include "model/Records.h"

// What a picture in this style shows, in the plot bitmap's pixels (DensityPlot's
// rules): grid lines, curves each in a colour of the display settings, the labels of
// both axes at their lines' places and the unit above the level labels.
struct PlotPicture {
  struct Curve {
    std::vector<DensityPlot::Point> points;
    std::int32_t colour = 0;  // BGR, as the display settings hold it
  };
  std::vector<GridLine> xLines;
  std::vector<GridLine> levelLines;
  std::vector<DecadeLabel> xLabels;
  std::vector<DecadeLabel> levelLabels;
  std::string unit;
  std::vector<Curve> curves;
  std::optional<PixelSpan> shade;  // columns shaded behind the grid (a band)
  struct LegendLine {
    std::string text;
    std::int32_t colour = 0;  // BGR, its curve's
  };
  std::vector<LegendLine> legend;  // in the box's top right corner
};
// The picture (kDensityPictureWidth × kDensityPictureHeight) with the grid colours of
// colours. Needs an application object.
QImage PlotImage(const PlotPicture& plot, const FftSetting& colours);
// The grid, the labels and the unit of log–log axes, without curves.
PlotPicture LogLogPicture(const DensityPlot& plot);

// The picture of a density (V/√Hz per line k at k·deltaF Hz, line 0 not drawn), with
// the colours of colours. A null image when the density has nothing to draw. Needs
// an application object (OffscreenApplication).
QImage DensityImage(std::span<const double> density, double deltaF, const FftSetting& colours);

// The picture of the analysis window's density: the reference's curve in the
// reference colour, the measurement's over it in the graph colour, the band shaded,
// and with both curves their names in a legend.
// A null image when neither has anything to draw. Needs an application object.
QImage DensityImage(const DensityFigure& figure, const FftSetting& colours);

// The same picture as the bytes of a PNG file; none when there is nothing to draw or
// no GUI application can be had (an offscreen one is made when none runs).
std::optional<std::string> DensityPng(std::span<const double> density, double deltaF, const FftSetting& colours);
