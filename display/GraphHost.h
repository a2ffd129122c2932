// A window-less host for the two graphs: a widget of the main window's smallest central
// area that holds the two paint boxes and the 42 axis labels as the main window does,
// so that the graphs of a measurement can be rendered to a picture without a display.
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "display/Graph_fft.h"
#include "model/Records.h"

class PaintBox;
class QApplication;
class QLabel;

class GraphHost : public QWidget {
 public:
  // The central area of the main window at its smallest outer size (820 × 512).
  static constexpr int kCentralWidth = 812;
  static constexpr int kCentralHeight = 466;

  // The records and settings are referenced, not copied; they must outlive the host.
  GraphHost(const MeasureData& cur, const MeasureData& ref, const AdUnitSetting& adSetting,
            const FftSetting& fftSetting, QWidget* parent = nullptr);
  ~GraphHost() override;

  TGraph_FFT& Graph() { return *graph_; }
  PaintBox& SpecBox() { return *specBox_; }
  PaintBox& WaveBox() { return *waveBox_; }
  QLabel& Label(int index) { return *labels_[static_cast<std::size_t>(index)]; }

  // Lays out and draws everything as the main window does after a settings change:
  // labels, layout, sizes, empty grids, then the curves of the records present.
  void Redraw();

 private:
  const MeasureData& cur_;
  const MeasureData& ref_;
  const FftSetting& fftSetting_;
  PaintBox* specBox_;
  PaintBox* waveBox_;
  std::array<QLabel*, TGraph_FFT::kLabelCount> labels_{};
  std::unique_ptr<TGraph_FFT> graph_;
};

// A widget application for drawing without a window: the running one, or an offscreen
// one that lives as long as this object. Not usable when a non-widget application
// object exists (widgets cannot be made then, and only one application may exist).
class OffscreenApplication {
 public:
  OffscreenApplication();
  ~OffscreenApplication();
  OffscreenApplication(const OffscreenApplication&) = delete;
  OffscreenApplication& operator=(const OffscreenApplication&) = delete;

  bool Usable() const { return usable_; }

 private:
  // The application keeps argc and argv and consumes the options it reads, so they
  // are fresh per object and outlive it.
  char arg0_[7] = "zemtra";
  char arg1_[10] = "-platform";
  char arg2_[10] = "offscreen";
  char* argv_[4] = {arg0_, arg1_, arg2_, nullptr};
  int argc_ = 3;
  bool usable_ = false;
  std::unique_ptr<QApplication> own_;
};

// Draws the graphs of a measurement (and of a reference, when given and not empty) and
// encodes them as a PNG picture of the graph area; the caller writes the bytes (so the
// picture is saved like every other file). Creates an offscreen QApplication when no
// application exists. Nothing when the picture could not be encoded, or when a
// non-widget application object exists.
std::optional<std::string> RenderGraphsPng(const MeasureData& cur, const MeasureData* ref,
                                           const AdUnitSetting& adSetting, const FftSetting& fftSetting);
