// TGraph_FFT's peak readout: it fills the main window's fields and unit label, so it
// is built into the widgets library and the drawing in Graph_fft.cpp needs QtGui alone.
#include <QLabel>
#include <QLineEdit>
#include <limits>

#include "display/Graph_fft.h"
#include "display/PeakReadout.h"

namespace {

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void TGraph_FFT::ShowReadout(const MeasureData& record, int bin, PeakFields& fields, QLabel& unitLabel) {
  const bool valid = BinInSpectrum(record, bin);
  const PeakTexts texts = PeakTextsOf(record, bin, valid ? displaydB[static_cast<std::size_t>(bin)] : 0.0F);
  fields.EditPeakVolt->setText(ToQString(texts.volt));
  fields.EditPeakdB->setText(ToQString(texts.dB));
  fields.EditPeakHz->setText(ToQString(texts.hz));
  if (!valid) return;  // the unit of the last shown amplitude stays
  fields.unit = texts.unit;
  unitLabel.setText(ToQString(texts.unit));
}

void TGraph_FFT::ShowPeak(const MeasureData& record, PeakFields& fields, QLabel& unitLabel) {
  peakBin = readoutBin = FindPeakBin(record);
  ShowReadout(record, readoutBin, fields, unitLabel);
}

void TGraph_FFT::PeakForward(const MeasureData& record, PeakFields& fields, QLabel& unitLabel) {
  if (readoutBin >= record.ad_dnum / 2 - 1) return;
  ++readoutBin;
  ShowReadout(record, readoutBin, fields, unitLabel);
}

void TGraph_FFT::PeakBack(const MeasureData& record, PeakFields& fields, QLabel& unitLabel) {
  // Below bin 1 (after a press left of the curve) it steps on, showing "---"; the
  // lowest int has nothing below it.
  if (readoutBin == 1 || readoutBin == std::numeric_limits<int>::min()) return;
  --readoutBin;
  ShowReadout(record, readoutBin, fields, unitLabel);
}

void TGraph_FFT::ShowBin(int bin, PeakFields& fields, QLabel& unitLabel) {
  readoutBin = bin;
  ShowReadout(mainData, bin, fields, unitLabel);
}
