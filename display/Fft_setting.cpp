#include "display/Fft_setting.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "display/FftSettingEdit.h"
#include "display/FftSettingRules.h"
#include "display/GraphGeometry.h"
#include "display/PaintBox.h"
#include "ui/BgrColor.h"
#include "ui/DialogControls.h"
#include "ui/FileText.h"
#include "ui/UiFont.h"

namespace {

// The client area; the outer window is 390 × 540 with its frame.
constexpr int kClientWidth = 382;
constexpr int kClientHeight = 506;

// Item texts of the frequency and dB lists, by frequency index and dB index.
constexpr std::array<const char*, kFreqCount> kFrequencyTexts{
    QT_TRANSLATE_NOOP("TFormFFTSetting", "０．１Ｈｚ"),   QT_TRANSLATE_NOOP("TFormFFTSetting", "０．２Ｈｚ"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "０．５Ｈｚ"),   QT_TRANSLATE_NOOP("TFormFFTSetting", "１Ｈｚ"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "２Ｈｚ"),       QT_TRANSLATE_NOOP("TFormFFTSetting", "５Ｈｚ"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "１０Ｈｚ"),     QT_TRANSLATE_NOOP("TFormFFTSetting", "２０Ｈｚ"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "５０Ｈｚ"),     QT_TRANSLATE_NOOP("TFormFFTSetting", "１００Ｈｚ"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "２００Ｈｚ"),   QT_TRANSLATE_NOOP("TFormFFTSetting", "５００Ｈｚ"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "１ｋＨｚ"),     QT_TRANSLATE_NOOP("TFormFFTSetting", "１．５ｋＨｚ"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "２．４ｋＨｚ"),
};
constexpr std::array<const char*, kDbLevelCount> kDbTexts{
    QT_TRANSLATE_NOOP("TFormFFTSetting", "＋２０ｄＢ"),   QT_TRANSLATE_NOOP("TFormFFTSetting", "＋１０ｄＢ"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "　　０ｄＢ"),   QT_TRANSLATE_NOOP("TFormFFTSetting", "－１０ｄＢ"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "－２０ｄＢ"),   QT_TRANSLATE_NOOP("TFormFFTSetting", "－３０ｄＢ"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "－４０ｄＢ"),   QT_TRANSLATE_NOOP("TFormFFTSetting", "－５０ｄＢ"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "－６０ｄＢ"),   QT_TRANSLATE_NOOP("TFormFFTSetting", "－７０ｄＢ"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "－８０ｄＢ"),   QT_TRANSLATE_NOOP("TFormFFTSetting", "－９０ｄＢ"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "－１００ｄＢ"), QT_TRANSLATE_NOOP("TFormFFTSetting", "－１１０ｄＢ"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "－１２０ｄＢ"), QT_TRANSLATE_NOOP("TFormFFTSetting", "－１３０ｄＢ"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "－１４０ｄＢ"), QT_TRANSLATE_NOOP("TFormFFTSetting", "－１５０ｄＢ"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "－１６０ｄＢ"), QT_TRANSLATE_NOOP("TFormFFTSetting", "－１７０ｄＢ"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "－１８０ｄＢ"),
};
constexpr int kWindowFuncCount = 4;
constexpr std::array<const char*, kWindowFuncCount> kWindowTexts{
    QT_TRANSLATE_NOOP("TFormFFTSetting", "矩形波窓"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "ハニング窓"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "ハミング窓"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "フラットトップ"),
};
constexpr std::array<const char*, TFormFFTSetting::kColorCount> kColorTexts{
    QT_TRANSLATE_NOOP("TFormFFTSetting", "グラフ線"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "主目盛り線"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "副目盛り線"),
    QT_TRANSLATE_NOOP("TFormFFTSetting", "参照データ"),
};
constexpr std::array<std::int32_t FftSetting::*, TFormFFTSetting::kColorCount> kColorFields{
    &FftSetting::PenColorGraph, &FftSetting::PenColorMainAxis, &FftSetting::PenColorSubAxis,
    &FftSetting::PenColorRefGraph};

constexpr int kLinearAxis = 0;
constexpr int kLogAxis = 1;

// Layout: two columns of groups under the sample count, the saving group and the
// buttons below them. Positions inside a group are relative to it.
constexpr int kMargin = 8;
constexpr int kLeftColumnWidth = 180;
constexpr int kRightColumn = 196;
constexpr int kRightColumnWidth = 178;
constexpr int kInnerLeft = 12;
constexpr int kFirstRowTop = 20;
constexpr int kRowStep = 20;
constexpr int kListRowStep = 30;
constexpr int kListWidth = 100;
constexpr int kListLabelLeft = 118;
constexpr int kListLabelDrop = 4;  // a label's top below its list's top

constexpr int kCountLabelLeft = 16;
constexpr int kCountLabelTop = 14;
constexpr int kCountListLeft = 80;
constexpr int kCountListTop = 10;
constexpr int kCountListWidth = 96;

constexpr int kGraphGroupTop = 40;
constexpr int kGraphGroupHeight = 84;
constexpr int kOptionGroupTop = 132;
constexpr int kOptionGroupHeight = 64;
constexpr int kAxisGroupTop = 204;
constexpr int kAxisGroupHeight = 64;
constexpr int kWindowGroupTop = 276;
constexpr int kWindowGroupHeight = 104;

constexpr int kFreqGroupTop = 40;
constexpr int kFreqGroupHeight = 84;
constexpr int kDbGroupTop = 132;
constexpr int kDbGroupHeight = 112;
constexpr int kAbsoluteTop = 84;
constexpr int kColorGroupTop = 252;
constexpr int kColorGroupHeight = 128;
constexpr int kColorRowStep = 24;
constexpr int kColorBoxLeft = 132;
constexpr int kColorBoxWidth = 25;
constexpr int kColorBoxHeight = 20;

constexpr int kSaveGroupTop = 388;
constexpr int kSaveGroupWidth = 366;
constexpr int kSaveGroupHeight = 72;
// The file button stands beside the file field, where the group's title and frame
// leave it room.
constexpr int kFileFieldTop = 44;
constexpr int kFileFieldWidth = 252;
constexpr int kFileFieldHeight = 20;
constexpr int kFileButtonLeft = 270;
constexpr int kFileButtonTop = kFileFieldTop - (kDialogButtonHeight - kFileFieldHeight) / 2;
constexpr int kFileButtonWidth = 84;

constexpr int kButtonTop = 470;
constexpr int kDefaultButtonLeft = 104;
constexpr int kCancelButtonLeft = 200;
constexpr int kSetButtonLeft = 296;

QGroupBox* GroupAt(const QString& title, QWidget* parent, int left, int top, int width, int height) {
  auto* group = new QGroupBox(title, parent);
  group->setGeometry(left, top, width, height);
  return group;
}

QCheckBox* CheckAt(const QString& text, QWidget* parent, int row) {
  return PlacedAt(new QCheckBox(text, parent), kInnerLeft, kFirstRowTop + row * kRowStep);
}

// A pick-only list with a label to its right, in row 0 or 1 of a range group.
QComboBox* RangeListAt(const QString& label, QWidget* group, int row) {
  const int top = kFirstRowTop + row * kListRowStep;
  auto* list = PickOnlyList(group, kInnerLeft, top, kListWidth);
  PlacedAt(new QLabel(label, group), kListLabelLeft, top + kListLabelDrop);
  return list;
}

// One radio button per text in a group, ids 0, 1, …
QButtonGroup* RadioItems(QGroupBox* group, const QStringList& texts) {
  auto* items = new QButtonGroup(group);
  for (int id = 0; id < texts.size(); ++id) {
    items->addButton(PlacedAt(new QRadioButton(texts[id], group), kInnerLeft, kFirstRowTop + id * kRowStep), id);
  }
  return items;
}

// The index a list's selection stands for; a list without a selection leaves value.
void TakeItem(const QComboBox* list, std::int32_t& value) {
  if (const auto item = SelectedItem(list)) value = *item;
}

}  // namespace

TFormFFTSetting::TFormFFTSetting(DialogPrompter& prompter, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), prompter_(prompter), autoSave_(prompter) {
  setWindowTitle(tr("FFT 計測/表示設定"));
  setFont(UiFont());
  setFixedSize(kClientWidth, kClientHeight);
  BuildControls();
  ConnectControls();
}

void TFormFFTSetting::BuildControls() {
  Label8 = PlacedAt(new QLabel(tr("データ数"), this), kCountLabelLeft, kCountLabelTop);
  ComboBoxDNum = PickOnlyList(this, kCountListLeft, kCountListTop, kCountListWidth);
  for (int sel = 0; sel < kDataCountChoices; ++sel) ComboBoxDNum->addItem(QString::number(GetDataCount(sel)), sel);

  BuildGraphGroups();
  BuildRangeGroups();
  BuildColorGroup();
  BuildSaveGroup();

  DefaultBtn = ButtonAt(tr("既定値"), this, kDefaultButtonLeft, kButtonTop);
  CancelBtn = ButtonAt(tr("取り消し"), this, kCancelButtonLeft, kButtonTop);
  SetBtn = ButtonAt(tr("設定"), this, kSetButtonLeft, kButtonTop);
  // Enter sets; without this the first button in the focus chain would take it.
  SetBtn->setDefault(true);
}

void TFormFFTSetting::BuildGraphGroups() {
  GroupBox4 = GroupAt(tr("グラフ選択"), this, kMargin, kGraphGroupTop, kLeftColumnWidth, kGraphGroupHeight);
  CheckWaveGraph = CheckAt(tr("信号波形も表示する"), GroupBox4, 0);
  CheckSigVolt = CheckAt(tr("電圧値で表示"), GroupBox4, 1);
  CheckDCCut2 = CheckAt(tr("交流分のみ表示"), GroupBox4, 2);

  GroupBox5 = GroupAt(tr("計算オプション"), this, kMargin, kOptionGroupTop, kLeftColumnWidth, kOptionGroupHeight);
  CheckWinFuncAdjust = CheckAt(tr("窓関数による減衰を補正"), GroupBox5, 0);
  CheckDCCut = CheckAt(tr("直流成分をカット"), GroupBox5, 1);

  RadioGroup1 = GroupAt(tr("スペクトルＸ軸"), this, kMargin, kAxisGroupTop, kLeftColumnWidth, kAxisGroupHeight);
  RadioGroup1Items = RadioItems(RadioGroup1, {tr("周波数直線表示"), tr("周波数対数表示")});

  RadioGroup2 = GroupAt(tr("窓関数"), this, kMargin, kWindowGroupTop, kLeftColumnWidth, kWindowGroupHeight);
  QStringList windows;
  for (const char* text : kWindowTexts) windows << tr(text);
  RadioGroup2Items = RadioItems(RadioGroup2, windows);
}

void TFormFFTSetting::BuildRangeGroups() {
  GroupBox1 = GroupAt(tr("表示周波数範囲"), this, kRightColumn, kFreqGroupTop, kRightColumnWidth, kFreqGroupHeight);
  ComboBoxFreqS = RangeListAt(tr("から"), GroupBox1, 0);
  for (int index = 0; index <= kLastFreqStart; ++index) ComboBoxFreqS->addItem(tr(kFrequencyTexts[index]), index);
  ComboBoxFreqE = RangeListAt(tr("まで"), GroupBox1, 1);
  for (int index = kFirstFreqEnd; index <= kLastFreqEnd; ++index) {
    ComboBoxFreqE->addItem(tr(kFrequencyTexts[index]), index);
  }

  GroupBox2 = GroupAt(tr("スペクトルｄＢ表示"), this, kRightColumn, kDbGroupTop, kRightColumnWidth, kDbGroupHeight);
  ComboBoxdBS = RangeListAt(tr("から"), GroupBox2, 0);
  for (int index = 0; index <= kHighestDbTop; ++index) ComboBoxdBS->addItem(tr(kDbTexts[index]), index);
  ComboBoxdBE = RangeListAt(tr("まで"), GroupBox2, 1);
  for (int index = kLowestDbBottom; index <= kHighestDbBottom; ++index) {
    ComboBoxdBE->addItem(tr(kDbTexts[index]), index);
  }
  CheckBoxAbsodB = PlacedAt(new QCheckBox(tr("絶対値を表示(dBV)"), GroupBox2), kInnerLeft, kAbsoluteTop);
}

void TFormFFTSetting::BuildColorGroup() {
  GroupBox3 = GroupAt(tr("線色"), this, kRightColumn, kColorGroupTop, kRightColumnWidth, kColorGroupHeight);
  for (int box = 0; box < kColorCount; ++box) {
    const int top = kFirstRowTop + box * kColorRowStep;
    PlacedAt(new QLabel(tr(kColorTexts[box]), GroupBox3), kInnerLeft, top + kListLabelDrop);
    PaintBoxes[box] = new PaintBox(GroupBox3);
    PaintBoxes[box]->setGeometry(kColorBoxLeft, top, kColorBoxWidth, kColorBoxHeight);
  }
}

void TFormFFTSetting::BuildSaveGroup() {
  GroupBox6 = GroupAt(tr("計測データ保存"), this, kMargin, kSaveGroupTop, kSaveGroupWidth, kSaveGroupHeight);
  CheckSaveData = CheckAt(tr("計測終了時に自動でデータを保存"), GroupBox6, 0);
  FileBtn = new QPushButton(tr("ファイル選択"), GroupBox6);
  FileBtn->setGeometry(kFileButtonLeft, kFileButtonTop, kFileButtonWidth, kDialogButtonHeight);
  EditFileName = new QLineEdit(GroupBox6);
  EditFileName->setReadOnly(true);
  EditFileName->setFocusPolicy(Qt::NoFocus);
  EditFileName->setGeometry(kInnerLeft, kFileFieldTop, kFileFieldWidth, kFileFieldHeight);
  // Grey like an inactive frame, so it does not look like a field to type into.
  QPalette grey = EditFileName->palette();
  grey.setColor(QPalette::Base, grey.color(QPalette::Inactive, QPalette::Window));
  EditFileName->setPalette(grey);
}

void TFormFFTSetting::ConnectControls() {
  // Only the user's actions (clicked, activated) apply rules; showing the working
  // copy sets the controls without running them.
  const std::array<std::pair<QCheckBox*, std::uint8_t FftSetting::*>, 5> flags{{
      {CheckWaveGraph, &FftSetting::fWaveGraph},
      {CheckSigVolt, &FftSetting::fSig_Volt},
      {CheckDCCut2, &FftSetting::fDCCut_SigGraph},
      {CheckWinFuncAdjust, &FftSetting::fWinFuncAdjust},
      {CheckDCCut, &FftSetting::fDCCut_FFT},
  }};
  for (const auto& [box, field] : flags) {
    connect(box, &QCheckBox::clicked, this, [this, field](bool checked) { working_.*field = checked ? 1 : 0; });
  }
  connect(ComboBoxDNum, &QComboBox::activated, this, &TFormFFTSetting::ComboBoxDNumChange);
  connect(RadioGroup1Items, &QButtonGroup::idClicked, this, &TFormFFTSetting::RadioGroup1Click);
  connect(RadioGroup2Items, &QButtonGroup::idClicked, this, &TFormFFTSetting::RadioGroup2Click);
  connect(ComboBoxFreqS, &QComboBox::activated, this, &TFormFFTSetting::ComboBoxFreqSChange);
  connect(ComboBoxFreqE, &QComboBox::activated, this, &TFormFFTSetting::ComboBoxFreqEChange);
  connect(ComboBoxdBS, &QComboBox::activated, this, &TFormFFTSetting::ComboBoxdBSChange);
  connect(ComboBoxdBE, &QComboBox::activated, this, &TFormFFTSetting::ComboBoxdBEChange);
  connect(CheckBoxAbsodB, &QCheckBox::clicked, this, &TFormFFTSetting::CheckBoxAbsodBClick);
  for (int box = 0; box < kColorCount; ++box) {
    connect(PaintBoxes[box], &PaintBox::MousePressed, this, [this, box] { PaintBoxClick(box); });
  }
  connect(CheckSaveData, &QCheckBox::clicked, this, &TFormFFTSetting::CheckSaveDataClick);
  connect(FileBtn, &QPushButton::clicked, this, &TFormFFTSetting::FileBtnClick);
  connect(DefaultBtn, &QPushButton::clicked, this, &TFormFFTSetting::DefaultBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &TFormFFTSetting::CancelBtnClick);
  connect(SetBtn, &QPushButton::clicked, this, &TFormFFTSetting::SetBtnClick);
}

void TFormFFTSetting::SetSetting(FftSetting& setting, SaveSetting& save, std::uint8_t& cancelled) {
  setting_ = &setting;
  save_ = &save;
  cancelled_ = &cancelled;
  working_ = setting;
  autoSave_.Load(save);
  ShowSetting();
}

void TFormFFTSetting::ShowSetting() {
  working_ = ShownSetting(working_);
  SelectItem(ComboBoxDNum, working_.DataCountSel);
  CheckWinFuncAdjust->setChecked(working_.fWinFuncAdjust == 1);
  CheckDCCut->setChecked(working_.fDCCut_FFT == 1);
  CheckDCCut2->setChecked(working_.fDCCut_SigGraph == 1);
  CheckWaveGraph->setChecked(working_.fWaveGraph == 1);
  CheckBoxAbsodB->setChecked(working_.fAbsoGraph == 1);
  CheckSigVolt->setChecked(working_.fSig_Volt == 1);

  const bool log = working_.fLogGraph == 1;
  RadioGroup1Items->button(log ? kLogAxis : kLinearAxis)->setChecked(true);
  ComboBoxFreqS->setEnabled(log);
  SelectItem(ComboBoxFreqS, working_.index_FreqS);
  SelectItem(ComboBoxFreqE, working_.index_FreqE);

  ComboBoxdBS->setEnabled(working_.fAbsoGraph == 1);
  SelectItem(ComboBoxdBS, working_.index_dB_max);
  SelectItem(ComboBoxdBE, working_.index_dB_min);

  if (auto* window = RadioGroup2Items->button(working_.whichWindowFunc)) window->setChecked(true);
  PaintColorBoxes();
  ShowAutoSave();
}

void TFormFFTSetting::ComboBoxDNumChange() { TakeItem(ComboBoxDNum, working_.DataCountSel); }

void TFormFFTSetting::RadioGroup1Click() {
  working_.fLogGraph = RadioGroup1Items->checkedId() == kLogAxis ? 1 : 0;
  ShowSetting();
}

void TFormFFTSetting::RadioGroup2Click() { working_.whichWindowFunc = RadioGroup2Items->checkedId(); }

void TFormFFTSetting::TakeRangeChoice(const QComboBox* list, std::int32_t index, void (*rule)(FftSetting&, int)) {
  TakeItem(list, index);
  rule(working_, index);
  ShowSetting();
}

void TFormFFTSetting::ComboBoxFreqSChange() { TakeRangeChoice(ComboBoxFreqS, working_.index_FreqS, ChooseFreqStart); }

void TFormFFTSetting::ComboBoxFreqEChange() { TakeRangeChoice(ComboBoxFreqE, working_.index_FreqE, ChooseFreqEnd); }

void TFormFFTSetting::ComboBoxdBSChange() { TakeRangeChoice(ComboBoxdBS, working_.index_dB_max, ChooseDbTop); }

void TFormFFTSetting::ComboBoxdBEChange() { TakeRangeChoice(ComboBoxdBE, working_.index_dB_min, ChooseDbBottom); }

void TFormFFTSetting::CheckBoxAbsodBClick() {
  ChooseAbsolute(working_, CheckBoxAbsodB->isChecked());
  ShowSetting();
}

void TFormFFTSetting::PaintBoxClick(int box) {
  // The dialog starts at the box's own colour, so a small change is a small step.
  const auto chosen = prompter_.ChooseColor(working_.*kColorFields[box]);
  if (!chosen) return;
  working_.*kColorFields[box] = *chosen;
  PaintColorBoxes();
}

void TFormFFTSetting::CheckSaveDataClick() {
  autoSave_.Toggle(CheckSaveData->isChecked());
  ShowAutoSave();
}

void TFormFFTSetting::FileBtnClick() {
  autoSave_.ChooseFile();
  ShowAutoSave();
}

void TFormFFTSetting::DefaultBtnClick() {
  working_ = FftSetting{};
  autoSave_.SetDefaults();
  ShowSetting();
}

void TFormFFTSetting::CancelBtnClick() { reject(); }

void TFormFFTSetting::SetBtnClick() {
  const auto save = autoSave_.Confirmed();
  if (!save) {
    prompter_.ShowMessage(tr("データファイルを選択して下さい").toStdString(), tr("QV").toStdString(),
                          MessageIcon::Error);
    return;
  }
  if (setting_ != nullptr) *setting_ = StoredSetting(working_);
  if (save_ != nullptr) *save_ = *save;
  if (cancelled_ != nullptr) *cancelled_ = 0;
  accept();
}

void TFormFFTSetting::reject() {
  if (cancelled_ != nullptr) *cancelled_ = 1;
  QDialog::reject();
}

void TFormFFTSetting::PaintColorBoxes() {
  for (int box = 0; box < kColorCount; ++box) {
    QImage& canvas = PaintBoxes[box]->Canvas();
    QPainter painter(&canvas);
    painter.setPen(Qt::black);
    painter.setBrush(QColorOfBgr(working_.*kColorFields[box]));
    painter.drawRect(0, 0, canvas.width() - 1, canvas.height() - 1);
    painter.end();
    PaintBoxes[box]->Present();
  }
}

void TFormFFTSetting::ShowAutoSave() {
  CheckSaveData->setChecked(autoSave_.Checked());
  EditFileName->setText(ShortFileText(autoSave_.ShownFileName(), AutoSaveChoice::kShownNameLength));
}
