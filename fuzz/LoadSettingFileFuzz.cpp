// Arbitrary bytes as a settings file. The reader must not crash or leak; a failed load
// leaves the records as they were; a file that loads saves and loads again to the
// same records.
#include "files/Myfile.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFiles scratch;
  static SilentPrompter prompter(true);
  static UnsyncedFileCalls calls;
  const TmyFile file(prompter, calls);

  const FftSetting fftBefore;
  const SaveSetting saveBefore;
  const AdUnitSetting adBefore;
  FftSetting fft = fftBefore;
  SaveSetting save = saveBefore;
  AdUnitSetting ad = adBefore;
  if (!file.LoadSettingFile(scratch.Input(data, size), kSettingFileHeader, fft, save, ad)) {
    FUZZ_CHECK(fft == fftBefore && save == saveBefore && ad == adBefore);
    return 0;
  }
  FUZZ_CHECK(fft.index_FreqS < fft.index_FreqE);

  const auto copy = scratch / "copy.prf";
  FUZZ_CHECK(file.SaveSettingFile(copy, kSettingFileHeader, fft, save, ad));
  FftSetting fftAgain;
  SaveSetting saveAgain;
  AdUnitSetting adAgain;
  FUZZ_CHECK(file.LoadSettingFile(copy, kSettingFileHeader, fftAgain, saveAgain, adAgain));
  FUZZ_CHECK(fftAgain == fft && saveAgain == save && adAgain == ad);
  return 0;
}
