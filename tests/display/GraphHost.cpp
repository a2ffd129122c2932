#include "display/GraphHost.h"

#include "display/PaintBox.h"
#include "display/WidgetLabel.h"
#include "model/UnitTables.h"
#include "ui/UiFont.h"

GraphHost::GraphHost(const MeasureData& cur, const MeasureData& ref, const AdUnitSetting& adSetting,
                     const FftSetting& fftSetting, QWidget* parent)
    : QWidget(parent), specBox_(new PaintBox(this)), waveBox_(new PaintBox(this)) {
  setFixedSize(kCentralWidth, kCentralHeight);
  setAutoFillBackground(true);
  setFont(UiFont());
  for (auto& label : labels_) {
    label = new WidgetLabel(QString(), this);
    label->hide();
  }
  specBox_->hide();
  waveBox_->hide();
  graph_ = std::make_unique<TGraph_FFT>([this] { return size(); }, *specBox_, *waveBox_, &SamplePeriodMs,
                                        GraphLabelsOf(labels_), ref, cur, adSetting, fftSetting);
}

GraphHost::~GraphHost() = default;

QLabel& GraphHost::Label(int index) { return *labels_[static_cast<std::size_t>(index)]; }
