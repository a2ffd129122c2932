#include <gtest/gtest.h>

#include <memory>

#include "model/Records.h"

namespace {

TEST(Records, Defaults) {
  const AdUnitSetting ad;
  EXPECT_EQ(ad.spsSel, 12);
  EXPECT_EQ(ad.GainSel, 5U);
  EXPECT_EQ(ad.Gain, 128);
  EXPECT_EQ(ad.vref, 2.5F);
  EXPECT_EQ(ad.sinc3 + ad.buf_on + ad.chop_on + ad.ch_sel, 0);
  const FftSetting f;
  EXPECT_EQ(f.fWaveGraph, 1);
  EXPECT_EQ(f.fDCCut_FFT, 1);
  EXPECT_EQ(f.fLogGraph, 1);
  EXPECT_EQ(f.fAbsoGraph, 1);
  EXPECT_EQ(f.index_FreqE, 14);
  EXPECT_EQ(f.index_dB_min, 10);
  EXPECT_EQ(f.PenColorGraph, 255);
  EXPECT_EQ(f.PenColorSubAxis, 12632256);
  EXPECT_EQ(f.DataCountMax, 1024 << f.DataCountSel);
  const SaveSetting s;
  EXPECT_EQ(s.fSaveDataFile, 0);
  EXPECT_TRUE(s.DataFileName.empty());
}

TEST(Records, CopiesAreIndependentAndMeasureDataNeverOwnsItsArrays) {
  FftSetting live;
  FftSetting copy = live;
  copy.whichWindowFunc = 3;
  EXPECT_EQ(live.whichWindowFunc, 1);
  EXPECT_NE(live, copy);

  auto buffers = std::make_unique<MeasureBuffers>();
  MeasureData a;
  EXPECT_FALSE(a.HasData());
  buffers->Bind(a);
  MeasureData b = a;  // a copy refers to the same arrays
  EXPECT_EQ(b.adCode, buffers->adCode);
  EXPECT_EQ(b.spectrum, buffers->spectrum);
}

}  // namespace
