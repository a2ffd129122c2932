// The records that carry settings and measurements between the subsystems.
// Field names are also the keys of the settings file, so they keep that spelling.
#pragma once

#include <cstdint>
#include <string>

// Largest number of samples of a measurement, and the capacities the owner of a
// MeasureData reserves for its arrays (all arrays are sized once for the largest record).
inline constexpr int kMaxSamples = 65536;
inline constexpr int kSampleCapacity = 66000;
inline constexpr int kSpectrumCapacity = 33000;

// Colours are 0x00BBGGRR values.
inline constexpr std::int32_t kColorRed = 255;
inline constexpr std::int32_t kColorGrey = 8421504;
inline constexpr std::int32_t kColorSilver = 12632256;

// The converter settings.
struct AdUnitSetting {
  std::int32_t spsSel = 12;   // data-rate index 0..12 (12 = 4800 samples per second)
  std::uint32_t GainSel = 5;  // gain index 0..5
  std::int32_t Gain = 128;    // gain value of GainSel
  std::uint32_t vrefSel = 0;  // always 0
  float vref = 2.5F;          // reference voltage in volts, always 2.5
  std::uint8_t sinc3 = 0;     // 1 = Sinc3 filter, 0 = Sinc4
  std::uint8_t buf_on = 0;    // 1 = input buffer on
  std::uint8_t chop_on = 0;   // 1 = chopping on
  std::int32_t ch_sel = 0;    // input channel 0 or 1

  friend bool operator==(const AdUnitSetting&, const AdUnitSetting&) = default;
};

// The measurement and display settings.
struct FftSetting {
  std::uint8_t fWaveGraph = 1;       // show the waveform graph above the spectrum
  std::uint8_t fSig_Volt = 0;        // signal in volts (1) or converter codes (0)
  std::uint8_t fWinFuncAdjust = 0;   // correct the window's attenuation
  std::uint8_t fDCCut_FFT = 1;       // remove the mean before the FFT
  std::uint8_t fDCCut_SigGraph = 0;  // waveform shows the AC part only
  std::uint8_t fLogGraph = 1;        // logarithmic (1) or linear (0) frequency axis
  std::uint8_t fAbsoGraph = 1;       // absolute dBV (1) or relative dB (0)
  std::int32_t index_FreqS = 0;      // frequency index 0..14 of the range start
  std::int32_t index_FreqE = 14;     // frequency index of the range end
  std::int32_t index_dB_max = 2;     // dB index of the top (k stands for 20 - 10k dB)
  std::int32_t index_dB_min = 10;    // dB index of the bottom, 3..20
  std::int32_t whichWindowFunc = 1;  // 0 rectangle, 1 Hanning, 2 Hamming, 3 flat top
  std::int32_t PenColorGraph = kColorRed;
  std::int32_t PenColorMainAxis = kColorGrey;
  std::int32_t PenColorSubAxis = kColorSilver;
  std::int32_t PenColorRefGraph = kColorGrey;
  std::int32_t DataCountSel = 6;      // number-of-samples selection 0..6
  std::int32_t DataCountMax = 65536;  // 1024 << DataCountSel

  friend bool operator==(const FftSetting&, const FftSetting&) = default;
};

// The automatic-save settings. Texts are kept as the exact bytes read.
struct SaveSetting {
  std::uint8_t fSaveDataFile = 0;  // save every finished measurement to DataFileName
  std::string DataFileName;        // full path of the data file
  std::string StartDateTime;       // when the last measurement started, stored verbatim

  friend bool operator==(const SaveSetting&, const SaveSetting&) = default;
};

// One measurement. The arrays belong to the record's owner, which binds them once
// (capacities above); the record never allocates or frees them.
struct MeasureData {
  std::uint32_t spsSel = 0;        // data-rate index the samples were taken with
  std::uint8_t sinc3 = 0;          // 1 when the Sinc3 filter was used
  std::int32_t ad_dnum = 0;        // number of samples held; 0 = no data
  std::int32_t* adCode = nullptr;  // converter codes, offset binary, 0x800000 = 0 V
  float* volt = nullptr;           // each sample in volts
  float voltMax = 0.0F;            // largest sample in volts
  float voltMin = 0.0F;            // smallest sample in volts
  float voltMean = 0.0F;           // mean of the samples in volts
  float deltaF = 0.0F;             // frequency step of the spectrum in Hz
  float* spectrum = nullptr;       // ad_dnum/2 lines: [0] |DC| in volts, [k] RMS volts at k*deltaF

  bool HasData() const { return ad_dnum > 0; }
};

// How a measurement's spectrum was made when it folds several acquisitions together
// (a measurement of one acquisition: None).
enum class SpectrumAveraging : std::uint8_t { None, Rms, PeakHold, Exponential };
struct SpectrumAverage {
  SpectrumAveraging kind = SpectrumAveraging::None;
  int spectra = 1;  // acquisitions folded in
  int depth = 0;    // Exponential: how many of the last spectra it averages over
  int planned = 0;  // the acquisitions asked for, when a stop may have cut them short; else 0
  friend bool operator==(const SpectrumAverage&, const SpectrumAverage&) = default;
};

// Arrays sized for the largest measurement, bound once to a MeasureData.
struct MeasureBuffers {
  std::int32_t adCode[kSampleCapacity] = {};
  float volt[kSampleCapacity] = {};
  float spectrum[kSpectrumCapacity] = {};

  void Bind(MeasureData& data) {
    data.adCode = adCode;
    data.volt = volt;
    data.spectrum = spectrum;
  }
};
