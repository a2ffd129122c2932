// TFormSeriesSetting: the modal dialog of 平均計測…: the number of acquisitions N and
// the averaging (RMS or peak hold) of an average, and whether 連続計測 averages its
// spectra exponentially over the last N. 計測開始 keeps the choices and asks for the
// average to start, 設定 only keeps them, 取り消し (Esc, the window's close) keeps
// nothing.
#pragma once

#include <QDialog>

#include "app/MeasurementSeries.h"

class QCheckBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

// What the dialog edits, for the program's run.
struct SeriesChoices {
  static constexpr int kDefaultCount = 10;

  SeriesPlan average{SeriesPlan::Mode::Average, SpectrumAveraging::Rms, kDefaultCount};
  bool exponential = false;   // 連続計測 averages its spectra
  int depth = kDefaultCount;  // over the last `depth`

  // The plan of 連続計測.
  SeriesPlan Continuous() const;
};

class TFormSeriesSetting : public QDialog {
  Q_OBJECT

 public:
  enum class Answer { Cancelled, Kept, Start };

  explicit TFormSeriesSetting(QWidget* parent = nullptr);

  // Shows choices and waits; they change only when the answer is Kept or Start.
  Answer Ask(SeriesChoices& choices);

  QSpinBox* CountEdit;  // N of the average
  QRadioButton* RmsBtn;
  QRadioButton* PeakHoldBtn;
  QCheckBox* ExponentialCheck;  // 連続計測's exponential average
  QSpinBox* DepthEdit;
  QPushButton* StartBtn;
  QPushButton* SetBtn;
  QPushButton* CancelBtn;

 private:
  void Show(const SeriesChoices& choices);
  SeriesChoices Read() const;

  Answer answer_ = Answer::Cancelled;
};
