// A data file the reader takes, for tests about what is done with its contents:
// `samples` codes at mid-scale (0 V) with this frequency step and these settings.
#pragma once

#include <algorithm>
#include <memory>
#include <string>

#include "files/Myfile.h"

inline WriteResult WriteFlatDataFile(TmyFile& file, const std::string& path, int samples, float deltaF,
                                     const FftSetting& fft = {}, SaveSetting save = {}) {
  constexpr std::int32_t kMidScale = 0x800000;
  const auto buffers = std::make_unique<MeasureBuffers>();
  MeasureData data;
  buffers->Bind(data);
  data.ad_dnum = samples;
  data.deltaF = deltaF;
  std::fill_n(data.adCode, samples, kMidScale);
  save.DataFileName = path;
  return file.SaveDataFile(kDataFileHeader, AdUnitSetting{}, data, fft, save);
}
