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

TEST(DensityPicture, TheAnalysisWindowsDensityAddsTheReferenceTheBandAndALegend) {
  const OffscreenApplication app;
  const FftSetting colours;  // graph red, reference grey
  const std::vector<double> current(2048, 20e-9);
  const std::vector<double> reference(2048, 2e-6);
  const DensityFigure figure{{current, 1.0}, {reference, 1.0}, FrequencyBand{10.0, 100.0}, "cur", "ref"};
  const QImage picture = DensityImage(figure, colours);
  ASSERT_EQ(picture.size(), QSize(kDensityPictureWidth, kDensityPictureHeight));
  const auto plot = DensityFigurePlot(figure);
  ASSERT_TRUE(plot);
  const BoxRect box = DensityPlotBox();
  const auto at = [&](double f, double level) {
    return picture.pixel(box.left + 1 + plot->X(f), box.top + 1 + plot->Y(level)) & 0xFFFFFF;
  };
  EXPECT_EQ(at(3.3, 20e-9), 0xFF0000U) << "the measurement in the graph colour";
  EXPECT_EQ(at(3.3, 2e-6), 0x808080U) << "the reference in its colour";
  EXPECT_EQ(at(33.0, 1.5e-7), 0xDDEEFFU) << "inside the band: shaded";
  EXPECT_EQ(at(330.0, 1.5e-7), 0xFFFFFFU) << "outside it: white";
  const auto greyIn = [&](const QImage& image) {
    int grey = 0;  // the legend's second line, in the reference colour
    for (int y = box.top + 1; y < box.top + 60; ++y) {
      for (int x = box.left + box.width - 80; x < box.left + box.width - 2; ++x) {
        grey += (image.pixel(x, y) & 0xFFFFFF) == 0x808080U;
      }
    }
    return grey;
  };
  EXPECT_GT(greyIn(picture), 10) << "the legend names the reference";

  const DensityFigure alone{{current, 1.0}, {}, std::nullopt, "cur", "ref"};
  const QImage single = DensityImage(alone, colours);
  EXPECT_EQ(single, DensityImage(current, 1.0, colours)) << "one curve: zemtra-cli's picture";
  EXPECT_TRUE(DensityImage(DensityFigure{}, colours).isNull());
}

}  // namespace
