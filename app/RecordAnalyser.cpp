#include "app/RecordAnalyser.h"

RecordAnalyser::RecordAnalyser(const FftSetting& setting) : fft_(setting) {}

void RecordAnalyser::Analyse(MeasureData& data, const AdUnitSetting& ad, const FftSetting& fft) {
  CodeToVolt(data, ad);
  AnalyseSpectrum(fft_, fft, data, *work_);
}

bool RecordAnalyser::AnalysisDiffers(const FftSetting& a, const FftSetting& b) {
  return a.whichWindowFunc != b.whichWindowFunc || a.fWinFuncAdjust != b.fWinFuncAdjust || a.fDCCut_FFT != b.fDCCut_FFT;
}
