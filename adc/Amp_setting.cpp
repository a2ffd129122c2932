#include "adc/Amp_setting.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "model/UnitTables.h"
#include "ui/UiFont.h"

namespace {

// The client area; the outer window is 340 × 256 with its frame.
constexpr int kClientWidth = 332;
constexpr int kClientHeight = 222;

constexpr int kLeft = 24;
constexpr int kChannelLabelLeft = 28;
constexpr int kListWidth = 121;
constexpr int kChannelListWidth = 117;
constexpr int kRateLabelTop = 20;
constexpr int kRateListTop = 36;
constexpr int kGainLabelTop = 68;
constexpr int kGainListTop = 84;
constexpr int kChannelLabelTop = 116;
constexpr int kChannelListTop = 132;

constexpr int kPanelLeft = 176;
constexpr int kFilterPanelTop = 32;
constexpr int kBufferPanelTop = 96;
constexpr int kPanelWidth = 113;
constexpr int kPanelHeight = 57;
constexpr int kRadioLeft = 16;
constexpr int kFirstRadioTop = 8;
constexpr int kSecondRadioTop = 32;

constexpr int kButtonTop = 176;
constexpr int kDefaultButtonLeft = 24;
constexpr int kCancelButtonLeft = 120;
constexpr int kSetButtonLeft = 216;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

QComboBox* PickOnlyList(QWidget* parent, int left, int top, int width) {
  auto* list = new QComboBox(parent);
  list->setEditable(false);
  list->move(left, top);
  list->setFixedWidth(width);
  return list;
}

QLabel* LabelAt(const QString& text, QWidget* parent, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->move(left, top);
  label->adjustSize();
  return label;
}

QFrame* PanelAt(QWidget* parent, int top) {
  auto* panel = new QFrame(parent);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setGeometry(kPanelLeft, top, kPanelWidth, kPanelHeight);
  return panel;
}

QRadioButton* RadioAt(const QString& text, QWidget* panel, int top) {
  auto* radio = new QRadioButton(text, panel);
  radio->move(kRadioLeft, top);
  radio->adjustSize();
  return radio;
}

QPushButton* ButtonAt(const QString& text, QWidget* parent, int left) {
  auto* button = new QPushButton(text, parent);
  button->setGeometry(left, kButtonTop, kButtonWidth, kButtonHeight);
  return button;
}

void SelectItem(QComboBox* list, int index) { list->setCurrentIndex(list->findData(index)); }

int SelectedItem(const QComboBox* list) { return list->currentIndex() < 0 ? kNoItem : list->currentData().toInt(); }

}  // namespace

TFormAmpSetting::TFormAmpSetting(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle(tr("QT4418PX 設定"));
  setFont(UiFont());
  setFixedSize(kClientWidth, kClientHeight);
  BuildControls();
  connect(DefaultBtn, &QPushButton::clicked, this, &TFormAmpSetting::DefaultBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &TFormAmpSetting::CancelBtnClick);
  connect(SetBtn, &QPushButton::clicked, this, &TFormAmpSetting::SetBtnClick);
}

void TFormAmpSetting::BuildControls() {
  Label1 = LabelAt(tr("データレート"), this, kLeft, kRateLabelTop);
  ComboBox1 = PickOnlyList(this, kLeft, kRateListTop, kListWidth);
  for (int rate = 0; rate < kRateCount; ++rate) ComboBox1->addItem(tr("%1 sps").arg(SamplesPerSecond(rate)), rate);

  Label3 = LabelAt(tr("内蔵アンプゲイン"), this, kLeft, kGainLabelTop);
  ComboBox3 = PickOnlyList(this, kLeft, kGainListTop, kListWidth);
  for (int gain = 0; gain < kGainCount; ++gain) {
    ComboBox3->addItem(QString::fromStdString(GainText(static_cast<std::uint32_t>(gain))), gain);
  }

  Label2 = LabelAt(tr("CH"), this, kChannelLabelLeft, kChannelLabelTop);
  ComboBox2 = PickOnlyList(this, kLeft, kChannelListTop, kChannelListWidth);
  ComboBox2->addItem(tr("ＣＨ０"), 0);
  ComboBox2->addItem(tr("ＣＨ１"), 1);

  Panel2 = PanelAt(this, kFilterPanelTop);
  Sinc3_RBtn = RadioAt(tr("Sinc3"), Panel2, kFirstRadioTop);
  Sinc4_RBtn = RadioAt(tr("Sinc4"), Panel2, kSecondRadioTop);
  Panel3 = PanelAt(this, kBufferPanelTop);
  BUFON_RBtn = RadioAt(tr("BUF ON"), Panel3, kFirstRadioTop);
  BUFOFF_RBtn = RadioAt(tr("BUF OFF"), Panel3, kSecondRadioTop);

  DefaultBtn = ButtonAt(tr("既定値"), this, kDefaultButtonLeft);
  CancelBtn = ButtonAt(tr("取り消し"), this, kCancelButtonLeft);
  SetBtn = ButtonAt(tr("設定"), this, kSetButtonLeft);
  // Enter sets; without this the first button in the focus chain (the defaults) would
  // take it.
  SetBtn->setDefault(true);

  QWidget::setTabOrder(ComboBox1, ComboBox3);
  QWidget::setTabOrder(ComboBox3, DefaultBtn);
  QWidget::setTabOrder(DefaultBtn, CancelBtn);
  QWidget::setTabOrder(CancelBtn, SetBtn);
  QWidget::setTabOrder(SetBtn, Sinc3_RBtn);
  QWidget::setTabOrder(Sinc3_RBtn, Sinc4_RBtn);
  QWidget::setTabOrder(Sinc4_RBtn, BUFON_RBtn);
  QWidget::setTabOrder(BUFON_RBtn, BUFOFF_RBtn);
  QWidget::setTabOrder(BUFOFF_RBtn, ComboBox2);
}

void TFormAmpSetting::SetupDialog(AdUnitSetting& setting, std::uint8_t& cancelled) {
  setting_ = &setting;
  cancelled_ = &cancelled;
  working_ = setting;
  ShowChoice(ChoiceOf(working_));
  ComboBox1->setFocus();
}

void TFormAmpSetting::DefaultBtnClick() {
  working_ = AdUnitSetting{};
  ShowChoice(ChoiceOf(working_));
}

void TFormAmpSetting::CancelBtnClick() { reject(); }

void TFormAmpSetting::SetBtnClick() {
  if (setting_ != nullptr) *setting_ = ApplyChoice(working_, ReadChoice());
  if (cancelled_ != nullptr) *cancelled_ = 0;
  accept();
}

void TFormAmpSetting::reject() {
  if (cancelled_ != nullptr) *cancelled_ = 1;
  QDialog::reject();
}

void TFormAmpSetting::ShowChoice(const AmpSettingChoice& choice) {
  SelectItem(ComboBox1, choice.rateItem);
  SelectItem(ComboBox3, choice.gainItem);
  SelectItem(ComboBox2, choice.channelItem);
  (choice.sinc3 ? Sinc3_RBtn : Sinc4_RBtn)->setChecked(true);
  (choice.bufOn ? BUFON_RBtn : BUFOFF_RBtn)->setChecked(true);
}

AmpSettingChoice TFormAmpSetting::ReadChoice() const {
  return {.rateItem = SelectedItem(ComboBox1),
          .gainItem = SelectedItem(ComboBox3),
          .channelItem = SelectedItem(ComboBox2),
          .sinc3 = Sinc3_RBtn->isChecked(),
          .bufOn = BUFON_RBtn->isChecked()};
}
