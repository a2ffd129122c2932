#include "display/WaveSoFar.h"

#include <algorithm>

#include "analysis/Analysis.h"

WaveSoFar::WaveSoFar() : codes_(kSampleCapacity), volts_(kSampleCapacity) {
  record_.adCode = codes_.data();
  record_.volt = volts_.data();
}

const MeasureData& WaveSoFar::Take(const std::int32_t* codes, int received, const AdUnitSetting& setting) {
  const int n = codes == nullptr ? 0 : std::clamp(received, 0, kSampleCapacity);
  std::copy(codes, codes + n, codes_.begin());
  record_.ad_dnum = n;
  record_.spsSel = static_cast<std::uint32_t>(setting.spsSel);
  record_.sinc3 = setting.sinc3;
  CodeToVolt(record_, setting);
  return record_;
}
