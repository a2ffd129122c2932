#include "app/ProgressView.h"

#include <QLabel>
#include <QProgressBar>
#include <QRect>

#include "ui/TimeLeft.h"

namespace {

// Under the start button (712, 396, 75 × 25) and above the status bar (top 446), as
// wide as the result groups beside it (692, 110 wide).
constexpr QRect kBar{692, 425, 110, 5};
constexpr QRect kLine{692, 432, 110, 12};
constexpr int kPercent = 100;

}  // namespace

ProgressView::ProgressView(QWidget& form) : Bar(new QProgressBar(&form)), Line(new QLabel(&form)) {
  Bar->setGeometry(kBar);
  Bar->setRange(0, kPercent);
  Bar->setTextVisible(false);
  Line->setGeometry(kLine);
  Line->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  Hide();
}

QString ProgressView::Text(int percent, double secondsLeft) {
  return tr("%1%  残り %2").arg(percent).arg(QString::fromStdString(ShortClockText(secondsLeft)));
}

void ProgressView::Show(int percent, double secondsLeft) {
  Bar->setValue(percent);
  Line->setText(Text(percent, secondsLeft));
  Bar->show();
  Line->show();
}

QString ProgressView::SeriesText(int k, int n) { return n > 0 ? tr("%1 / %2").arg(k).arg(n) : tr("%1 回目").arg(k); }

void ProgressView::ShowSeries(int k, int n, int percent, double secondsLeft) {
  const QString which = SeriesText(k, n);
  const QString withTime =
      n > 0 ? tr("%1  残り %2").arg(which, QString::fromStdString(ShortClockText(secondsLeft))) : which;
  Bar->setValue(percent);
  Line->setText(Fitting(withTime, which));
  Bar->show();
  Line->show();
}

void ProgressView::ShowNote(const QString& note, const QString& shorter) {
  Bar->hide();
  Line->setText(Fitting(note, shorter));
  Line->show();
}

QString ProgressView::Fitting(const QString& text, const QString& shorter) const {
  return Line->fontMetrics().horizontalAdvance(text) <= Line->width() ? text : shorter;
}

void ProgressView::Hide() {
  Bar->hide();
  Line->hide();
}

bool ProgressView::Shown() const { return !Bar->isHidden() || !Line->isHidden(); }
