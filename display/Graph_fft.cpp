#include "display/Graph_fft.h"

#include <QFontInfo>
#include <QPainter>
#include <algorithm>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define ZEMTRA_X86_64 1
#endif

#include "display/BitmapPainter.h"
#include "display/PeakReadout.h"
#include "ui/BgrColor.h"
#include "ui/UiFont.h"

namespace {

constexpr int kScreenPenWidth = 1;
constexpr int kPrintPenWidth = 5;
constexpr std::int32_t kTimeLineColor = 0xC0C0C0;  // light grey, fixed
constexpr int kPrintFontPoints = 9;

// Sample count usable with the record's arrays: never beyond what the owner reserved.
int SampleCount(const MeasureData& record) {
  if (record.adCode == nullptr || record.volt == nullptr) return 0;
  return std::clamp(record.ad_dnum, 0, kSampleCapacity);
}

int SpectrumBins(const MeasureData& record) {
  if (record.spectrum == nullptr || record.ad_dnum <= 0) return 0;
  return std::min(record.ad_dnum / 2, kSpectrumCapacity);
}

#ifdef ZEMTRA_X86_64
__attribute__((target("avx"))) void ZeroUpperVectorHalves() { _mm256_zeroupper(); }
#endif

// Qt's raster code can return with the upper halves of the AVX registers in use; the
// plain SSE maths that follows (and libm) then runs several times slower on current
// x86 cores. Called before each loop of maths that follows drawing.
void SettleVectorUnit() {
#ifdef ZEMTRA_X86_64
  static const bool hasAvx = __builtin_cpu_supports("avx");
  if (hasAvx) ZeroUpperVectorHalves();
#endif
}

}  // namespace

TGraph_FFT::TGraph_FFT(std::function<QSize()> areaSize, GraphBox& specBox, GraphBox& waveBox,
                       SamplePeriodFn samplePeriod, std::span<GraphLabel* const, kLabelCount> labels,
                       const MeasureData& refData, const MeasureData& mainData, const AdUnitSetting& adSetting,
                       const FftSetting& fftSetting)
    : areaSize(std::move(areaSize)),
      specBox(specBox),
      waveBox(waveBox),
      samplePeriod(samplePeriod),
      fftSetting(fftSetting),
      adSetting(adSetting),
      mainData(mainData),
      refData(refData),
      displaydB(kSpectrumCapacity, 0.0F),
      refDisplaydB(kSpectrumCapacity, 0.0F) {
  points.reserve(kSampleCapacity);
  auto next = labels.begin();
  for (auto& label : freqLabels) label = *next++;
  for (auto& label : dBLabels) label = *next++;
  for (auto& label : waveLabels) label = *next++;
  // A label is as high as its font's pixel size, whatever the font's line spacing:
  // the placement rules are made for that height. Its text stays centred on it.
  for (GraphLabel* label : labels) label->SetHeight(QFontInfo(label->Font()).pixelSize());
  Resize();
}

// ---- Layout ------------------------------------------------------------------------

void TGraph_FFT::ArrangeGraphs() {
  const QSize form = areaSize();
  const int outerWidth = form.width() + kFrameExtraWidth;
  const int outerHeight = form.height() + kFrameExtraHeight;
  const GraphLayout layout = ArrangeBoxes(outerWidth, outerHeight, fftSetting.fWaveGraph != 0);
  const LabelArea area{form.width(), form.height()};
  auto place = [](GraphLabel* label, const LabelPlace& at) {
    label->Move(at.left, at.top);
    label->SetShown(at.shown);
  };
  if (layout.waveShown) {
    waveBox.SetGeometry({layout.wave.left, layout.wave.top, layout.wave.width, layout.wave.height});
    const auto places = PlaceWaveLabels(layout.wave, area, SizesOf(waveLabels));
    for (std::size_t i = 0; i < waveLabels.size(); ++i) place(waveLabels[i], places[i]);
  }
  specBox.SetGeometry({layout.spectrum.left, layout.spectrum.top, layout.spectrum.width, layout.spectrum.height});
  if (const auto places = PlaceDbLabels(layout.spectrum, area, SizesOf(dBLabels), fftSetting)) {
    for (std::size_t i = 0; i < dBLabels.size(); ++i) place(dBLabels[i], (*places)[i]);
  }
  if (FreqRangeOf(fftSetting)) {
    if (const auto places = PlaceFreqLabels(layout.spectrum, area, SizesOf(freqLabels), fftSetting)) {
      for (std::size_t i = 0; i < freqLabels.size(); ++i) place(freqLabels[i], (*places)[i]);
    }
  }
  specBox.SetShown(true);
  waveBox.SetShown(layout.waveShown);
  for (GraphLabel* label : waveLabels) label->SetShown(layout.waveShown);
}

void TGraph_FFT::Resize() {
  soFarShown.reset();
  specBoxWidth = specBox.Size().width();
  specBoxHeight = specBox.Size().height();
  specBitmap = QImage(std::max(specBoxWidth - 2, 0), std::max(specBoxHeight - 2, 0), QImage::Format_RGB32);
  if (fftSetting.fWaveGraph) {
    waveBoxWidth = waveBox.Size().width();
    waveBoxHeight = waveBox.Size().height();
    waveBitmap = QImage(std::max(waveBoxWidth - 2, 0), std::max(waveBoxHeight - 2, 0), QImage::Format_RGB32);
  }
}

void TGraph_FFT::ClearAll() {
  soFarShown.reset();
  auto clearBox = [](GraphBox& box) {
    QPainter painter(&box.Canvas());
    painter.fillRect(box.Canvas().rect(), Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, box.Size().width() - 1, box.Size().height() - 1);
    box.Present();
  };
  clearBox(specBox);
  if (waveBox.Shown()) clearBox(waveBox);
  SpectrumGridOnly(specBitmap, kScreenPenWidth);
  if (fftSetting.fWaveGraph && !waveBitmap.isNull()) {
    waveTime = samplePeriod(adSetting.spsSel) * static_cast<float>(fftSetting.DataCountMax);
    BitmapPainter painter(waveBitmap);
    painter.fillRect(waveBitmap.rect(), Qt::white);
    DrawWaveGrid(painter, waveBitmap.width(), waveBitmap.height(), kScreenPenWidth);
  }
}

void TGraph_FFT::Paint() {
  CopyToBox(specBox, specBitmap, specBoxWidth, specBoxHeight);
  if (fftSetting.fWaveGraph) CopyToBox(waveBox, waveBitmap, waveBoxWidth, waveBoxHeight);
}

void TGraph_FFT::RedrawAll() {
  UpdateLabels();
  ArrangeGraphs();
  Resize();
  ClearAll();
  Paint();
  const bool both = mainData.HasData() && refData.HasData();
  if (both) {
    DrawSpectrumWithRef();
  } else if (mainData.HasData() || refData.HasData()) {
    DrawSpectrum(!mainData.HasData());
  }
  if (!fftSetting.fWaveGraph) return;
  if (both) {
    DrawWaveWithRef();
  } else if (mainData.HasData() || refData.HasData()) {
    DrawWave(!mainData.HasData());
  }
}

void TGraph_FFT::CopyToBox(GraphBox& box, const QImage& bitmap, int boxWidth, int boxHeight) {
  QImage& canvas = box.Canvas();
  if (canvas.isNull()) return;
  QPainter painter(&canvas);
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, boxWidth - 1, boxHeight - 1);
  const QRect source(0, 0, boxWidth - 2, boxHeight - 2);
  painter.drawImage(QRect(1, 1, boxWidth - 2, boxHeight - 2), bitmap, source);
  box.Present();
}

// A wide pen strokes a polyline as one polygon, which the rasteriser fills very slowly
// once the curve folds back on itself thousands of times (a waveform at printer
// resolution takes seconds); its segments are stroked one by one instead. In xor mode
// overlapping segment ends would cancel out, so the segments go onto a black layer in
// the pen's colour, which is then xored in once: the curve's pixels change once each.
void TGraph_FFT::DrawCurve(QPainter& painter) {
  if (painter.pen().width() <= kScreenPenWidth) {
    painter.drawPolyline(points.data(), static_cast<int>(points.size()));
    return;
  }
  segments.clear();
  for (std::size_t i = 1; i < points.size(); ++i) segments.emplace_back(points[i - 1], points[i]);
  const int count = static_cast<int>(segments.size());
  if (painter.compositionMode() != QPainter::RasterOp_SourceXorDestination) {
    painter.drawLines(segments.data(), count);
    return;
  }
  QImage layer(painter.device()->width(), painter.device()->height(), QImage::Format_RGB32);
  if (layer.isNull()) return;
  layer.fill(Qt::black);
  BitmapPainter onLayer(layer);
  onLayer.setPen(painter.pen());
  onLayer.drawLines(segments.data(), count);
  onLayer.end();
  painter.drawImage(0, 0, layer);
}

void TGraph_FFT::SetPen(QPainter& painter, std::int32_t color, int width, PenMode mode) {
  painter.setPen(QPen(QColorOfBgr(color), width));
  switch (mode) {
    case PenMode::Copy:
      painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
      break;
    case PenMode::Mask:
      painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
      break;
    case PenMode::Xor:
      painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      break;
  }
}

// ---- Spectrum ----------------------------------------------------------------------

void TGraph_FFT::DrawSpectrumGrid(QPainter& painter, const SpectrumScale& scale, int penWidth) {
  const int w = scale.Width(), h = scale.Height();
  const SpectrumGrid grid = SpectrumGridOf(scale);
  SetPen(painter, fftSetting.PenColorSubAxis, penWidth, PenMode::Copy);
  for (int y : grid.hLines) painter.drawLine(0, y, w, y);
  for (const GridLine& line : grid.vLines) {
    SetPen(painter, line.main ? fftSetting.PenColorMainAxis : fftSetting.PenColorSubAxis, penWidth, PenMode::Copy);
    painter.drawLine(line.pos, 0, line.pos, h);
  }
}

void TGraph_FFT::SpectrumGridOnly(QImage& bitmap, int penWidth) {
  if (bitmap.isNull()) return;
  BitmapPainter painter(bitmap);
  painter.fillRect(bitmap.rect(), Qt::white);
  if (const auto scale = SpectrumScale::Of(fftSetting, bitmap.width(), bitmap.height()))
    DrawSpectrumGrid(painter, *scale, penWidth);
}

std::optional<BinRange> TGraph_FFT::BinRangeOf(const SpectrumScale& scale) const {
  return scale.IsLog() ? LogBinRange(scale.Freq(), freqStep, binCount)
                       : LinearBinRange(scale.Freq().max, freqStep, binCount);
}

void TGraph_FFT::DrawSpectrumCurve(QPainter& painter, const SpectrumScale& scale, const float* dB, float step,
                                   const BinRange& range) {
  SettleVectorUnit();
  points.clear();
  for (int i = range.first; i <= range.last; ++i)
    points.emplace_back(scale.X(static_cast<float>(i) * step), scale.Y(dB[i]));
  DrawCurve(painter);
}

bool TGraph_FFT::SpectrumAlone(QImage& bitmap, bool isRef, int penWidth) {
  const MeasureData& record = isRef ? refData : mainData;
  freqStep = record.deltaF;
  binCount = SpectrumBins(record);
  if (binCount == 0) return false;
  specPeakAmp = LargestAmplitude(record.spectrum, binCount);
  if (!(specPeakAmp > 0.0F)) return false;
  SettleVectorUnit();
  ConvertToDisplayDb(record.spectrum, binCount, DbBottomOf(fftSetting), fftSetting.fAbsoGraph != 0, specPeakAmp,
                     displaydB.data());
  if (bitmap.isNull()) return true;
  BitmapPainter painter(bitmap);
  painter.fillRect(bitmap.rect(), Qt::white);
  const auto scale = SpectrumScale::Of(fftSetting, bitmap.width(), bitmap.height());
  if (!scale) return true;
  DrawSpectrumGrid(painter, *scale, penWidth);
  SetPen(painter, isRef ? fftSetting.PenColorRefGraph : fftSetting.PenColorGraph, penWidth, PenMode::Copy);
  if (const auto range = BinRangeOf(*scale)) DrawSpectrumCurve(painter, *scale, displaydB.data(), freqStep, *range);
  return true;
}

void TGraph_FFT::SpectrumOverlay(QImage& bitmap, int penWidth) {
  if (!SpectrumAlone(bitmap, false, penWidth)) {
    // Without a current spectrum there is no 0 dB to share: show the empty graph.
    SpectrumGridOnly(bitmap, penWidth);
    return;
  }
  if (!refData.HasData() || bitmap.isNull()) return;
  const auto scale = SpectrumScale::Of(fftSetting, bitmap.width(), bitmap.height());
  if (!scale) return;
  freqStep = refData.deltaF;
  binCount = SpectrumBins(refData);
  if (binCount == 0) return;
  SettleVectorUnit();
  ConvertToDisplayDb(refData.spectrum, binCount, DbBottomOf(fftSetting), fftSetting.fAbsoGraph != 0, specPeakAmp,
                     refDisplaydB.data());
  const auto range = BinRangeOf(*scale);
  if (!range) return;
  BitmapPainter painter(bitmap);
  SetPen(painter, fftSetting.PenColorRefGraph, penWidth, scale->IsLog() ? PenMode::Mask : PenMode::Xor);
  DrawSpectrumCurve(painter, *scale, refDisplaydB.data(), freqStep, *range);
}

void TGraph_FFT::DrawSpectrum(bool isRef) {
  SpectrumAlone(specBitmap, isRef, kScreenPenWidth);
  CopyToBox(specBox, specBitmap, specBoxWidth, specBoxHeight);
}

void TGraph_FFT::DrawSpectrumWithRef() {
  SpectrumOverlay(specBitmap, kScreenPenWidth);
  CopyToBox(specBox, specBitmap, specBoxWidth, specBoxHeight);
}

void TGraph_FFT::PrintSpectrum(QImage& target) { SpectrumOverlay(target, kPrintPenWidth); }

int TGraph_FFT::BinAtX(int boxWidth, int x) const { return ::BinAtX(boxWidth, x, fftSetting, mainData.deltaF); }

// ---- Waveform ----------------------------------------------------------------------

void TGraph_FFT::DrawWaveGrid(QPainter& painter, int width, int height, int penWidth) {
  const auto lines = WaveAmplitudeLines(height);
  // The centre line comes before the print width is taken: it keeps the 1-pixel pen
  // a fresh canvas has, on paper too.
  SetPen(painter, fftSetting.PenColorMainAxis, kScreenPenWidth, PenMode::Copy);
  painter.drawLine(0, lines.front().pos, width, lines.front().pos);
  for (auto line = lines.begin() + 1; line != lines.end(); ++line) {
    SetPen(painter, line->main ? fftSetting.PenColorMainAxis : fftSetting.PenColorSubAxis, penWidth, PenMode::Copy);
    painter.drawLine(0, line->pos, width, line->pos);
  }
  SetPen(painter, kTimeLineColor, penWidth, PenMode::Copy);
  for (int x : WaveTimeLineXs(width, waveTime)) painter.drawLine(x, 0, x, height);
}

WaveScale TGraph_FFT::TakeRange(const MeasureData& record) {
  if (fftSetting.fSig_Volt) {
    const VoltRange range = VoltRangeOf(record, fftSetting.fDCCut_SigGraph != 0);
    voltMax = range.max;
    voltMin = range.min;
    return WaveScaleOf(range);
  }
  const CodeRange range = CodeRangeOf(record);
  codeMax = range.max;
  codeMin = range.min;
  return WaveScaleOf(range);
}

WaveScale TGraph_FFT::TakeJointRange() {
  if (fftSetting.fSig_Volt) {
    const VoltRange range = JointVoltRange(mainData, refData, fftSetting.fDCCut_SigGraph != 0);
    voltMax = range.max;
    voltMin = range.min;
    return WaveScaleOf(range);
  }
  const CodeRange range = JointCodeRange(mainData, refData);
  codeMax = range.max;
  codeMin = range.min;
  return WaveScaleOf(range);
}

// Alone, the record lies on an axis of axisCount samples: x_i = (W·i)/N. On a common
// time axis of commonSpanMs: x_i = trunc(W·((i·P)/span)).
void TGraph_FFT::DrawWaveCurve(QPainter& painter, const MeasureData& record, const WaveScale& scale, int width,
                               int height, std::optional<float> commonSpanMs, int axisCount, int first) {
  const int n = SampleCount(record);
  if (n == 0) return;
  const bool volts = fftSetting.fSig_Volt != 0;
  const float offset = WaveOffset(record);
  const float period = samplePeriod(static_cast<int>(record.spsSel));
  const float w = static_cast<float>(width);
  SettleVectorUnit();
  points.clear();
  for (int i = std::max(first, 0); i < n; ++i) {
    const int x = commonSpanMs ? TruncToPixel(w * ((static_cast<float>(i) * period) / *commonSpanMs))
                               : WaveSampleX(width, i, axisCount);
    const float v = volts ? record.volt[i] : static_cast<float>(record.adCode[i]);
    points.emplace_back(x, scale.Y(v, offset, height));
  }
  DrawCurve(painter);
}

float TGraph_FFT::WaveOffset(const MeasureData& record) const {
  return fftSetting.fSig_Volt != 0 && fftSetting.fDCCut_SigGraph ? record.voltMean : 0.0F;
}

void TGraph_FFT::WaveAlone(const MeasureData& record, std::int32_t penColor, int axisCount) {
  if (waveBitmap.isNull()) return;
  waveTime = samplePeriod(static_cast<int>(record.spsSel)) * static_cast<float>(axisCount);
  BitmapPainter painter(waveBitmap);
  painter.fillRect(waveBitmap.rect(), Qt::white);
  if (!(waveTime > 0.0F)) return;  // no rate known: no time axis to draw on
  DrawWaveGrid(painter, waveBitmap.width(), waveBitmap.height(), kScreenPenWidth);
  SetPen(painter, penColor, kScreenPenWidth, PenMode::Copy);
  const WaveScale scale = TakeRange(record);
  waveSpan = scale.span;
  waveBottom = scale.bottom;
  DrawWaveCurve(painter, record, scale, waveBitmap.width(), waveBitmap.height(), std::nullopt, axisCount);
}

void TGraph_FFT::WaveBoth(QImage& bitmap, int penWidth) {
  if (bitmap.isNull()) return;
  waveTime = std::max(RecordSpanMs(mainData, samplePeriod), RecordSpanMs(refData, samplePeriod));
  BitmapPainter painter(bitmap);
  painter.fillRect(bitmap.rect(), Qt::white);
  if (!(waveTime > 0.0F)) return;
  DrawWaveGrid(painter, bitmap.width(), bitmap.height(), penWidth);
  const WaveScale scale = TakeJointRange();
  waveSpan = scale.span;
  waveBottom = scale.bottom;
  SetPen(painter, fftSetting.PenColorGraph, penWidth, PenMode::Copy);
  DrawWaveCurve(painter, mainData, scale, bitmap.width(), bitmap.height(), waveTime, 0);
  SetPen(painter, fftSetting.PenColorRefGraph, penWidth, PenMode::Mask);
  DrawWaveCurve(painter, refData, scale, bitmap.width(), bitmap.height(), waveTime, 0);
}

void TGraph_FFT::DrawWave(bool isRef) {
  soFarShown.reset();
  const MeasureData& record = isRef ? refData : mainData;
  WaveAlone(record, isRef ? fftSetting.PenColorRefGraph : fftSetting.PenColorGraph, record.ad_dnum);
  CopyToBox(waveBox, waveBitmap, waveBoxWidth, waveBoxHeight);
}

void TGraph_FFT::DrawWaveSoFar(const MeasureData& soFar, int totalSamples) {
  if (!fftSetting.fWaveGraph) return;
  if (waveBitmap.isNull()) return;
  const std::array held{codeMax, codeMin};
  const std::array heldVolts{voltMax, voltMin};
  const WaveScale scale = TakeRange(soFar);
  const WaveSoFarShown now{SampleCount(soFar), totalSamples, scale.span, scale.bottom, WaveOffset(soFar)};
  const auto& was = soFarShown;
  if (was && was->samples > 0 && now.samples >= was->samples && now.totalSamples == was->totalSamples &&
      now.span == was->span && now.bottom == was->bottom && now.offset == was->offset) {
    // The same scale: the points drawn stay where they are; the curve goes on from the last.
    BitmapPainter painter(waveBitmap);
    SetPen(painter, fftSetting.PenColorGraph, kScreenPenWidth, PenMode::Copy);
    DrawWaveCurve(painter, soFar, scale, waveBitmap.width(), waveBitmap.height(), std::nullopt, totalSamples,
                  was->samples - 1);
  } else {
    WaveAlone(soFar, fftSetting.PenColorGraph, totalSamples);
    SetWaveLabelTexts(waveTime);
    ArrangeGraphs();
  }
  soFarShown.reset();
  if (waveTime > 0.0F) soFarShown = now;
  CopyToBox(waveBox, waveBitmap, waveBoxWidth, waveBoxHeight);
  codeMax = held[0];
  codeMin = held[1];
  voltMax = heldVolts[0];
  voltMin = heldVolts[1];
}

void TGraph_FFT::DrawWaveWithRef() {
  soFarShown.reset();
  WaveBoth(waveBitmap, kScreenPenWidth);
  CopyToBox(waveBox, waveBitmap, waveBoxWidth, waveBoxHeight);
}

void TGraph_FFT::PrintWave(QImage& target) { WaveBoth(target, kPrintPenWidth); }

std::int32_t TGraph_FFT::CodeMax() {
  const CodeRange range = CodeRangeOf(mainData);
  codeMax = range.max;
  codeMin = range.min;
  return codeMax;
}

std::int32_t TGraph_FFT::CodeMin() {
  CodeMax();
  return codeMin;
}

double TGraph_FFT::CodeToMicrovolt(std::int32_t code) const { return ::CodeToMicrovolt(code, adSetting.Gain); }

double TGraph_FFT::CodeSpanToMicrovolt(double digits) const { return ::CodeSpanToMicrovolt(digits, adSetting.Gain); }

// ---- Labels ------------------------------------------------------------------------

template <std::size_t N>
std::array<LabelSize, N> TGraph_FFT::SizesOf(const std::array<GraphLabel*, N>& labels) {
  std::array<LabelSize, N> sizes{};
  for (std::size_t i = 0; i < N; ++i) sizes[i] = {labels[i]->Size().width(), labels[i]->Size().height()};
  return sizes;
}

void TGraph_FFT::SetLabelText(GraphLabel* label, const std::string& text) {
  label->SetText(QString::fromStdString(text));
}

void TGraph_FFT::SetFreqLabelTexts() {
  if (!FreqRangeOf(fftSetting)) return;
  if (fftSetting.fLogGraph) {
    const auto& texts = LogFreqLabelTexts(fftSetting.index_FreqS, fftSetting.index_FreqE);
    for (std::size_t i = 0; i < freqLabels.size(); ++i) SetLabelText(freqLabels[i], texts[i]);
    return;
  }
  const auto texts = LinearFreqLabelTexts(fftSetting.index_FreqE);
  for (std::size_t i = 0; i < texts.size(); ++i) SetLabelText(freqLabels[i], texts[i]);
}

void TGraph_FFT::SetDbLabelTexts() {
  if (!DbRangeOf(fftSetting)) return;
  for (int i = 0; i < kDbLevelCount; ++i)
    SetLabelText(dBLabels[static_cast<std::size_t>(i)], DbLabelText(i, fftSetting));
}

float TGraph_FFT::TimeAxisEndMs() const {
  return TimeAxisSpanMs(mainData, refData, adSetting.spsSel, fftSetting.DataCountMax, samplePeriod);
}

void TGraph_FFT::SetWaveLabelTexts(float timeEndMs) {
  const WaveValueTexts values =
      fftSetting.fSig_Volt ? VoltLabelTexts({voltMax, voltMin}) : CodeLabelTexts({codeMax, codeMin});
  SetLabelText(waveLabels[kVoltMax], values.max);
  SetLabelText(waveLabels[kVoltZero], values.zero);
  SetLabelText(waveLabels[kVoltMin], values.min);
  SetLabelText(waveLabels[kVoltUnit], values.unit);
  SetLabelText(waveLabels[kTimeS], "0");
  SetLabelText(waveLabels[kTimeE], FormatTime(timeEndMs));
}

void TGraph_FFT::UpdateLabels() {
  // The joint ranges leave out a record without samples; with none the ranges stay.
  if (mainData.HasData() || refData.HasData()) {
    const CodeRange codes = JointCodeRange(mainData, refData);
    const VoltRange volts = JointVoltRange(mainData, refData, fftSetting.fDCCut_SigGraph != 0);
    codeMax = codes.max;
    codeMin = codes.min;
    voltMax = volts.max;
    voltMin = volts.min;
  }
  SetFreqLabelTexts();
  SetDbLabelTexts();
  if (fftSetting.fWaveGraph) SetWaveLabelTexts(TimeAxisEndMs());
}

namespace {

void PrepareCanvas(QPainter& canvas) {
  canvas.setBrush(Qt::white);
  canvas.setPen(Qt::black);
  canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
  // The labels' sizes were measured in the screen font: print in the same face.
  QFont font = UiFont();
  font.setPointSize(kPrintFontPoints);
  // Shaping gives a digit beside a letter a glyph that a PDF's text cannot name, so
  // "0dBV" would copy as " dBV"; the labels are plain ASCII and need none.
  font.setStyleStrategy(QFont::PreferNoShaping);
  canvas.setFont(font);
}

template <std::size_t N>
void WriteLabels(QPainter& canvas, const std::array<GraphLabel*, N>& labels, const std::vector<PrintedLabel>& places) {
  // The caller's pen and font stay as they were for what it prints next.
  canvas.save();
  PrepareCanvas(canvas);
  const int ascent = canvas.fontMetrics().ascent();
  for (const PrintedLabel& at : places)
    canvas.drawText(QPoint(at.x, at.y + ascent), labels[static_cast<std::size_t>(at.index)]->Text());
  canvas.restore();
}

}  // namespace

void TGraph_FFT::PrintFreqLabels(QPainter& canvas, float s, int left, int top, int right, int bottom) {
  SetFreqLabelTexts();
  if (!FreqRangeOf(fftSetting)) return;
  WriteLabels(canvas, freqLabels, PrintFreqLabelPlaces({left, top, right, bottom}, s, SizesOf(freqLabels), fftSetting));
}

void TGraph_FFT::PrintdBLabels(QPainter& canvas, float s, int left, int top, int right, int bottom) {
  SetDbLabelTexts();
  WriteLabels(canvas, dBLabels, PrintDbLabelPlaces({left, top, right, bottom}, s, SizesOf(dBLabels), fftSetting));
}

void TGraph_FFT::PrintVoltLabels(QPainter& canvas, float s, int left, int top, int right, int bottom) {
  SetWaveLabelTexts(TimeAxisEndMs());
  WriteLabels(canvas, waveLabels, PrintVoltLabelPlaces({left, top, right, bottom}, s, SizesOf(waveLabels)));
}

void TGraph_FFT::PrintTimeLabels(QPainter& canvas, float s, int left, int top, int right, int bottom) {
  SetWaveLabelTexts(TimeAxisEndMs());
  WriteLabels(canvas, waveLabels, PrintTimeLabelPlaces({left, top, right, bottom}, s, SizesOf(waveLabels)));
}
