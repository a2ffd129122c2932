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
          .curves = {}};
}

QImage DensityImage(std::span<const double> density, double deltaF, const FftSetting& colours) {
  const BoxRect box = DensityPlotBox();
  const auto plot = DensityPlot::Of(density, deltaF, box.width - 2 * kDensityFrame, box.height - 2 * kDensityFrame);
  if (!plot) return {};
  PlotPicture picture = LogLogPicture(*plot);
  picture.curves.push_back({plot->Curve(density, deltaF), colours.PenColorGraph});
  return PlotImage(picture, colours);
}

std::optional<std::string> DensityPng(std::span<const double> density, double deltaF, const FftSetting& colours) {
  const OffscreenApplication app;
  if (!app.Usable()) return std::nullopt;
  return PngBytes(DensityImage(density, deltaF, colours));
}
