// The progress of an acquisition, in the room the form leaves empty between the start
// button and the status bar: a thin bar for the fraction done and, under it, the
// percentage with the time left. Hidden while nothing is measured; the form's own
// controls and texts stay as they are.
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
  void Hide();
  bool Shown() const;

  // The line under the bar: "37%  残り 1:23" (h:mm:ss from an hour on).
  static QString Text(int percent, double secondsLeft);

  QProgressBar* Bar;
  QLabel* Line;
};
