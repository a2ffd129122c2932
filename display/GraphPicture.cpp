#include "display/GraphPicture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include "display/PngBytes.h"
#include "model/UnitTables.h"
#include "ui/UiFont.h"

namespace {

std::array<GraphLabel*, TGraph_FFT::kLabelCount> Seams(
    const std::array<std::unique_ptr<DrawnLabel>, TGraph_FFT::kLabelCount>& labels) {
  std::array<GraphLabel*, TGraph_FFT::kLabelCount> seams{};
  for (std::size_t i = 0; i < labels.size(); ++i) seams[i] = labels[i].get();
  return seams;
}

}  // namespace

GraphPicture::GraphPicture(const MeasureData& cur, const MeasureData& ref, const AdUnitSetting& adSetting,
                           const FftSetting& fftSetting) {
  // A widget's font is its own resolved against the application's.
  const QFont font = UiFont().resolve(QGuiApplication::font());
  for (auto& label : labels_) label = std::make_unique<DrawnLabel>(font);
  graph_ = std::make_unique<TGraph_FFT>([] { return QSize(kCentralWidth, kCentralHeight); }, specBox_, waveBox_,
                                        &SamplePeriodMs, Seams(labels_), ref, cur, adSetting, fftSetting);
}

void GraphPicture::Redraw() { graph_->RedrawAll(); }

QImage GraphPicture::Image() {
  const QPalette palette = QGuiApplication::palette();
  QImage picture(kCentralWidth, kCentralHeight, QImage::Format_RGB32);
  picture.fill(palette.color(QPalette::Window));
  QPainter painter(&picture);
  specBox_.Draw(painter);
  waveBox_.Draw(painter);
  for (const auto& label : labels_) label->Draw(painter, palette.color(QPalette::WindowText));
  painter.end();
  return picture;
}

std::optional<std::string> RenderGraphsPng(const MeasureData& cur, const MeasureData* ref,
                                           const AdUnitSetting& adSetting, const FftSetting& fftSetting) {
  const OffscreenApplication app;
  if (!app.Usable()) return std::nullopt;
  const MeasureData none;
  GraphPicture picture(cur, ref != nullptr ? *ref : none, adSetting, fftSetting);
  picture.Redraw();
  return PngBytes(picture.Image());
}
