// The two graphs in widgets, as the main window holds them: a widget of the window's
// smallest central area with the two paint boxes and the 42 axis labels, so the tests
// can look at the widgets the graph sets and compare the picture drawn without them
// (GraphPicture) with what the widgets show.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "display/GraphPicture.h"
#include "display/Graph_fft.h"
#include "model/Records.h"

class PaintBox;
class QLabel;
class WidgetLabel;

class GraphHost : public QWidget {
 public:
  static constexpr int kCentralWidth = GraphPicture::kCentralWidth;
  static constexpr int kCentralHeight = GraphPicture::kCentralHeight;

  // The records and settings are referenced, not copied; they must outlive the host.
  GraphHost(const MeasureData& cur, const MeasureData& ref, const AdUnitSetting& adSetting,
            const FftSetting& fftSetting, QWidget* parent = nullptr);
  ~GraphHost() override;

  TGraph_FFT& Graph() { return *graph_; }
  PaintBox& SpecBox() { return *specBox_; }
  PaintBox& WaveBox() { return *waveBox_; }
  QLabel& Label(int index);

  // TGraph_FFT::RedrawAll.
  void Redraw() { graph_->RedrawAll(); }

 private:
  PaintBox* specBox_;
  PaintBox* waveBox_;
  std::array<WidgetLabel*, TGraph_FFT::kLabelCount> labels_{};
  std::unique_ptr<TGraph_FFT> graph_;
};
