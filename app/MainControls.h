// The controls of the main window's central area (812 × 466), at the places and with
// the texts of the form: the two paint boxes and the 42 axis labels that the graph
// places, the start button, the RMS and peak groups and the status bar. The window
// connects them; the graph and the results panel fill them.
#pragma once

#include <QCoreApplication>
#include <array>

#include "display/Graph_fft.h"
#include "display/WidgetLabel.h"

class PaintBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class StatusBar;

struct MainFormControls {
  Q_DECLARE_TR_FUNCTIONS(MainFormControls)

 public:
  static constexpr int kClientWidth = 812;
  static constexpr int kClientHeight = 466;

  // Creates every control as a child of form, the central area.
  explicit MainFormControls(QWidget& form);

  PaintBox* PaintBox1;  // spectrum
  PaintBox* PaintBox3;  // waveform
  // The graph's labels in its order: 15 frequency labels, 21 dB labels, then
  // LabelVoltmax, LabelVoltzero, LabelVoltmin, LabelVoltUnit, LabelTimeS, LabelTimeE.
  std::array<WidgetLabel*, TGraph_FFT::kLabelCount> graphLabels{};

  QPushButton* MeasureStartBtn;

  QGroupBox* GroupBox1;  // 実効値
  QLineEdit* EditRMS;
  QLabel* LabelRMS;

  QGroupBox* GroupBox2;  // ピーク成分
  QLineEdit* EditPeakVolt;
  QLineEdit* EditPeakdB;
  QLineEdit* EditPeakHz;
  QLabel* LabelPeakVolt;
  QLabel* LabelPeakdB;
  QLabel* LabelPeakHz;
  QPushButton* PeakBackBtn;
  QPushButton* PeakFwdBtn;

  StatusBar* StatusBar1;

 private:
  void BuildGraphParts(QWidget& form);
  void BuildResultGroups(QWidget& form);
};
