#include "app/Results.h"

#include "analysis/Analysis.h"
#include "app/ResultTexts.h"
#include "display/PeakReadout.h"
#include "model/UnitTables.h"

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
  }
  const PeakTexts peak = PeakTextsOf(data, r.peakBin, fft);
  r.peakTexts = {peak.volt, peak.dB, peak.hz};
  r.peakUnit = peak.unit;
  r.peakDbUnit = fft.fAbsoGraph == 1 ? "dBV" : "dB";

  const SignalStatistics stats = StatisticsOf(data, unit.Gain, fft.fSig_Volt == 1, state.codeDeviation);
  r.codeMax = stats.codeMax;
  r.codeMin = stats.codeMin;
  r.deviationDigits = state.codeDeviation;
  r.statsText = stats.text;
  r.start = state.saveSetting.StartDateTime;
  return r;
}
