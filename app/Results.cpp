#include "app/Results.h"

#include <cmath>

#include "analysis/Analysis.h"
#include "app/ResultTexts.h"
#include "display/GraphGeometry.h"
#include "display/PeakReadout.h"
#include "model/UnitTables.h"

namespace {
constexpr double kDecibelsPerDecade = 20.0;  // of an amplitude
}  // namespace

MeasurementResults ResultsOf(const SessionState& state) {
  const MeasureData& data = state.curData;
  const AdUnitSetting& unit = state.measAdSetting;
  const FftSetting& fft = state.fftSetting;
  MeasurementResults r;
  r.unitInfo = state.unitInfo;
  const int spsSel = static_cast<int>(data.spsSel);
  r.samples = data.ad_dnum;
  r.rateSps = SamplesPerSecond(spsSel);
  r.rateText = RateText(spsSel);
  r.gain = unit.Gain;
  r.channel = unit.ch_sel;
  r.sinc3 = unit.sinc3 == 1;
  r.buffer = unit.buf_on == 1;
  r.chop = unit.chop_on == 1;
  r.window = fft.whichWindowFunc;
  r.correction = fft.fWinFuncAdjust == 1;
  r.dcCut = fft.fDCCut_FFT == 1;
  r.absolute = fft.fAbsoGraph == 1;
  r.logAxis = fft.fLogGraph == 1;
  r.deltaF = data.deltaF;
  r.freqInfo = FreqInfoText(data, spsSel, fft);

  r.rmsVolts = SignalRms(data);
  const ScaledText rms = RmsReadout(r.rmsVolts);
  r.rmsText = rms.number;
  r.rmsUnit = rms.unit;

  r.peakBin = FindPeakBin(data);
  if (BinInSpectrum(data, r.peakBin)) {
    r.peakHz = static_cast<double>(r.peakBin) * data.deltaF;
    r.peakVolts = data.spectrum[r.peakBin];
    r.peakDb = DisplayDbOfBin(data, r.peakBin, fft);
    r.peakDbv = kDecibelsPerDecade * std::log10(static_cast<double>(r.peakVolts));
  }
  const PeakTexts peak = PeakTextsOf(data, r.peakBin, fft);
  r.peakTexts = {peak.volt, peak.dB, peak.hz};
  r.peakUnit = peak.unit;
  r.peakDbUnit = fft.fAbsoGraph == 1 ? "dBV" : "dB";

  const SignalStatistics stats = StatisticsOf(data, unit.Gain, fft.fSig_Volt == 1, state.codeDeviation);
  r.codeMax = stats.codeMax;
  r.codeMin = stats.codeMin;
  r.codeMean = CodeMean(data);
  r.deviationDigits = state.codeDeviation;
  constexpr double kVoltsPerMicrovolt = 1e-6;
  r.maxVolts = CodeToMicrovolt(r.codeMax, unit.Gain) * kVoltsPerMicrovolt;
  r.minVolts = CodeToMicrovolt(r.codeMin, unit.Gain) * kVoltsPerMicrovolt;
  r.meanVolts = CodeToMicrovolt(r.codeMean, unit.Gain) * kVoltsPerMicrovolt;
  r.ppVolts = CodeSpanToMicrovolt(static_cast<double>(r.codeMax) - r.codeMin, unit.Gain) * kVoltsPerMicrovolt;
  r.deviationVolts = CodeSpanToMicrovolt(state.codeDeviation, unit.Gain) * kVoltsPerMicrovolt;
  r.statsText = stats.text;
  r.start = state.saveSetting.StartDateTime;
  return r;
}
