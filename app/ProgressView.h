// The progress of an acquisition, in the room the form leaves empty between the start
// button and the status bar: a thin bar for the fraction done and, under it, the
// percentage with the time left; in a series of acquisitions, which one runs ("3 / 10",
// "12 回目") with the series' time left where it fits. While idle, the line alone
// says how the spectrum shown was averaged ("RMS平均 10 / 10"), or everything is
// hidden. The form's own controls and texts stay as they are.
#pragma once

#include <QCoreApplication>
#include <QString>

class QLabel;
class QProgressBar;
class QWidget;

class ProgressView {
  Q_DECLARE_TR_FUNCTIONS(ProgressView)

 public:
  // Creates the bar and its line, hidden, as children of form (the central area).
  explicit ProgressView(QWidget& form);

  // Shows `percent` done and the time left.
  void Show(int percent, double secondsLeft);
  // Acquisition k (from 1) of n (0: until stopped) is `percent` done; secondsLeft is
  // the series' (none until stopped).
  void ShowSeries(int k, int n, int percent, double secondsLeft);
  // The line alone, without the bar: note, or shorter where note does not fit.
  void ShowNote(const QString& note, const QString& shorter);
  void Hide();
  bool Shown() const;

  // The line under the bar: "37%  残り 1:23" (h:mm:ss from an hour on).
  static QString Text(int percent, double secondsLeft);
  // "3 / 10", or "12 回目" until stopped.
  static QString SeriesText(int k, int n);

  QProgressBar* Bar;
  QLabel* Line;

 private:
  // text when the line holds it whole, shorter otherwise.
  QString Fitting(const QString& text, const QString& shorter) const;
};
