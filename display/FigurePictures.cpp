#include "display/FigurePictures.h"

#include "display/DensityPicture.h"
#include "display/HistogramPlot.h"
#include "display/OffscreenApplication.h"
#include "display/PngBytes.h"

namespace {

// The plot bitmap: the box less its frame.
int BitmapWidth() { return DensityPlotBox().width - 2 * kDensityFrame; }
int BitmapHeight() { return DensityPlotBox().height - 2 * kDensityFrame; }

}  // namespace

QImage HistogramImage(const CodeHistogram& histogram, const FftSetting& colours) {
  const auto plot = HistogramPlot::Of(histogram, BitmapWidth(), BitmapHeight());
  if (!plot) return {};
  const PlotPicture picture{
      .xLines = plot->CodeLines(),
      .levelLines = plot->CountLines(),
      .xLabels = plot->CodeLabels(),
      .levelLabels = plot->CountLabels(),
      .unit = plot->Unit(),
      .curves = {{plot->Bars(histogram), colours.PenColorGraph}, {plot->Gauss(histogram), colours.PenColorRefGraph}},
      .shade = {},
      .legend = {}};
  return PlotImage(picture, colours);
}

QImage AllanImage(const std::vector<AllanPoint>& allan, const FftSetting& colours) {
  std::vector<LogLogValue> curve;
  curve.reserve(allan.size());
  for (const AllanPoint& p : allan) curve.push_back({p.tauSeconds, p.adevVolts});
  const auto plot = DensityPlot::OfPoints(curve, BitmapWidth(), BitmapHeight(), {"s", false, kVoltUnits});
  if (!plot) return {};
  PlotPicture picture = LogLogPicture(*plot);
  picture.curves.push_back({plot->Curve(curve), colours.PenColorGraph});
  return PlotImage(picture, colours);
}

std::optional<std::string> HistogramPng(const CodeHistogram& histogram, const FftSetting& colours) {
  const OffscreenApplication app;
  if (!app.Usable()) return std::nullopt;
  return PngBytes(HistogramImage(histogram, colours));
}

std::optional<std::string> AllanPng(const std::vector<AllanPoint>& allan, const FftSetting& colours) {
  const OffscreenApplication app;
  if (!app.Usable()) return std::nullopt;
  return PngBytes(AllanImage(allan, colours));
}
