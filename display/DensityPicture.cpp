#include "display/DensityPicture.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include "display/OffscreenApplication.h"
#include "display/PngBytes.h"
#include "ui/BgrColor.h"
#include "ui/UiFont.h"

namespace {

constexpr int kPenWidth = 1;
// The band behind the grid: a pale blue that every grid and graph colour stays
// readable on.
constexpr QRgb kBandShade = qRgb(0xDD, 0xEE, 0xFF);

LabelSize SizeOf(const QFontMetrics& metrics, const QString& text) {
  return {metrics.horizontalAdvance(text), metrics.height()};
}

void DrawLabel(QPainter& painter, const LabelPlace& at, const LabelSize& size, const QString& text) {
  painter.drawText(QRect(at.left, at.top, size.width, size.height), Qt::AlignCenter, text);
}

QImage PlotBitmap(const PlotPicture& plot, const FftSetting& colours, const BoxRect& box) {
  QImage bitmap(box.width - 2 * kDensityFrame, box.height - 2 * kDensityFrame, QImage::Format_RGB32);
  bitmap.fill(Qt::white);
  QPainter painter(&bitmap);
  if (plot.shade) {
    painter.fillRect(plot.shade->from, 0, plot.shade->to - plot.shade->from, bitmap.height(), QColor(kBandShade));
  }
  const auto pen = [&painter](std::int32_t colour) { painter.setPen(QPen(QColorOfBgr(colour), kPenWidth)); };
  for (const GridLine& line : plot.levelLines) {
    pen(line.main ? colours.PenColorMainAxis : colours.PenColorSubAxis);
    painter.drawLine(0, line.pos, bitmap.width(), line.pos);
  }
  for (const GridLine& line : plot.xLines) {
    pen(line.main ? colours.PenColorMainAxis : colours.PenColorSubAxis);
    painter.drawLine(line.pos, 0, line.pos, bitmap.height());
  }
  for (const PlotPicture::Curve& curve : plot.curves) {
    QPolygon points(static_cast<int>(curve.points.size()));
    for (std::size_t i = 0; i < curve.points.size(); ++i) {
      points.setPoint(static_cast<int>(i), curve.points[i].x, curve.points[i].y);
    }
    pen(curve.colour);
    painter.drawPolyline(points);
  }
  return bitmap;
}

}  // namespace

QImage PlotImage(const PlotPicture& plot, const FftSetting& colours) {
  const BoxRect box = DensityPlotBox();
  QImage picture(kDensityPictureWidth, kDensityPictureHeight, QImage::Format_RGB32);
  picture.fill(QGuiApplication::palette().color(QPalette::Window));
  QPainter painter(&picture);
  painter.setPen(Qt::black);
  painter.drawRect(box.left, box.top, box.width - 1, box.height - 1);
  painter.drawImage(box.left + kDensityFrame, box.top + kDensityFrame, PlotBitmap(plot, colours, box));

  painter.setFont(UiFont());
  const QFontMetrics metrics(painter.font());
  for (const DecadeLabel& label : plot.xLabels) {
    const QString text = QString::fromStdString(label.text);
    const LabelSize size = SizeOf(metrics, text);
    DrawLabel(painter, PlaceDensityFreqLabel(box, label.pos, size), size, text);
  }
  for (const DecadeLabel& label : plot.levelLabels) {
    const QString text = QString::fromStdString(label.text);
    const LabelSize size = SizeOf(metrics, text);
    DrawLabel(painter, PlaceDensityLevelLabel(box, label.pos, size), size, text);
  }
  for (std::size_t i = 0; i < plot.legend.size(); ++i) {
    const QString text = QString::fromStdString(plot.legend[i].text);
    const LabelSize size = SizeOf(metrics, text);
    const LabelPlace at = PlaceLegendLine(box, static_cast<int>(i), size);
    painter.fillRect(at.left, at.top, size.width, size.height, Qt::white);  // readable over the grid
    painter.setPen(QColorOfBgr(plot.legend[i].colour));
    DrawLabel(painter, at, size, text);
  }
  painter.setPen(Qt::black);
  const QString unit = QStringLiteral("[%1]").arg(QString::fromStdString(plot.unit));
  const LabelSize unitSize = SizeOf(metrics, unit);
  DrawLabel(painter, PlaceDensityUnitLabel(box, unitSize), unitSize, unit);
  return picture;
}

PlotPicture LogLogPicture(const DensityPlot& plot) {
  return {.xLines = plot.FreqLines(),
          .levelLines = plot.DensityLines(),
          .xLabels = plot.FreqLabels(),
          .levelLabels = plot.DensityLabels(),
          .unit = plot.Unit().text,
          .curves = {},
          .shade = {},
          .legend = {}};
}

QImage DensityImage(std::span<const double> density, double deltaF, const FftSetting& colours) {
  return DensityImage(
      DensityFigure{.current = {density, deltaF}, .reference = {}, .band = {}, .currentName = {}, .referenceName = {}},
      colours);
}

QImage DensityImage(const DensityFigure& figure, const FftSetting& colours) {
  const auto plot = DensityFigurePlot(figure);
  if (!plot) return {};
  PlotPicture picture = LogLogPicture(*plot);
  if (figure.band) picture.shade = plot->Band(figure.band->f1, figure.band->f2);
  for (const auto& [curve, colour] :
       {std::pair{figure.reference, colours.PenColorRefGraph}, std::pair{figure.current, colours.PenColorGraph}}) {
    if (curve.density.size() >= 2) picture.curves.push_back({plot->Curve(curve.density, curve.deltaF), colour});
  }
  if (picture.curves.size() == 2) {
    picture.legend = {{"— " + figure.currentName, colours.PenColorGraph},
                      {"— " + figure.referenceName, colours.PenColorRefGraph}};
  }
  return PlotImage(picture, colours);
}

std::optional<std::string> DensityPng(std::span<const double> density, double deltaF, const FftSetting& colours) {
  const OffscreenApplication app;
  if (!app.Usable()) return std::nullopt;
  return PngBytes(DensityImage(density, deltaF, colours));
}
