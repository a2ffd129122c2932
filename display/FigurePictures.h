// The pictures of the measurement figures in the noise-density picture's style
// (DensityPicture.h: 812 × 466, a white plot in a black frame, the display settings'
// grid and graph colours, labels inside the picture): the histogram of codes, its
// bars' outline in the graph colour and the Gaussian's prediction in the reference
// colour (HistogramPlot), and the Allan deviation on log–log axes, τ in seconds and
// the deviation in the unit that keeps its labels readable (DensityPlot::OfPoints).
#pragma once

#include <QImage>
#include <optional>
#include <string>
#include <vector>

#include "analysis/AllanDeviation.h"
#include "analysis/CodeHistogram.h"
#include "model/Records.h"

// Null images when there is nothing to draw. Need an application object.
QImage HistogramImage(const CodeHistogram& histogram, const FftSetting& colours);
QImage AllanImage(const std::vector<AllanPoint>& allan, const FftSetting& colours);

// The same pictures as the bytes of PNG files; none when there is nothing to draw or
// no GUI application can be had.
std::optional<std::string> HistogramPng(const CodeHistogram& histogram, const FftSetting& colours);
std::optional<std::string> AllanPng(const std::vector<AllanPoint>& allan, const FftSetting& colours);
