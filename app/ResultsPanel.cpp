#include "app/ResultsPanel.h"

#include <QLabel>
#include <QLineEdit>

#include "analysis/Analysis.h"
#include "app/ResultTexts.h"
#include "display/PaintBox.h"
#include "display/PeakReadout.h"

ResultsPanel::ResultsPanel(MainFormControls& controls, TGraph_FFT& graph, TmyStatus& status, const SessionState& state)
    : controls_(controls),
      graph_(graph),
      status_(status),
      state_(state),
      peakFields_{controls.EditPeakVolt, controls.EditPeakdB, controls.EditPeakHz, {}} {}

bool ResultsPanel::HasCurrentData() const { return state_.fDataValid && state_.curData.HasData(); }

void ResultsPanel::ClearResults() {
  const QString none = QString::fromLatin1(kNoReadout);
  for (QLineEdit* field : {controls_.EditPeakVolt, controls_.EditPeakdB, controls_.EditPeakHz, controls_.EditRMS}) {
    field->setText(none);
  }
  controls_.LabelRMS->setText(tr("Vrms"));
}

void ResultsPanel::ShowDbUnit() {
  controls_.LabelPeakdB->setText(state_.fftSetting.fAbsoGraph == 1 ? tr("dBV") : tr("dB"));
}

void ResultsPanel::ShowTopPeak() {
  if (!HasCurrentData()) return;
  graph_.ShowPeak(state_.curData, peakFields_, *controls_.LabelPeakVolt);
  ShowDbUnit();
}

void ResultsPanel::ShowReadoutAgain() {
  if (!HasCurrentData()) return;
  graph_.ShowBin(graph_.ReadoutBin(), peakFields_, *controls_.LabelPeakVolt);
  ShowDbUnit();
}

void ResultsPanel::ShowRMS() {
  const ScaledText rms = RmsReadout(SignalRms(state_.curData));
  controls_.EditRMS->setText(QString::fromStdString(rms.number));
  controls_.LabelRMS->setText(QString::fromStdString(rms.unit));
}

void ResultsPanel::ShowFreqInfo() {
  const std::string text =
      state_.fDataValid ? FreqInfoText(state_.curData, static_cast<int>(state_.curData.spsSel), state_.fftSetting)
                        : std::string();
  status_.ShowText(QString::fromStdString(text), TmyStatus::kResultPanel);
  fFreqInfoShown_ = true;
}

void ResultsPanel::ShowStatistics() {
  const SignalStatistics stats =
      StatisticsOf(state_.curData, state_.measAdSetting.Gain, state_.fftSetting.fSig_Volt == 1, state_.codeDeviation);
  status_.ShowText(QString::fromStdString(stats.text), TmyStatus::kResultPanel);
  fFreqInfoShown_ = false;
}

void ResultsPanel::PeakFwdBtnClick() {
  if (HasCurrentData()) graph_.PeakForward(state_.curData, peakFields_, *controls_.LabelPeakVolt);
}

void ResultsPanel::PeakBackBtnClick() {
  if (HasCurrentData()) graph_.PeakBack(state_.curData, peakFields_, *controls_.LabelPeakVolt);
}

void ResultsPanel::SpectrumPressed(int x) {
  if (!HasCurrentData()) return;
  const int bin = graph_.BinAtX(controls_.PaintBox1->width(), x);
  graph_.ShowBin(bin, peakFields_, *controls_.LabelPeakVolt);
}

void ResultsPanel::StatusBarClick() {
  if (fFreqInfoShown_) {
    ShowStatistics();
  } else {
    ShowFreqInfo();
  }
}
