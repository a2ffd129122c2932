// Arbitrary bytes as a measurement data file. The reader must not crash, leak or write
// outside the sample arrays; a file that loads holds 1024 to 65536 samples and a
// positive step, and saves and loads again to the same samples and settings.
#include <bit>
#include <cmath>
#include <memory>

#include "files/Myfile.h"
#include "fuzz/FuzzSupport.h"

namespace {

struct Loaded {
  Loaded() { Reset(); }
  // Empty records over the same arrays.
  void Reset() {
    data = MeasureData();
    buffers->Bind(data);
    fft = {};
    save = {};
    ad = {};
  }
  std::unique_ptr<MeasureBuffers> buffers = std::make_unique<MeasureBuffers>();
  MeasureData data;
  FftSetting fft;
  SaveSetting save;
  AdUnitSetting ad;
};

bool SameSamples(const MeasureData& a, const MeasureData& b) {
  if (a.ad_dnum != b.ad_dnum || std::bit_cast<std::uint32_t>(a.deltaF) != std::bit_cast<std::uint32_t>(b.deltaF)) {
    return false;
  }
  for (int i = 0; i < a.ad_dnum; ++i) {
    if (a.adCode[i] != b.adCode[i] || a.volt[i] != b.volt[i]) return false;  // 0 and -0 both come back as 0
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFiles scratch;
  static SilentPrompter prompter(true);
  static UnsyncedFileCalls calls;
  static Loaded first;
  static Loaded again;
  const TmyFile file(prompter, calls);

  first.Reset();
  if (!file.LoadDataFile(scratch.Input(data, size), kDataFileHeader, first.data, first.fft, first.save, first.ad)) {
    return 0;
  }
  FUZZ_CHECK(first.data.ad_dnum >= 1024 && first.data.ad_dnum <= kMaxSamples);
  FUZZ_CHECK(first.data.deltaF > 0.0F && std::isfinite(first.data.deltaF));

  first.save.DataFileName = (scratch / "copy.DTA").string();
  FUZZ_CHECK(file.SaveDataFile(kDataFileHeader, first.ad, first.data, first.fft, first.save) == WriteResult::Written);
  again.Reset();
  FUZZ_CHECK(file.LoadDataFile(first.save.DataFileName, kDataFileHeader, again.data, again.fft, again.save, again.ad));
  FUZZ_CHECK(SameSamples(first.data, again.data));
  FUZZ_CHECK(again.fft == first.fft && again.save == first.save && again.ad == first.ad);
  return 0;
}
