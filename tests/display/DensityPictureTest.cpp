// The noise-density picture as the command-line tool writes it, offscreen.
#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "display/DensityPicture.h"
#include "display/DensityPlot.h"
#include "display/GraphHost.h"

namespace {

TEST(DensityPicture, DrawsTheCurveInTheGraphColourOnTheGrid) {
  const std::vector<double> density(2048, 20e-9);  // flat, 1 … 2047 Hz
  const FftSetting colours;
  const auto png = DensityPng(density, 1.0, colours);
  ASSERT_TRUE(png);
  ASSERT_GT(png->size(), 8U);
  EXPECT_EQ(png->substr(1, 3), "PNG");

  const OffscreenApplication app;
  const QImage picture = QImage::fromData(reinterpret_cast<const uchar*>(png->data()), static_cast<int>(png->size()));
  ASSERT_EQ(picture.size(), QSize(kDensityPictureWidth, kDensityPictureHeight));
  const BoxRect box = DensityPlotBox();
  const auto plot = DensityPlot::Of(density, 1.0, box.width - 2, box.height - 2);
  ASSERT_TRUE(plot);
  const int y = box.top + 1 + plot->Y(20e-9);
  int red = 0;
  for (int x = box.left + 1; x < box.left + box.width - 1; ++x) red += (picture.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
  EXPECT_GT(red, (plot->X(2047.0) - plot->X(1.0)) * 9 / 10) << "the flat curve runs along its row in red";
  EXPECT_EQ(picture.pixel(box.left, box.top) & 0xFFFFFF, 0x000000U) << "the black frame";
  EXPECT_EQ(picture.pixel(box.left + 1 + plot->X(10.0), box.top + 5) & 0xFFFFFF, 0x808080U)
      << "a decade in the main-axis colour";

  EXPECT_FALSE(DensityPng(std::vector<double>(16, 0.0), 1.0, colours)) << "nothing to draw, no picture";
}

}  // namespace
