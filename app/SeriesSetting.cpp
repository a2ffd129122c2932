#include "app/SeriesSetting.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/UiFont.h"

SeriesPlan SeriesChoices::Continuous() const {
  if (!exponential) return {SeriesPlan::Mode::Continuous, SpectrumAveraging::None, 1};
  return {SeriesPlan::Mode::Continuous, SpectrumAveraging::Exponential, depth};
}

namespace {

QSpinBox* CountBox(QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(SeriesPlan::kMinCount, SeriesPlan::kMaxCount);
  return box;
}

}  // namespace

TFormSeriesSetting::TFormSeriesSetting(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      CountEdit(CountBox(this)),
      RmsBtn(new QRadioButton(tr("RMS平均"), this)),
      PeakHoldBtn(new QRadioButton(tr("ピークホールド"), this)),
      ExponentialCheck(new QCheckBox(tr("指数平均"), this)),
      DepthEdit(CountBox(this)),
      StartBtn(new QPushButton(tr("計測開始"), this)),
      SetBtn(new QPushButton(tr("設定"), this)),
      CancelBtn(new QPushButton(tr("取り消し"), this)) {
  setFont(UiFont());
  setWindowTitle(tr("平均計測"));
  setModal(true);

  auto* average = new QGroupBox(tr("平均計測"), this);
  auto* averageForm = new QFormLayout(average);
  averageForm->addRow(tr("計測回数"), CountEdit);
  auto* kinds = new QHBoxLayout;
  kinds->addWidget(RmsBtn);
  kinds->addWidget(PeakHoldBtn);
  averageForm->addRow(tr("平均方法"), kinds);

  auto* continuous = new QGroupBox(tr("連続計測"), this);
  auto* continuousForm = new QFormLayout(continuous);
  continuousForm->addRow(ExponentialCheck);
  continuousForm->addRow(tr("直近の回数"), DepthEdit);
  connect(ExponentialCheck, &QCheckBox::toggled, DepthEdit, &QWidget::setEnabled);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(StartBtn);
  buttons->addWidget(SetBtn);
  buttons->addWidget(CancelBtn);
  StartBtn->setDefault(true);

  auto* all = new QVBoxLayout(this);
  all->addWidget(average);
  all->addWidget(continuous);
  all->addLayout(buttons);
  all->setSizeConstraint(QLayout::SetFixedSize);

  connect(StartBtn, &QPushButton::clicked, this, [this] {
    answer_ = Answer::Start;
    accept();
  });
  connect(SetBtn, &QPushButton::clicked, this, [this] {
    answer_ = Answer::Kept;
    accept();
  });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TFormSeriesSetting::Answer TFormSeriesSetting::Ask(SeriesChoices& choices) {
  Show(choices);
  answer_ = Answer::Cancelled;
  CountEdit->setFocus();
  if (exec() != QDialog::Accepted) return Answer::Cancelled;
  choices = Read();
  return answer_;
}

void TFormSeriesSetting::Show(const SeriesChoices& choices) {
  CountEdit->setValue(choices.average.count);
  RmsBtn->setChecked(choices.average.averaging != SpectrumAveraging::PeakHold);
  PeakHoldBtn->setChecked(choices.average.averaging == SpectrumAveraging::PeakHold);
  ExponentialCheck->setChecked(choices.exponential);
  DepthEdit->setValue(choices.depth);
  DepthEdit->setEnabled(choices.exponential);
}

SeriesChoices TFormSeriesSetting::Read() const {
  SeriesChoices choices;
  choices.average.count = CountEdit->value();
  choices.average.averaging = PeakHoldBtn->isChecked() ? SpectrumAveraging::PeakHold : SpectrumAveraging::Rms;
  choices.exponential = ExponentialCheck->isChecked();
  choices.depth = DepthEdit->value();
  return choices;
}
