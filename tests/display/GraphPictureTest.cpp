// The picture of the graphs drawn without widgets is what the window's widgets show:
// the same boxes, and labels sized and painted as QLabel sizes and paints them.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <cmath>

#include "QtTestApp.h"
#include "display/GraphHost.h"
#include "display/GraphPicture.h"

namespace {

// A record with its own arrays: a spectrum falling from its first line and a waveform
// swinging by `swing` codes around mid-scale.
struct Record {
  MeasureBuffers buffers;
  MeasureData data;
  Record(int samples, float level, int swing) {
    buffers.Bind(data);
    data.ad_dnum = samples;
    data.deltaF = 1.0F;
    data.spsSel = 12;
    for (int i = 1; i < samples / 2; ++i) data.spectrum[i] = level / std::sqrt(static_cast<float>(i));
    for (int i = 0; i < samples; ++i) {
      data.adCode[i] = 8388608 + (i % 7 - 3) * swing;
      data.volt[i] = static_cast<float>((i % 7 - 3) * swing) * 1e-6F;
    }
    data.voltMax = 3e-6F * static_cast<float>(swing);
    data.voltMin = -data.voltMax;
  }
};

TEST(GraphPicture, ShowsWhatTheWindowsWidgetsShow) {
  const struct {
    const char* what;
    bool wave, log, absolute, volts, withRef, withData;
  } rows[] = {
      {"both graphs, log, dBV, codes", true, true, true, false, false, true},
      {"spectrum alone, linear, relative", false, false, false, false, false, true},
      {"both graphs in volts with a reference", true, true, true, true, true, true},
      {"no records: the empty grids and the labels' defaults", true, true, true, false, false, false},
  };
  for (const auto& row : rows) {
    Record cur(4096, 0.01F, 400);
    Record ref(4096, 0.002F, 150);
    if (!row.withData) cur.data.ad_dnum = 0;
    if (!row.withRef) ref.data.ad_dnum = 0;
    const AdUnitSetting ad;
    FftSetting fft;
    fft.fWaveGraph = row.wave ? 1 : 0;
    fft.fLogGraph = row.log ? 1 : 0;
    fft.fAbsoGraph = row.absolute ? 1 : 0;
    fft.fSig_Volt = row.volts ? 1 : 0;

    GraphHost widgets(cur.data, ref.data, ad, fft);
    widgets.Redraw();
    GraphPicture picture(cur.data, ref.data, ad, fft);
    picture.Redraw();
    const QImage shown = widgets.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage drawn = picture.Image();
    ASSERT_EQ(drawn.size(), shown.size()) << row.what;
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x) differing += shown.pixel(x, y) != drawn.pixel(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0) << row.what;

    int labelsShown = 0;
    for (int i = 0; i < TGraph_FFT::kLabelCount; ++i) labelsShown += widgets.Label(i).isVisibleTo(&widgets) ? 1 : 0;
    EXPECT_GT(labelsShown, 10) << row.what << ": the comparison covers the labels";
  }
}

}  // namespace
