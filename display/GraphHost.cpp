#include "display/GraphHost.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>

#include "display/PaintBox.h"
#include "display/PngBytes.h"
#include "model/UnitTables.h"
#include "ui/UiFont.h"

GraphHost::GraphHost(const MeasureData& cur, const MeasureData& ref, const AdUnitSetting& adSetting,
                     const FftSetting& fftSetting, QWidget* parent)
    : QWidget(parent),
      cur_(cur),
      ref_(ref),
      fftSetting_(fftSetting),
      specBox_(new PaintBox(this)),
      waveBox_(new PaintBox(this)) {
  setFixedSize(kCentralWidth, kCentralHeight);
  setAutoFillBackground(true);
  setFont(UiFont());
  for (auto& label : labels_) {
    label = new QLabel(this);
    label->hide();
  }
  specBox_->hide();
  waveBox_->hide();
  graph_ = std::make_unique<TGraph_FFT>(*this, *specBox_, *waveBox_, &SamplePeriodMs, labels_, ref, cur, adSetting,
                                        fftSetting);
}

GraphHost::~GraphHost() = default;

void GraphHost::Redraw() {
  graph_->UpdateLabels();
  graph_->ArrangeGraphs();
  graph_->Resize();
  graph_->ClearAll();
  graph_->Paint();
  const bool both = cur_.HasData() && ref_.HasData();
  if (both) {
    graph_->DrawSpectrumWithRef();
  } else if (cur_.HasData() || ref_.HasData()) {
    graph_->DrawSpectrum(!cur_.HasData());
  }
  if (!fftSetting_.fWaveGraph) return;
  if (both) {
    graph_->DrawWaveWithRef();
  } else if (cur_.HasData() || ref_.HasData()) {
    graph_->DrawWave(!cur_.HasData());
  }
}

OffscreenApplication::OffscreenApplication() {
  QCoreApplication* running = QCoreApplication::instance();
  if (running != nullptr) {
    usable_ = qobject_cast<QApplication*>(running) != nullptr;
    return;
  }
  own_ = std::make_unique<QApplication>(argc_, argv_);
  usable_ = true;
}

OffscreenApplication::~OffscreenApplication() = default;

std::optional<std::string> RenderGraphsPng(const MeasureData& cur, const MeasureData* ref,
                                           const AdUnitSetting& adSetting, const FftSetting& fftSetting) {
  const OffscreenApplication app;
  if (!app.Usable()) return std::nullopt;
  const MeasureData none;
  GraphHost host(cur, ref != nullptr ? *ref : none, adSetting, fftSetting);
  host.Redraw();
  return PngBytes(host.grab().toImage());
}
