#include "app/MainControls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>

#include "display/PaintBox.h"
#include "ui/StatusBar.h"

namespace {

// Places of the form, in pixels of the parent's client area.
constexpr QRect kPaintBox1{115, 303, 465, 106};
constexpr QRect kPaintBox3{113, 28, 477, 97};
constexpr QPoint kLabelVoltmax{25, 31};
constexpr QPoint kLabelVoltzero{38, 72};
constexpr QPoint kLabelVoltmin{25, 111};
constexpr QPoint kLabelVoltUnit{12, 12};
constexpr QPoint kLabelTimeS{69, 137};
constexpr QPoint kLabelTimeE{539, 137};
constexpr QRect kMeasureStartBtn{712, 396, 75, 25};
constexpr QRect kGroupBox1{692, 154, 110, 65};
constexpr QRect kGroupBox2{692, 238, 110, 135};
// Inside the groups: read-only fields, their unit labels, the peak step buttons.
constexpr int kFieldLeft = 8;
constexpr int kFieldWidth = 57;
constexpr int kFieldHeight = 20;
constexpr int kFieldTops[] = {24, 48, 72};
constexpr int kUnitLeft = 68;
constexpr int kUnitBelowField = 4;  // a unit label's top below its field's
// Unit labels reach to the group's right edge: their texts change ("Vrms" … "mVrms").
constexpr int kUnitWidth = kGroupBox1.width() - kUnitLeft;
constexpr QRect kPeakBackBtn{16, 100, 40, 25};
constexpr QRect kPeakFwdBtn{60, 100, 40, 25};

WidgetLabel* HiddenLabel(QWidget& form, const QString& text, QPoint at) {
  auto* label = new WidgetLabel(text, &form);
  label->move(at);
  label->adjustSize();
  label->hide();
  return label;
}

QLineEdit* ReadOnlyField(QWidget& group, int top, const QString& text) {
  auto* field = new QLineEdit(text, &group);
  field->setReadOnly(true);
  field->setGeometry(kFieldLeft, top, kFieldWidth, kFieldHeight);
  return field;
}

QLabel* UnitLabel(QWidget& group, int fieldTop, const QString& text) {
  auto* label = new QLabel(text, &group);
  label->adjustSize();
  label->setGeometry(kUnitLeft, fieldTop + kUnitBelowField, kUnitWidth, label->height());
  return label;
}

QPushButton* Button(QWidget& parent, const QString& text, const QRect& place) {
  auto* button = new QPushButton(text, &parent);
  button->setGeometry(place);
  return button;
}

}  // namespace

MainFormControls::MainFormControls(QWidget& form) {
  BuildGraphParts(form);
  MeasureStartBtn = Button(form, tr("計測開始"), kMeasureStartBtn);
  BuildResultGroups(form);
  // Placed by hand along the bottom edge: it takes no room from the graphs.
  StatusBar1 = new StatusBar(&form);
  StatusBar1->setGeometry(0, kClientHeight - StatusBar::kHeight, kClientWidth, StatusBar::kHeight);
}

void MainFormControls::BuildGraphParts(QWidget& form) {
  // Hidden until the graph places and shows them.
  PaintBox1 = new PaintBox(&form);
  PaintBox1->setGeometry(kPaintBox1);
  PaintBox1->hide();
  PaintBox3 = new PaintBox(&form);
  PaintBox3->setGeometry(kPaintBox3);
  PaintBox3->hide();

  auto next = graphLabels.begin();
  // The dB labels are made first but stand after the frequency labels in the array.
  auto dB = next + kFreqCount;
  for (int i = 0; i < kDbLevelCount; ++i) *dB++ = HiddenLabel(form, QString(), {});
  for (int i = 0; i < kFreqCount; ++i) *next++ = HiddenLabel(form, QString(), {});
  next = dB;
  *next++ = HiddenLabel(form, tr("+1V"), kLabelVoltmax);
  *next++ = HiddenLabel(form, tr("0"), kLabelVoltzero);
  *next++ = HiddenLabel(form, tr("-1V"), kLabelVoltmin);
  *next++ = HiddenLabel(form, tr("V"), kLabelVoltUnit);
  *next++ = HiddenLabel(form, tr("0"), kLabelTimeS);
  *next++ = HiddenLabel(form, tr("100ms"), kLabelTimeE);
}

void MainFormControls::BuildResultGroups(QWidget& form) {
  GroupBox1 = new QGroupBox(tr("実効値"), &form);
  GroupBox1->setGeometry(kGroupBox1);
  EditRMS = ReadOnlyField(*GroupBox1, kFieldTops[0], tr("Volt"));
  LabelRMS = UnitLabel(*GroupBox1, kFieldTops[0], tr("[Vrms]"));

  GroupBox2 = new QGroupBox(tr("ピーク成分"), &form);
  GroupBox2->setGeometry(kGroupBox2);
  EditPeakVolt = ReadOnlyField(*GroupBox2, kFieldTops[0], QString());
  EditPeakdB = ReadOnlyField(*GroupBox2, kFieldTops[1], QString());
  EditPeakHz = ReadOnlyField(*GroupBox2, kFieldTops[2], QString());
  LabelPeakVolt = UnitLabel(*GroupBox2, kFieldTops[0], tr("Vrms"));
  LabelPeakdB = UnitLabel(*GroupBox2, kFieldTops[1], tr("dB"));
  LabelPeakHz = UnitLabel(*GroupBox2, kFieldTops[2], tr("Hz"));
  PeakBackBtn = Button(*GroupBox2, tr("<<"), kPeakBackBtn);
  PeakFwdBtn = Button(*GroupBox2, tr(">>"), kPeakFwdBtn);
}
