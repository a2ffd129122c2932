#include "cli/Report.h"

#include "model/UnitTables.h"
#include "analysis/Analysis.h"
#include "app/ResultTexts.h"
#include "cli/Json.h"
#include "display/PeakReadout.h"
#include "ui/NumberFormat.h"

MeasurementReport BuildReport(const MeasureData& data, const AdUnitSetting& unit, const FftSetting& fft,
                              const SaveSetting& save, float deviationDigits) {
  MeasurementReport r;
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

  const SignalStatistics stats = StatisticsOf(data, unit.Gain, fft.fSig_Volt == 1, deviationDigits);
  r.codeMax = stats.codeMax;
  r.codeMin = stats.codeMin;
  r.deviationDigits = deviationDigits;
  r.statsText = stats.text;
  r.start = save.StartDateTime;
  return r;
}

std::string ReportJson(const MeasurementReport& r) {
  JsonWriter w;
  w.BeginObject();
  w.Key("samples").Integer(r.samples);
  w.Key("rate_sps").Integer(r.rateSps);
  w.Key("gain").Integer(r.gain);
  w.Key("channel").Integer(r.channel);
  w.Key("delta_f_hz").Number(r.deltaF);
  w.Key("rms_v").Number(r.rmsVolts);
  w.Key("rms_text").String(r.rmsText);
  w.Key("rms_unit").String(r.rmsUnit);
  w.Key("peak").BeginObject();
  w.Key("bin").Integer(r.peakBin);
  w.Key("hz").Number(r.peakHz);
  w.Key("v").Number(r.peakVolts);
  w.Key("db").Number(r.peakDb);
  w.Key("text").BeginArray();
  for (const auto& text : r.peakTexts) w.String(text);
  w.EndArray();
  w.Key("unit").String(r.peakUnit);
  w.Key("db_unit").String(r.peakDbUnit);
  w.EndObject();
  w.Key("stats").BeginObject();
  w.Key("code_max").Integer(r.codeMax);
  w.Key("code_min").Integer(r.codeMin);
  w.Key("deviation_digits").Number(r.deviationDigits);
  w.Key("text").String(r.statsText);
  w.EndObject();
  w.Key("freq_info").String(r.freqInfo);
  w.Key("unit_info").String(r.unitInfo);
  w.Key("start").String(r.start);
  w.Key("files").BeginObject();
  for (const auto& f : r.files) {
    w.Key(f.kind).BeginObject().Key("path").String(f.path).Key("written").Bool(f.written).EndObject();
  }
  w.EndObject();
  w.EndObject();
  return w.Text() + "\n";
}

std::string ReportText(const MeasurementReport& r) {
  std::string text;
  if (!r.unitInfo.empty()) text += r.unitInfo + "\n";
  text += "samples: " + FormatInteger(r.samples) + " at " + r.rateText + ", gain " + FormatInteger(r.gain) +
          ", channel " + FormatInteger(r.channel) + "\n";
  text += r.freqInfo + "\n";
  text += "RMS: " + r.rmsText + " " + r.rmsUnit + "\n";
  text += "peak: " + r.peakTexts[0] + " " + r.peakUnit + ", " + r.peakTexts[1] + " " + r.peakDbUnit + ", " +
          r.peakTexts[2] + " Hz (bin " + FormatInteger(r.peakBin) + ")\n";
  text += r.statsText + "\n";
  if (!r.start.empty()) text += "start: " + r.start + "\n";
  for (const auto& f : r.files) {
    text += (f.written ? "wrote " : "kept existing ") + f.path + "\n";
  }
  return text;
}
