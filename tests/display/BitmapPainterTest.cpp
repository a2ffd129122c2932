// The bitmap painter's fast line path draws exactly the pixels a plain painter draws,
// for the curves the graphs draw, in every pen mode and width they use.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "display/BitmapPainter.h"

namespace {

constexpr int kWidth = 622, kHeight = 181;  // a graph bitmap of the smallest window

struct Curve {
  std::string name;
  std::vector<QPoint> points;
};

// The demonstration's tone: about 4.8 samples per period, 105 samples per column.
Curve DenseTone() {
  Curve curve{"dense tone", {}};
  constexpr int kSamples = 65536;
  for (int i = 0; i < kSamples; ++i) {
    const double phase = 2.0 * std::numbers::pi * i / 4.8;
    curve.points.emplace_back(kWidth * i / kSamples, static_cast<int>(90.5 + 60.0 * std::sin(phase)));
  }
  return curve;
}

std::vector<Curve> Curves() {
  return {
      DenseTone(),
      {"leaves the bitmap on every side", {{-50, 90}, {300, -40}, {700, 100}, {310, 400}, {-3, -3}, {kWidth, kHeight}}},
      {"back and forth in one column", {{5, 0}, {5, 180}, {5, 1}, {6, 179}, {5, 90}, {5, 91}}},
      {"steps shorter than a pixel, then a long flat run", {{0, 50}, {1, 50}, {1, 51}, {2, 51}, {621, 52}}},
  };
}

enum class Mode { Copy, Mask, Xor };

// White with a grey and a coloured line, so mask and xor meet earlier pixels.
QImage Background() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setPen(QColor(0xC0, 0xC0, 0xC0));
  painter.drawLine(0, 90, kWidth, 90);
  painter.setPen(QColor(0x00, 0x80, 0xFF));
  painter.drawLine(300, 0, 300, kHeight);
  return image;
}

// As the graph draws a curve: a thin pen in one polyline, a wide one segment by segment.
void Draw(QPainter& painter, const Curve& curve, Mode mode, int width) {
  painter.setPen(QPen(QColor(0xFF, 0x00, 0x00), width));
  if (mode == Mode::Mask) painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
  if (mode == Mode::Xor) painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  const std::vector<QPoint>& points = curve.points;
  if (width == 1) {
    painter.drawPolyline(points.data(), static_cast<int>(points.size()));
    return;
  }
  std::vector<QLine> segments;
  for (std::size_t i = 1; i < points.size(); ++i) segments.emplace_back(points[i - 1], points[i]);
  painter.drawLines(segments.data(), static_cast<int>(segments.size()));
}

TEST(BitmapPainter, DrawsThePixelsOfAPlainPainter) {
  const QImage background = Background();
  for (const Curve& curve : Curves()) {
    for (Mode mode : {Mode::Copy, Mode::Mask, Mode::Xor}) {
      for (int width : {1, 5}) {
        QImage plain = background.copy();
        QImage fast = background.copy();
        {
          QPainter painter(&plain);
          Draw(painter, curve, mode, width);
        }
        {
          BitmapPainter painter(fast);
          Draw(painter, curve, mode, width);
        }
        EXPECT_TRUE(fast == plain) << curve.name << ", mode " << static_cast<int>(mode) << ", width " << width;
        EXPECT_FALSE(fast == background) << curve.name << ": the case draws something";
      }
    }
  }
}

}  // namespace
