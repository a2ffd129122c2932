#include "files/Myprint.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "display/Graph_fft.h"

namespace {

// The text block's typeface: the canvas's own when it has Japanese glyphs, else the
// canvas's own for Latin text and digits with an installed Japanese family for the
// rest, preferring one with Japanese glyph shapes.
QFont TextFont(const QFont& canvasFont) {
  const QString family = QFontInfo(canvasFont).family();
  if (QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese)) return canvasFont;
  const QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
  if (families.isEmpty()) return canvasFont;  // the platform's fallback is all there is
  const auto japanese = std::find_if(families.begin(), families.end(), [](const QString& name) {
    return name.contains(QLatin1String("JP")) && !QFontDatabase::isFixedPitch(name);
  });
  QFont font(canvasFont);
  font.setFamilies({family, japanese != families.end() ? *japanese : families.front()});
  return font;
}

// Resolution and printable area as the layout reads them.
PrinterMetrics MetricsOf(const QPrinter& printer) {
  return {printer.logicalDpiX(), printer.logicalDpiY(), printer.widthMM(), printer.heightMM(),
          printer.pageLayout().orientation() == QPageLayout::Landscape};
}

void PrepareCanvas(QPainter& canvas) {
  canvas.setBrush(Qt::white);
  canvas.setPen(Qt::black);
  canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

}  // namespace

TmyPrint::TmyPrint(TGraph_FFT& graph, QPrinter& printer, const FftSetting& fftSetting)
    : graph(graph), printer(printer), fftSetting(fftSetting) {}

bool TmyPrint::Print(const PrintInfo& info) {
  const PrinterMetrics metrics = MetricsOf(printer);
  const float s = PrintScale(metrics);
  const bool withWave = fftSetting.fWaveGraph != 0;
  const PageLayout layout = LayOutPage(metrics, withWave);
  if (layout.bitmapWidth <= 0 || layout.bitmapHeight <= 0) return false;  // no room for a graph
  bitmap = QImage(layout.bitmapWidth, layout.bitmapHeight, QImage::Format_RGB32);
  if (bitmap.isNull()) return false;

  const PageRect& spectrum = layout.spectrum;
  const PageRect& first = withWave ? *layout.wave : spectrum;
  if (withWave) {
    graph.PrintWave(bitmap);
  } else {
    graph.PrintSpectrum(bitmap);
  }
  QPainter canvas;
  if (!canvas.begin(&printer)) {
    bitmap = QImage();
    return false;
  }
  // The plots are copied as they are: a lossy encoding would blur their lines.
  canvas.setRenderHint(QPainter::LosslessImageRendering);
  CopyAndFrame(canvas, first);
  if (withWave) {
    graph.PrintVoltLabels(canvas, s, first.left, first.top, first.right, first.bottom);
    graph.PrintTimeLabels(canvas, s, first.left, first.top, first.right, first.bottom);
    graph.PrintSpectrum(bitmap);
    CopyAndFrame(canvas, spectrum);
  }
  graph.PrintFreqLabels(canvas, s, spectrum.left, spectrum.top, spectrum.right, spectrum.bottom);
  graph.PrintdBLabels(canvas, s, spectrum.left, spectrum.top, spectrum.right, spectrum.bottom);
  WriteTextBlock(canvas, layout, info);
  const bool ended = canvas.end();
  bitmap = QImage();
  return ended;
}

void TmyPrint::CopyAndFrame(QPainter& canvas, const PageRect& rect) {
  PrepareCanvas(canvas);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  canvas.drawImage(QRect(rect.left, rect.top, width, height), bitmap);
  // The outline as four filled strips: a stroked line would straddle two pixel rows
  // on a device that centres strokes on the path.
  const QRect frame(rect.left - 1, rect.top - 1, width + 2, height + 2);
  canvas.fillRect(frame.left(), frame.top(), frame.width(), 1, Qt::black);
  canvas.fillRect(frame.left(), frame.bottom(), frame.width(), 1, Qt::black);
  canvas.fillRect(frame.left(), frame.top(), 1, frame.height(), Qt::black);
  canvas.fillRect(frame.right(), frame.top(), 1, frame.height(), Qt::black);
}

void TmyPrint::WriteTextBlock(QPainter& canvas, const PageLayout& layout, const PrintInfo& info) {
  PrepareCanvas(canvas);
  QFont font = TextFont(canvas.font());
  // Unhinted design metrics: what is measured is what the page gets.
  font.setHintingPreference(QFont::PreferNoHinting);
  int y = layout.textY;
  for (const std::string& text : PrintTextLines(info)) {
    const QString line = QString::fromStdString(text);
    const auto widthAt = [&](double points) {
      QFont sized(font);
      sized.setPointSizeF(points);
      return QFontMetrics(sized, &printer).horizontalAdvance(line);
    };
    font.setPointSizeF(FitTextPoints(widthAt, layout.textRoom));
    canvas.setFont(font);
    canvas.drawText(layout.textX, y + canvas.fontMetrics().ascent(), line);
    y += layout.lineStep;
  }
}
