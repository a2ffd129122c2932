#include "adc/Amp_setting.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "model/UnitTables.h"
#include "ui/DialogControls.h"
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

QFrame* PanelAt(QWidget* parent, int top) {
  auto* panel = new QFrame(parent);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setGeometry(kPanelLeft, top, kPanelWidth, kPanelHeight);
  return panel;
}

QRadioButton* RadioAt(const QString& text, QWidget* panel, int top) {
  return PlacedAt(new QRadioButton(text, panel), kRadioLeft, top);
}

int ItemOf(const QComboBox* list) { return SelectedItem(list).value_or(kNoItem); }

}  // namespace

TFormAmpSetting::TFormAmpSetting(QWidget* parent) : QDialog(parent, kFixedDialogFlags) {
  setWindowTitle(tr("QT4418PX 設定"));
  setFont(UiFont());
  setFixedSize(kClientWidth, kClientHeight);
  BuildControls();
  connect(DefaultBtn, &QPushButton::clicked, this, &TFormAmpSetting::DefaultBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &TFormAmpSetting::CancelBtnClick);
  connect(SetBtn, &QPushButton::clicked, this, &TFormAmpSetting::SetBtnClick);
}

void TFormAmpSetting::BuildControls() {
  Label1 = PlacedAt(new QLabel(tr("データレート"), this), kLeft, kRateLabelTop);
  ComboBox1 = PickOnlyList(this, kLeft, kRateListTop, kListWidth);
  for (int rate = 0; rate < kRateCount; ++rate) ComboBox1->addItem(tr("%1 sps").arg(SamplesPerSecond(rate)), rate);

  Label3 = PlacedAt(new QLabel(tr("内蔵アンプゲイン"), this), kLeft, kGainLabelTop);
  ComboBox3 = PickOnlyList(this, kLeft, kGainListTop, kListWidth);
  for (int gain = 0; gain < kGainCount; ++gain) {
    ComboBox3->addItem(QString::fromStdString(GainText(static_cast<std::uint32_t>(gain))), gain);
  }

  Label2 = PlacedAt(new QLabel(tr("CH"), this), kChannelLabelLeft, kChannelLabelTop);
  ComboBox2 = PickOnlyList(this, kLeft, kChannelListTop, kChannelListWidth);
  ComboBox2->addItem(tr("ＣＨ０"), 0);
  ComboBox2->addItem(tr("ＣＨ１"), 1);

  Panel2 = PanelAt(this, kFilterPanelTop);
  Sinc3_RBtn = RadioAt(tr("Sinc3"), Panel2, kFirstRadioTop);
  Sinc4_RBtn = RadioAt(tr("Sinc4"), Panel2, kSecondRadioTop);
  Panel3 = PanelAt(this, kBufferPanelTop);
  BUFON_RBtn = RadioAt(tr("BUF ON"), Panel3, kFirstRadioTop);
  BUFOFF_RBtn = RadioAt(tr("BUF OFF"), Panel3, kSecondRadioTop);

  DefaultBtn = ButtonAt(tr("既定値"), this, kDefaultButtonLeft, kButtonTop);
  CancelBtn = ButtonAt(tr("取り消し"), this, kCancelButtonLeft, kButtonTop);
  SetBtn = ButtonAt(tr("設定"), this, kSetButtonLeft, kButtonTop);
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
  return {.rateItem = ItemOf(ComboBox1),
          .gainItem = ItemOf(ComboBox3),
          .channelItem = ItemOf(ComboBox2),
          .sinc3 = Sinc3_RBtn->isChecked(),
          .bufOn = BUFON_RBtn->isChecked()};
}
