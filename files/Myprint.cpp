#include "files/Myprint.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "display/Graph_fft.h"
#include "ui/FileText.h"

namespace {

// The text block's two typefaces: ASCII in the canvas's own unless that is a CJK font,
// then in an installed Latin family; everything else in an installed family with
// Japanese glyphs (preferring Japanese glyph shapes), unless the canvas's own has them.
// A line is set run by run in these, so no character goes through the platform's font
// fallback, whose patterns Qt keeps for ever, and digits keep their text in a PDF (a
// CJK font's digits in a Latin run reach it as glyphs without text).
struct TextFaces {
  QFont latin;
  QFont japanese;

  TextFaces At(double points) const {
    TextFaces sized{latin, japanese};
    sized.latin.setPointSizeF(points);
    sized.japanese.setPointSizeF(points);
    return sized;
  }
};

bool HasJapanese(const QString& family) {
  return QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese);
}

// An installed proportional Latin family without Japanese glyphs, a sans-serif one
// where there is one; empty when there is none.
QString PlainLatinFamily() {
  QStringList plain;
  for (const QString& name : QFontDatabase::families(QFontDatabase::Latin)) {
    if (!HasJapanese(name) && !QFontDatabase::isFixedPitch(name)) plain.push_back(name);
  }
  const auto sans = std::find_if(plain.begin(), plain.end(),
                                 [](const QString& name) { return name.contains(QLatin1String("Sans")); });
  return sans != plain.end() ? *sans : plain.value(0);
}

TextFaces TextFacesOf(const QFont& canvasFont) {
  QFont latin(canvasFont);
  // Unhinted design metrics: what is measured is what the page gets.
  latin.setHintingPreference(QFont::PreferNoHinting);
  QFont japanese(latin);
  const QString family = QFontInfo(canvasFont).family();
  if (HasJapanese(family)) {
    const QString plain = PlainLatinFamily();
    if (!plain.isEmpty()) latin.setFamily(plain);
    return {latin, japanese};
  }
  const QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
  if (!families.isEmpty()) {
    const auto shaped = std::find_if(families.begin(), families.end(), [](const QString& name) {
      return name.contains(QLatin1String("JP")) && !QFontDatabase::isFixedPitch(name);
    });
    japanese.setFamily(shaped != families.end() ? *shaped : families.front());
  }
  return {latin, japanese};
}

// A stretch of a line in one typeface.
struct TextRun {
  QString text;
  const QFont* font;
};

std::vector<TextRun> RunsOf(const QString& line, const TextFaces& faces) {
  constexpr char16_t kFirstNonAscii = 0x80;
  std::vector<TextRun> runs;
  for (const QChar c : line) {
    const QFont* font = c.unicode() < kFirstNonAscii ? &faces.latin : &faces.japanese;
    if (runs.empty() || runs.back().font != font) runs.push_back({QString(), font});
    runs.back().text += c;
  }
  return runs;
}

int LineWidth(const QString& line, const TextFaces& faces, QPaintDevice* device) {
  int width = 0;
  for (const TextRun& run : RunsOf(line, faces)) width += QFontMetrics(*run.font, device).horizontalAdvance(run.text);
  return width;
}

// Draws a line with its top-left corner at (x, y), every run on one baseline, and
// records its runs in drawn.
void DrawLine(QPainter& canvas, const QString& line, const TextFaces& faces, int x, int y, DrawnText& drawn) {
  QPaintDevice* device = canvas.device();
  const int ascent =
      std::max(QFontMetrics(faces.latin, device).ascent(), QFontMetrics(faces.japanese, device).ascent());
  for (const TextRun& run : RunsOf(line, faces)) {
    canvas.setFont(*run.font);
    canvas.drawText(x, y + ascent, run.text);
    drawn.Add(run.text, *run.font);
    x += QFontMetrics(*run.font, device).horizontalAdvance(run.text);
  }
}

// Resolution and printable area as the layout reads them.
PrinterMetrics MetricsOf(const QPagedPaintDevice& printer) {
  return {printer.logicalDpiX(), printer.logicalDpiY(), printer.widthMM(), printer.heightMM(),
          printer.pageLayout().orientation() == QPageLayout::Landscape};
}

void PrepareCanvas(QPainter& canvas) {
  canvas.setBrush(Qt::white);
  canvas.setPen(Qt::black);
  canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

}  // namespace

TmyPrint::TmyPrint(TGraph_FFT& graph, QPagedPaintDevice& printer, const FftSetting& fftSetting)
    : graph(graph), printer(printer), fftSetting(fftSetting) {}

bool TmyPrint::Print(const PrintInfo& info) {
  drawn = DrawnText();
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
  const TextFaces faces = TextFacesOf(canvas.font());
  // The file's values are printed as the window shows them: their bytes may be Shift-JIS.
  SaveSetting shownSave = info.save;
  shownSave.StartDateTime = FileText(info.save.StartDateTime).toStdString();
  shownSave.DataFileName = FileText(info.save.DataFileName).toStdString();
  PrintInfo shown{info.samples,  info.fft,    shownSave,   info.rateText,     info.freqStepText,
                  info.peakVolt, info.peakDb, info.peakHz, info.peakVoltUnit, info.average};
  const auto lines = PrintTextLines(shown);
  int y = layout.textY;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    const QString line = QString::fromStdString(lines[i]);
    const auto widthAt = [&](double points) { return LineWidth(line, faces.At(points), &printer); };
    DrawLine(canvas, line, faces.At(FitTextPoints(widthAt, layout.textRoom)), layout.textX, y, drawn);
    y += layout.lineStep;
  }
  const auto widthAt = [&](const std::string& text, double points) {
    return LineWidth(QString::fromStdString(text), faces.At(points), &printer);
  };
  const FittedLine name = FitFileNameLine(shownSave.DataFileName, widthAt, layout.fileNameRoom);
  DrawLine(canvas, QString::fromStdString(name.text), faces.At(name.points), layout.textX, y, drawn);
  const QString averageLine = QString::fromStdString(SpectrumAverageLine(info.average));
  if (averageLine.isEmpty()) return;
  const auto averageWidthAt = [&](double points) { return LineWidth(averageLine, faces.At(points), &printer); };
  DrawLine(canvas, averageLine, faces.At(FitTextPoints(averageWidthAt, layout.textRoom)), layout.textX,
           y + layout.lineStep, drawn);
}
