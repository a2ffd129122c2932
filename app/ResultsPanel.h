// The results panel of the main window: the RMS readout, the peak readout with its
// step buttons and the click into the spectrum, and status panel 2, which a click on
// the status bar turns between the signal statistics and the frequency-step line.
// The texts are the session's (app/ResultTexts.h); the graph finds the bins and fills
// the peak fields.
#pragma once

#include <QCoreApplication>

#include "app/MainControls.h"
#include "app/SessionState.h"
#include "display/Graph_fft.h"
#include "ui/Mystatus.h"

class ResultsPanel {
  Q_DECLARE_TR_FUNCTIONS(ResultsPanel)

 public:
  // Everything must outlive the panel.
  ResultsPanel(MainFormControls& controls, TGraph_FFT& graph, TmyStatus& status, const SessionState& state);

  // "---" in the peak and RMS fields, "Vrms" beside the RMS.
  void ClearResults();
  // The highest line of the current measurement (when one is held).
  void ShowTopPeak();
  // The line shown before, with the level as now drawn (after every redraw).
  void ShowReadoutAgain();
  // The RMS of the current measurement from its spectrum.
  void ShowRMS();
  // The frequency-step line in panel 2 (empty without a current measurement).
  void ShowFreqInfo();
  // The signal statistics in panel 2, in volts or digits as the settings say.
  void ShowStatistics();

  void PeakFwdBtnClick();
  void PeakBackBtnClick();
  // A press in the spectrum box at x: the line under it on the axis shown.
  void SpectrumPressed(int x);
  // Statistics after the frequency-step line, and the other way round.
  void StatusBarClick();

  // The fields as the printed page reads them.
  const PeakFields& Peak() const { return peakFields_; }

 private:
  bool HasCurrentData() const;
  void ShowDbUnit();

  MainFormControls& controls_;
  TGraph_FFT& graph_;
  TmyStatus& status_;
  const SessionState& state_;
  PeakFields peakFields_;
  bool fFreqInfoShown_ = false;  // panel 2 shows the frequency-step line
};
