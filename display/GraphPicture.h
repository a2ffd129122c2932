// The two graphs of a measurement as a picture, drawn without widgets or a display: the
// main window's smallest central area with the two paint boxes and the 42 axis labels
// as the window places them (CanvasBox, DrawnLabel), on the window's face colour.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "display/DrawnParts.h"
#include "display/Graph_fft.h"
#include "display/OffscreenApplication.h"
#include "model/Records.h"

class GraphPicture {
 public:
  // The central area of the main window at its smallest outer size (820 × 512).
  static constexpr int kCentralWidth = 812;
  static constexpr int kCentralHeight = 466;

  // The records and settings are referenced, not copied; they must outlive the
  // picture. Needs a GUI application (OffscreenApplication).
  GraphPicture(const MeasureData& cur, const MeasureData& ref, const AdUnitSetting& adSetting,
               const FftSetting& fftSetting);
  GraphPicture(const GraphPicture&) = delete;
  GraphPicture& operator=(const GraphPicture&) = delete;

  TGraph_FFT& Graph() { return *graph_; }

  // Lays out and draws everything as the main window does after a settings change
  // (TGraph_FFT::RedrawAll).
  void Redraw();

  // The area as the window shows it: the face, the boxes, then the labels over them.
  QImage Image();

 private:
  CanvasBox specBox_;
  CanvasBox waveBox_;
  std::array<std::unique_ptr<DrawnLabel>, TGraph_FFT::kLabelCount> labels_;
  std::unique_ptr<TGraph_FFT> graph_;
};

// Draws the graphs of a measurement (and of a reference, when given and not empty) and
// encodes them as a PNG picture of the graph area; the caller writes the bytes (so the
// picture is saved like every other file). Creates an offscreen application when none
// exists. Nothing when the picture could not be encoded, or when a non-GUI
// application object exists.
std::optional<std::string> RenderGraphsPng(const MeasureData& cur, const MeasureData* ref,
                                           const AdUnitSetting& adSetting, const FftSetting& fftSetting);
