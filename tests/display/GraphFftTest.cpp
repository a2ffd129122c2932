// The graph drawn into its bitmaps and placed in the headless host, offscreen.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "QtTestApp.h"
#include "display/GraphHost.h"
#include "display/Graph_fft.h"
#include "display/PaintBox.h"
#include "display/PeakReadout.h"
#include "model/UnitTables.h"
#include "ui/UiFont.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kRed = 0xFF0000;  // the default curve pen 255 (0x00BBGGRR) as 0xRRGGBB

QRgb Rgb(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

// A record with its own arrays: a flat spectrum at `level` volts, one optional peak bin,
// and a constant waveform.
struct Record {
  MeasureBuffers buffers;
  MeasureData data;
  Record(int samples, float deltaF, float level, int spsSel = 12) {
    buffers.Bind(data);
    data.ad_dnum = samples;
    data.deltaF = deltaF;
    data.spsSel = static_cast<std::uint32_t>(spsSel);
    for (int i = 0; i < samples / 2; ++i) data.spectrum[i] = level;
    for (int i = 0; i < samples; ++i) {
      data.volt[i] = 0.25F;
      data.adCode[i] = 8400000;
    }
    data.voltMax = data.voltMin = data.voltMean = 0.25F;
  }
};

class GraphFftTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fft.index_dB_max = 2;  // 0 … -80 dBV
    fft.index_dB_min = 10;
  }
  GraphHost& Host() {
    if (!host) host = std::make_unique<GraphHost>(cur.data, ref.data, ad, fft);
    return *host;
  }
  QImage SpectrumBitmap() { return Host().Graph().SpecBitmap(); }

  AdUnitSetting ad;
  FftSetting fft;
  Record cur{4096, 1.0F, 0.01F};  // -40 dBV
  Record ref{4096, 1.0F, 0.0F};
  std::unique_ptr<GraphHost> host;
};

TEST_F(GraphFftTest, LayoutAtTheSmallestWindow) {
  Host().Redraw();
  EXPECT_EQ(Host().SpecBox().geometry(), QRect(56, 224, 624, 183));
  EXPECT_EQ(Host().WaveBox().geometry(), QRect(56, 16, 624, 183));
  EXPECT_EQ(SpectrumBitmap().size(), QSize(622, 181));
  EXPECT_EQ(Host().Graph().WaveBitmap().size(), QSize(622, 181));
  EXPECT_TRUE(Host().WaveBox().isVisibleTo(&Host()));
  EXPECT_EQ(Host().Label(0).x(), 56) << "first frequency label at the box's left edge";
  EXPECT_EQ(Host().Label(kFreqCount + 2).text(), "0dBV");

  fft.fWaveGraph = 0;
  Host().Redraw();
  EXPECT_EQ(Host().SpecBox().geometry(), QRect(56, 16, 624, 392));
  EXPECT_FALSE(Host().WaveBox().isVisibleTo(&Host()));
  EXPECT_FALSE(Host().Label(kFreqCount + kDbLevelCount).isVisibleTo(&Host()));
}

TEST_F(GraphFftTest, LabelsWithoutRecords) {
  cur.data.ad_dnum = 0;
  ref.data.ad_dnum = 0;
  Host().Redraw();
  const int wave = kFreqCount + kDbLevelCount;
  EXPECT_EQ(Host().Label(wave + kVoltMax).text(), "8388660");
  EXPECT_EQ(Host().Label(wave + kVoltZero).text(), "8388610");
  EXPECT_EQ(Host().Label(wave + kVoltMin).text(), "8388560");
  EXPECT_EQ(Host().Label(wave + kVoltUnit).text(), "[digit]");
  EXPECT_EQ(Host().Label(wave + kTimeE).text(), "13.653s") << "converter rate over DataCountMax samples";
  EXPECT_EQ(Host().Label(0).text(), "0.1Hz");
  EXPECT_EQ(Host().Label(kFreqCount + 10).text(), "-80dBV");
}

TEST_F(GraphFftTest, LabelsFollowTheirRulesWithTheMachinesFont) {
  // Code display with eight-digit codes (and an eleven-digit one a file may hold),
  // levels +20 … -180 dBV: the worked example's label counts, and no label off the picture.
  fft.fSig_Volt = 0;
  fft.index_dB_max = 0;
  fft.index_dB_min = 20;
  std::fill_n(cur.data.adCode, 4096, 11286636);
  cur.data.adCode[7] = 10000000;
  ref.data.ad_dnum = 0;
  const int wave = kFreqCount + kDbLevelCount;
  const struct {
    bool waveShown;
    int boxHeight;
    int stride;  // every dB label, or every second
  } rows[] = {{false, 392, 1}, {true, 183, 2}};
  for (const std::int32_t lowest : {10000000, std::numeric_limits<std::int32_t>::min()}) {
    cur.data.adCode[7] = lowest;
    for (const auto& row : rows) {
      fft.fWaveGraph = row.waveShown ? 1 : 0;
      host.reset();
      Host().Redraw();
      ASSERT_EQ(Host().SpecBox().height(), row.boxHeight);
      for (int i = 0; i < kDbLevelCount; ++i) {
        EXPECT_EQ(Host().Label(kFreqCount + i).isVisibleTo(&Host()), i % row.stride == 0)
            << "dB label " << i << " in a box " << row.boxHeight << " high";
      }
      EXPECT_EQ(Host().Label(kFreqCount + 20).text(), "-180dBV");
      if (row.waveShown) {
        EXPECT_EQ(Host().Label(wave + kVoltMax).text(), "11286636");
      }
      for (int i = 0; i < TGraph_FFT::kLabelCount; ++i) {
        const QLabel& label = Host().Label(i);
        if (!label.isVisibleTo(&Host())) continue;
        EXPECT_EQ(label.height(), UiFont().pixelSize()) << label.text().toStdString();
        EXPECT_TRUE(Host().rect().contains(label.geometry()))
            << label.text().toStdString() << " at " << label.x() << "," << label.y() << " " << label.width() << "x"
            << label.height();
      }
    }
  }
}

TEST_F(GraphFftTest, BoxShowsTheBitmapInABlackFrame) {
  Host().Redraw();
  const QImage box = Host().SpecBox().grab().toImage();
  EXPECT_EQ(Rgb(box, 0, 0), 0u);
  EXPECT_EQ(Rgb(box, 623, 182), 0u);
  const QImage spectrumImage = SpectrumBitmap();
  EXPECT_EQ(Rgb(box, 300, 1), Rgb(spectrumImage, 299, 0));
  EXPECT_EQ(Rgb(box, 101, 100), Rgb(spectrumImage, 100, 99));
}

TEST_F(GraphFftTest, LogGridColours) {
  Host().Redraw();
  const auto scale = SpectrumScale::Of(fft, 622, 181);
  const QImage spectrumImage = SpectrumBitmap();
  EXPECT_EQ(Rgb(spectrumImage, scale->X(10.0F), 5), 0x808080u) << "10 Hz in the main-axis colour";
  EXPECT_EQ(Rgb(spectrumImage, scale->X(20.0F), 5), 0xC0C0C0u) << "20 Hz in the sub-axis colour";
}

TEST_F(GraphFftTest, OverlayMaskOnLogScale) {
  for (int i = 0; i < 2048; ++i) ref.data.spectrum[i] = 5.6234e-4F;  // about -65 dBV
  Host().Redraw();
  const auto scale = SpectrumScale::Of(fft, 622, 181);
  const int x = 150;  // between bin 1 (1 Hz) and bin 2, clear of grid lines
  EXPECT_EQ(Rgb(SpectrumBitmap(), x, scale->Y(20.0F * std::log10(5.6234e-4F))), 0x808080u);
  EXPECT_EQ(Rgb(SpectrumBitmap(), x, scale->Y(-40.0F)), kRed) << "current curve in red";
}

TEST_F(GraphFftTest, OverlayXorOnLinearScale) {
  fft.fLogGraph = 0;
  for (int i = 0; i < 2048; ++i) ref.data.spectrum[i] = 5.6234e-4F;
  Host().Redraw();
  const auto scale = SpectrumScale::Of(fft, 622, 181);
  EXPECT_EQ(Rgb(SpectrumBitmap(), 20, scale->Y(20.0F * std::log10(5.6234e-4F))), 0x7F7F7Fu);
}

TEST_F(GraphFftTest, XorCurveHasNoHolesAtSharedVertices) {
  fft.fLogGraph = 0;
  ref.data.deltaF = cur.data.deltaF = 24.0F;  // about 6 pixels per bin
  const float high = std::pow(10.0F, -55.0F / 20.0F), low = std::pow(10.0F, -65.0F / 20.0F);
  for (int i = 1; i < 2048; ++i) ref.data.spectrum[i] = (i % 2) ? high : low;
  Host().Redraw();
  const auto scale = SpectrumScale::Of(fft, 622, 181);
  const auto grid = SpectrumGridOf(*scale);
  int checked = 0;
  for (int j = 1; j < 100; ++j) {
    const int x = scale->X(static_cast<float>(j) * 24.0F);
    const bool onGrid = std::any_of(grid.vLines.begin(), grid.vLines.end(), [x](GridLine l) { return l.pos == x; });
    if (onGrid) continue;
    const int y = scale->Y(20.0F * std::log10(ref.data.spectrum[j]));
    EXPECT_EQ(Rgb(SpectrumBitmap(), x, y), 0x7F7F7Fu) << "vertex of bin " << j << " drawn once";
    ++checked;
  }
  EXPECT_GT(checked, 80);
}

TEST_F(GraphFftTest, PrintedXorCurveChangesEachPixelOnce) {
  // The wide print pen strokes the segments one by one; where their ends overlap an
  // xor would cancel itself out.
  fft.fLogGraph = 0;
  for (int i = 0; i < 2048; ++i) ref.data.spectrum[i] = 5.6234e-4F;
  Host().Redraw();
  QImage page(2000, 1000, QImage::Format_RGB32);
  Host().Graph().PrintSpectrum(page);
  const auto scale = SpectrumScale::Of(fft, page.width(), page.height());
  const int y = scale->Y(20.0F * std::log10(5.6234e-4F));
  int holes = 0;
  const int end = scale->X(2047.0F);  // the last bin at 1 Hz per bin
  for (int x = 3; x < end - 3; ++x) holes += Rgb(page, x, y) == kWhite ? 1 : 0;
  EXPECT_EQ(holes, 0);
  EXPECT_EQ(Rgb(page, 20, y), 0x7F7F7Fu);
  EXPECT_EQ(Rgb(page, 20, y + 2), 0x7F7F7Fu) << "five pixels wide";
}

TEST_F(GraphFftTest, RelativeDisplayPutsTheHighestBinAtZero) {
  fft.fAbsoGraph = 0;
  cur.data.spectrum[10] = 0.5F;
  ref.data.ad_dnum = 0;
  Host().Redraw();
  EXPECT_EQ(Host().Graph().DisplayDbAt(10), 0.0F);
  const auto scale = SpectrumScale::Of(fft, 622, 181);
  EXPECT_EQ(Rgb(SpectrumBitmap(), scale->X(10.0F), 0), kRed);
}

TEST_F(GraphFftTest, InvalidRangesDrawWhiteAndKeepLabels) {
  Host().Redraw();
  const QString before = Host().Label(kFreqCount + 2).text();
  fft.index_dB_max = fft.index_dB_min = 6;  // from a damaged settings file
  fft.index_FreqS = 14;
  Host().Redraw();
  const QImage spectrumImage = SpectrumBitmap();
  for (int y = 0; y < spectrumImage.height(); y += 7)
    for (int x = 0; x < spectrumImage.width(); x += 7) ASSERT_EQ(Rgb(spectrumImage, x, y), kWhite) << x << "," << y;
  EXPECT_EQ(Host().Label(kFreqCount + 2).text(), before);
}

TEST_F(GraphFftTest, FlatWaveformAtHalfHeight) {
  fft.fSig_Volt = 1;
  ref.data.ad_dnum = 0;
  Host().Redraw();
  const QImage wave = Host().Graph().WaveBitmap();
  EXPECT_EQ(Host().Graph().WaveSpan(), 0.0F);
  EXPECT_EQ(Rgb(wave, 10, 90), kRed);
  EXPECT_EQ(Rgb(wave, 10, 89), kWhite);
}

TEST_F(GraphFftTest, WaveformsAlignedByTime) {
  // Current: 1024 samples at 10 sps (102.4 s); reference: 1024 at 20 sps (51.2 s).
  Record current(1024, 0.01F, 0.01F, 1);
  Record reference(1024, 0.02F, 0.01F, 2);
  for (int i = 0; i < 1024; ++i) {
    current.data.volt[i] = (i % 2) ? 1.0F : -1.0F;
    reference.data.volt[i] = 0.5F;
  }
  current.data.voltMax = 1.0F;
  current.data.voltMin = -1.0F;
  current.data.voltMean = 0.0F;
  reference.data.voltMax = reference.data.voltMin = reference.data.voltMean = 0.5F;
  fft.fSig_Volt = 1;
  GraphHost both(current.data, reference.data, ad, fft);
  both.Redraw();
  const QImage wave = both.Graph().WaveBitmap();
  EXPECT_FLOAT_EQ(both.Graph().WaveTime(), 102400.0F);
  const int y = WaveScaleOf(VoltRange{1.0F, -1.0F}).Y(0.5F, 0.0F, 181);
  EXPECT_EQ(Rgb(wave, 100, y), 0x808080u & kRed) << "reference masked over the red current curve";
  EXPECT_EQ(Rgb(wave, 400, y), kRed) << "the reference ends at half the width";
  EXPECT_EQ(both.Label(kFreqCount + kDbLevelCount + kTimeE).text(), "102.400s");
  EXPECT_EQ(both.Label(kFreqCount + kDbLevelCount + kVoltUnit).text(), "[V]");
}

TEST_F(GraphFftTest, PrintedWaveformGrid) {
  ref.data.ad_dnum = 0;
  for (int i = 0; i < 4096; ++i) cur.data.adCode[i] = i < 2048 ? 8400100 : 8399900;  // at 1/6, then 5/6
  Host().Redraw();
  QImage page(600, 600, QImage::Format_RGB32);
  Host().Graph().PrintWave(page);
  const int x = 45;  // between the time lines at 30 and 60
  EXPECT_EQ(Rgb(page, x, 300), 0x808080u) << "centre line in the main-axis colour";
  EXPECT_EQ(Rgb(page, x, 301), kWhite) << "drawn before the print width is taken: one pixel";
  EXPECT_EQ(Rgb(page, x, 299), kWhite);
  EXPECT_EQ(Rgb(page, x, 262), 0xC0C0C0u) << "the other amplitude lines five pixels wide";
  EXPECT_EQ(Rgb(page, x, 258), 0xC0C0C0u);
  int timeLineWidth = 0;
  for (int column = 20; column < 40; ++column) timeLineWidth += Rgb(page, column, 200) == 0xC0C0C0u ? 1 : 0;
  EXPECT_EQ(timeLineWidth, 5) << "time lines five pixels wide";
  EXPECT_EQ(Rgb(page, x, 102), kRed) << "curve five pixels wide";
}

TEST_F(GraphFftTest, PeakReadout) {
  cur.data.spectrum[7] = 0.5F;
  cur.data.spectrum[9] = 0.5F;
  ref.data.ad_dnum = 0;
  Host().Redraw();
  QLineEdit volt, dB, hz;
  QLabel unit;
  PeakFields fields{&volt, &dB, &hz, ""};
  TGraph_FFT& graph = Host().Graph();
  graph.ShowPeak(cur.data, fields, unit);
  EXPECT_EQ(graph.PeakBin(), 7) << "equal peaks: the lower one";
  EXPECT_EQ(volt.text(), "500.000");
  EXPECT_EQ(unit.text(), "mVrms");
  EXPECT_EQ(fields.unit, "mVrms");
  EXPECT_EQ(dB.text(), "-6.02");
  EXPECT_EQ(hz.text(), "7.000");
  graph.PeakForward(cur.data, fields, unit);
  EXPECT_EQ(hz.text(), "8.000");
  EXPECT_EQ(unit.text(), "mVrms") << "0.01 V is 10 mVrms";
  graph.ShowBin(1, fields, unit);
  graph.PeakBack(cur.data, fields, unit);
  EXPECT_EQ(graph.ReadoutBin(), 1) << "nothing below bin 1";
  graph.ShowBin(2047, fields, unit);
  graph.PeakForward(cur.data, fields, unit);
  EXPECT_EQ(graph.ReadoutBin(), 2047) << "nothing beyond the last bin";
  for (int bin : {-1, 0, 2048, 1 << 30}) {
    graph.ShowBin(bin, fields, unit);
    EXPECT_EQ(volt.text(), "---") << bin;
    EXPECT_EQ(dB.text(), "---");
    EXPECT_EQ(hz.text(), "---");
  }
  EXPECT_EQ(graph.BinAtX(624, 0), 0) << "0.1 Hz at 1 Hz per bin";
}

TEST_F(GraphFftTest, PeakBackStopsOnlyAtBinOne) {
  ref.data.ad_dnum = 0;
  Host().Redraw();
  QLineEdit volt, dB, hz;
  QLabel unit;
  PeakFields fields{&volt, &dB, &hz, ""};
  TGraph_FFT& graph = Host().Graph();
  graph.ShowBin(0, fields, unit);  // a press left of the lowest bin
  graph.PeakBack(cur.data, fields, unit);
  EXPECT_EQ(graph.ReadoutBin(), -1) << "below bin 1 the readout still steps down";
  EXPECT_EQ(hz.text(), "---");
  graph.PeakForward(cur.data, fields, unit);
  graph.PeakForward(cur.data, fields, unit);
  EXPECT_EQ(graph.ReadoutBin(), 1);
  EXPECT_EQ(hz.text(), "1.000");
  graph.ShowBin(std::numeric_limits<int>::min(), fields, unit);
  graph.PeakBack(cur.data, fields, unit);
  EXPECT_EQ(graph.ReadoutBin(), std::numeric_limits<int>::min()) << "no step below the lowest int";
}

TEST_F(GraphFftTest, CodeRangeAndMicrovolts) {
  TGraph_FFT& graph = Host().Graph();
  cur.data.adCode[3] = 8400100;
  cur.data.adCode[4] = 8399000;
  EXPECT_EQ(graph.CodeMax(), 8400100);
  EXPECT_EQ(graph.CodeMin(), 8399000);
  EXPECT_NEAR(graph.CodeSpanToMicrovolt(1), 0.00233, 0.00001) << "gain 128";
}

TEST_F(GraphFftTest, PrintedLabelsLandOnTheCanvas) {
  Host().Redraw();
  QImage page(2000, 1500, QImage::Format_RGB32);
  page.fill(Qt::white);
  QPainter canvas(&page);
  Host().Graph().PrintTimeLabels(canvas, 2.0F, 200, 100, 1800, 700);
  canvas.end();
  bool inked = false;
  for (int y = 704; y < 740 && !inked; ++y)
    for (int x = 200; x < 230 && !inked; ++x) inked = Rgb(page, x, y) != kWhite;
  EXPECT_TRUE(inked) << "\"0\" below the left end of the printed waveform";
}

TEST_F(GraphFftTest, RendersAPng) {
  const auto bytes = RenderGraphsPng(cur.data, &ref.data, ad, fft);
  ASSERT_TRUE(bytes);
  const QImage png = QImage::fromData(QByteArray::fromStdString(*bytes), "PNG");
  EXPECT_EQ(png.size(), QSize(GraphHost::kCentralWidth, GraphHost::kCentralHeight));
  EXPECT_EQ(Rgb(png, 56, 224), 0u) << "the spectrum box's frame";
}

}  // namespace

namespace {

// The rightmost column of a bitmap that holds the curve's colour, or -1.
int LastCurveColumn(const QImage& image) {
  for (int x = image.width() - 1; x >= 0; --x)
    for (int y = 0; y < image.height(); ++y)
      if (Rgb(image, x, y) == kRed) return x;
  return -1;
}

}  // namespace

TEST_F(GraphFftTest, WaveformSoFarGrowsOnTheWholeMeasurementsAxisAndLeavesTheHeldRanges) {
  // An acquisition of 1024 at 4800 per second a quarter in: the current record is still
  // empty, its first 256 codes are the samples so far.
  cur.data.ad_dnum = 0;
  ref.data.ad_dnum = 0;
  Host().Redraw();
  const auto valueLabel = [&](int which) { return Host().Label(kFreqCount + kDbLevelCount + which).text(); };
  const QString heldMax = valueLabel(kVoltMax);
  Record soFar(256, 0.0F, 0.0F);
  for (int i = 0; i < 256; ++i) soFar.data.adCode[i] = 8388608 + (i % 2 ? 300 : -300);
  Host().Graph().DrawWaveSoFar(soFar.data, 1024);
  const QImage wave = Host().Graph().WaveBitmap();
  EXPECT_EQ(LastCurveColumn(wave), WaveSampleX(wave.width(), 255, 1024)) << "a quarter of the width";
  EXPECT_FLOAT_EQ(Host().Graph().WaveTime(), SamplePeriodMs(12) * 1024.0F) << "the time lines of the whole record";
  EXPECT_EQ(valueLabel(kTimeE).toStdString(), FormatTime(SamplePeriodMs(12) * 1024.0F));
  EXPECT_EQ(valueLabel(kVoltMax).toStdString(), CodeLabelTexts({8388908, 8388308}).max) << "the samples' range";
  EXPECT_EQ(Host().WaveBox().Canvas().pixel(1 + 10, 1 + WaveScaleOf(CodeRange{8388908, 8388308}).Y(8388908, 0, 181)),
            wave.pixel(10, WaveScaleOf(CodeRange{8388908, 8388308}).Y(8388908, 0, 181)))
      << "copied to the box";
  Host().Graph().UpdateLabels();
  EXPECT_EQ(valueLabel(kVoltMax), heldMax) << "the records' ranges were left as they were";
  // With volts chosen, the curve takes the volts of the samples so far.
  fft.fSig_Volt = 1;
  soFar.data.voltMax = 0.5F;
  soFar.data.voltMin = -0.5F;
  soFar.data.voltMean = 0.0F;
  Host().Graph().DrawWaveSoFar(soFar.data, 1024);
  EXPECT_EQ(valueLabel(kVoltUnit).toStdString(), VoltLabelTexts({0.5F, -0.5F}).unit);
  EXPECT_EQ(valueLabel(kVoltMax).toStdString(), VoltLabelTexts({0.5F, -0.5F}).max);
}

TEST_F(GraphFftTest, WaveformSoFarDrawnOnGivesTheSamePixelsAsDrawnAnew) {
  cur.data.ad_dnum = 0;
  ref.data.ad_dnum = 0;
  // A zigzag whose extremes come in every six samples, so the range is that of the
  // first samples; from sample 600 on a larger swing widens it.
  constexpr std::array<int, 6> kSteps{0, 300, -120, 250, -300, 80};
  Record soFar(1024, 0.0F, 0.0F);
  for (int i = 0; i < 1024; ++i) soFar.data.adCode[i] = 8388608 + kSteps[i % 6] * (i < 600 ? 1 : 2);
  const auto drawnAnew = [&](int received) {
    GraphHost fresh(cur.data, ref.data, ad, fft);
    fresh.Redraw();
    soFar.data.ad_dnum = received;
    fresh.Graph().DrawWaveSoFar(soFar.data, 1024);
    return std::pair(fresh.Graph().WaveBitmap().copy(),
                     fresh.Label(kFreqCount + kDbLevelCount + kVoltMax).text());
  };
  Host().Redraw();
  for (const int received : {60, 61, 300, 599, 700, 1000}) {  // 700: the range grew
    soFar.data.ad_dnum = received;
    Host().Graph().DrawWaveSoFar(soFar.data, 1024);
    const auto [bitmap, maxLabel] = drawnAnew(received);
    EXPECT_EQ(Host().Graph().WaveBitmap(), bitmap) << received;
    EXPECT_EQ(Host().Label(kFreqCount + kDbLevelCount + kVoltMax).text(), maxLabel) << received;
  }
}
