// The measurement and display settings dialog offscreen: tests set the controls and
// call the slots; a scripted prompter answers the file, colour and message boxes.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <memory>
#include <vector>

#include "QtTestApp.h"
#include "ScriptedPrompter.h"
#include "display/Fft_setting.h"
#include "display/PaintBox.h"

namespace {

void Pick(QComboBox* list, int index) { list->setCurrentIndex(list->findData(index)); }

class FftSettingDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = std::make_unique<TFormFFTSetting>(prompter);
    QObject::connect(dialog.get(), &QDialog::finished, [this](int result) { results.push_back(result); });
  }
  void Open() {
    cancelled = 1;  // as the caller does before every showing
    dialog->SetSetting(setting, save, cancelled);
  }

  ScriptedPrompter prompter;
  std::unique_ptr<TFormFFTSetting> dialog;
  FftSetting setting;
  SaveSetting save{0, "/data/run1.DTA", "2024/05/06 07:08:09"};
  std::uint8_t cancelled = 1;
  std::vector<int> results;
};

TEST_F(FftSettingDialogTest, ControlsOfferTheScalesAsPickOnlyLists) {
  EXPECT_EQ(dialog->windowTitle(), "FFT 計測/表示設定");
  EXPECT_EQ(dialog->size(), QSize(382, 506));
  EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
  const struct {
    QComboBox* list;
    int count, firstData;
    const char *first, *last;
  } rows[] = {
      {dialog->ComboBoxDNum, 7, 0, "1024", "65536"},
      {dialog->ComboBoxFreqS, 13, 0, "０．１Ｈｚ", "１ｋＨｚ"},
      {dialog->ComboBoxFreqE, 9, 6, "１０Ｈｚ", "２．４ｋＨｚ"},
      {dialog->ComboBoxdBS, 17, 0, "＋２０ｄＢ", "－１４０ｄＢ"},
      {dialog->ComboBoxdBE, 18, 3, "－１０ｄＢ", "－１８０ｄＢ"},
  };
  for (const auto& r : rows) {
    EXPECT_FALSE(r.list->isEditable()) << r.first;
    ASSERT_EQ(r.list->count(), r.count) << r.first;
    EXPECT_EQ(r.list->itemText(0), QString::fromUtf8(r.first));
    EXPECT_EQ(r.list->itemText(r.count - 1), QString::fromUtf8(r.last));
    for (int item = 0; item < r.count; ++item) EXPECT_EQ(r.list->itemData(item).toInt(), r.firstData + item);
  }
  EXPECT_EQ(dialog->ComboBoxdBS->itemText(2), "　　０ｄＢ");
  EXPECT_EQ(dialog->RadioGroup2Items->button(3)->text(), "フラットトップ");
  for (const PaintBox* box : dialog->PaintBoxes) EXPECT_EQ(box->size(), QSize(25, 20));
}

TEST_F(FftSettingDialogTest, ShowsTheRecord) {
  setting.fLogGraph = 0;
  setting.fAbsoGraph = 0;
  setting.index_dB_max = 7;
  setting.index_dB_min = 1;
  setting.index_FreqS = 4;
  setting.index_FreqE = 3;  // possible from a settings file, not offered by the list
  Open();
  EXPECT_FALSE(dialog->ComboBoxFreqS->isEnabled()) << "linear axis";
  EXPECT_EQ(dialog->ComboBoxFreqS->currentData().toInt(), 4);
  EXPECT_EQ(dialog->ComboBoxFreqE->currentIndex(), -1);
  EXPECT_FALSE(dialog->ComboBoxdBS->isEnabled()) << "relative display";
  EXPECT_EQ(dialog->ComboBoxdBS->currentData().toInt(), 2);
  EXPECT_EQ(dialog->ComboBoxdBE->currentData().toInt(), 3) << "-10 dB for a bottom above it";
  EXPECT_EQ(dialog->RadioGroup1Items->checkedId(), 0);
  EXPECT_EQ(dialog->RadioGroup2Items->checkedId(), 1);
  EXPECT_EQ(dialog->PaintBoxes[0]->Canvas().pixelColor(12, 10), QColor(Qt::red));
}

TEST_F(FftSettingDialogTest, SetStoresTheControls) {
  setting.index_FreqE = 10;
  Open();
  Pick(dialog->ComboBoxDNum, 2);
  dialog->ComboBoxDNumChange();
  dialog->CheckWaveGraph->click();
  dialog->CheckSigVolt->click();
  dialog->CheckWinFuncAdjust->click();
  dialog->RadioGroup2Items->button(3)->click();
  Pick(dialog->ComboBoxFreqS, 12);  // 1 kHz moves the end to 1.5 kHz
  dialog->ComboBoxFreqSChange();
  EXPECT_EQ(dialog->ComboBoxFreqE->currentData().toInt(), 13);
  Pick(dialog->ComboBoxdBS, 8);
  dialog->ComboBoxdBSChange();
  Pick(dialog->ComboBoxdBE, 5);  // above the -60 dB top: the top moves to -20 dB
  dialog->ComboBoxdBEChange();
  dialog->SetBtnClick();

  EXPECT_EQ(cancelled, 0);
  EXPECT_EQ(results, std::vector<int>{QDialog::Accepted});
  EXPECT_EQ(setting.DataCountSel, 2);
  EXPECT_EQ(setting.DataCountMax, 4096);
  EXPECT_EQ(setting.fWaveGraph, 0);
  EXPECT_EQ(setting.fSig_Volt, 1);
  EXPECT_EQ(setting.fWinFuncAdjust, 1);
  EXPECT_EQ(setting.whichWindowFunc, 3);
  EXPECT_EQ(setting.index_FreqS, 12);
  EXPECT_EQ(setting.index_FreqE, 13);
  EXPECT_EQ(setting.index_dB_max, 4);
  EXPECT_EQ(setting.index_dB_min, 5);
  EXPECT_EQ(save, (SaveSetting{0, "/data/run1.DTA", "2024/05/06 07:08:09"})) << "the incoming name stays";
}

TEST_F(FftSettingDialogTest, LinearAxisEndBelowTheStartIsStoredAsAValidPair) {
  setting.index_FreqS = 10;
  Open();
  dialog->RadioGroup1Items->button(0)->click();
  Pick(dialog->ComboBoxFreqE, 8);
  dialog->ComboBoxFreqEChange();
  EXPECT_EQ(dialog->ComboBoxFreqS->currentData().toInt(), 10) << "the hidden start does not move";
  dialog->RadioGroup1Items->button(1)->click();  // back to the logarithmic axis
  dialog->SetBtnClick();
  EXPECT_EQ(setting.index_FreqE, 8);
  EXPECT_EQ(setting.index_FreqS, 7);
  EXPECT_EQ(setting.fLogGraph, 1);
}

TEST_F(FftSettingDialogTest, RelativeDisplayHoldsTheTopAtZeroDb) {
  setting.index_dB_max = 0;
  Open();
  dialog->CheckBoxAbsodB->click();
  EXPECT_FALSE(dialog->ComboBoxdBS->isEnabled());
  Pick(dialog->ComboBoxdBS, 5);
  dialog->ComboBoxdBSChange();
  EXPECT_EQ(dialog->ComboBoxdBS->currentData().toInt(), 2);
  dialog->CheckBoxAbsodB->click();
  EXPECT_TRUE(dialog->ComboBoxdBS->isEnabled());
  EXPECT_EQ(dialog->ComboBoxdBS->currentData().toInt(), 2) << "absolute again keeps 0 dB";
}

TEST_F(FftSettingDialogTest, EveryCloseButSetCancelsAndWritesNothing) {
  const std::function<void(TFormFFTSetting&)> closes[] = {
      [](TFormFFTSetting& d) { d.CancelBtnClick(); },
      [](TFormFFTSetting& d) { d.reject(); },  // Esc and the window's close
      [](TFormFFTSetting& d) { d.close(); },
  };
  for (const auto& close : closes) {
    const FftSetting before = setting;
    const SaveSetting saveBefore = save;
    Open();
    dialog->show();
    dialog->DefaultBtnClick();
    dialog->CheckSigVolt->click();
    cancelled = 0;  // the flag must be set by the close itself
    close(*dialog);
    EXPECT_EQ(cancelled, 1);
    EXPECT_EQ(setting, before);
    EXPECT_EQ(save, saveBefore);
  }
}

TEST_F(FftSettingDialogTest, TheFileButtonAndFieldStayInsideTheSaveGroupsFrame) {
  // The contents area lies below the title and the frame's top line and within its sides.
  const QRect inside = dialog->GroupBox6->contentsRect();
  for (const QWidget* control : {static_cast<QWidget*>(dialog->FileBtn), static_cast<QWidget*>(dialog->EditFileName)}) {
    EXPECT_TRUE(inside.contains(control->geometry()))
        << control->metaObject()->className() << " at " << control->geometry().top() << ".."
        << control->geometry().bottom() << " crosses the frame inside " << inside.top() << ".." << inside.bottom();
  }
  EXPECT_FALSE(dialog->FileBtn->geometry().intersects(dialog->EditFileName->geometry()));
  EXPECT_FALSE(dialog->FileBtn->geometry().intersects(dialog->CheckSaveData->geometry()));
}

TEST_F(FftSettingDialogTest, CheckingTheBoxWithoutAFileAsksForOne) {
  save.DataFileName.clear();
  Open();
  dialog->CheckSaveData->click();  // the prompter cancels the file dialog
  EXPECT_FALSE(dialog->CheckSaveData->isChecked());
  ASSERT_EQ(prompter.fileDialogs.size(), 1U);
  EXPECT_EQ(prompter.fileDialogs[0].initialName, "*.DTA");
}

TEST_F(FftSettingDialogTest, SavingWithoutAFileIsRefusedWithTheQvBox) {
  save = {1, "", ""};
  Open();
  const FftSetting before = setting;
  dialog->SetBtnClick();
  ASSERT_EQ(prompter.messages.size(), 1U);
  EXPECT_EQ(prompter.messages[0].text, "データファイルを選択して下さい");
  EXPECT_EQ(prompter.messages[0].caption, "QV");
  EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
  EXPECT_TRUE(results.empty()) << "the dialog stays open";
  EXPECT_EQ(cancelled, 1);
  EXPECT_EQ(setting, before);

  // A long name is shortened by its characters, after decoding: UTF-8 and Shift-JIS alike.
  const struct {
    const char* chosen;
    const char* shown;
  } names[] = {
      {"/home/評価用/計測データ/2026年/十二月/run1.DTA", "/home/...2026年/十二月/run1.DTA"},
      {"/home/\x95\x5d\x89\xbf/\x8c\x76\x91\xaa/2026/december/run1.DTA", "/home/...2026/december/run1.DTA"},
      {"/home/\x83\x65\x83\x58\x83\x67/run1.DTA", "/home/テスト/run1.DTA"},
  };
  for (const auto& n : names) {
    prompter.files = {n.chosen};
    dialog->FileBtnClick();
    EXPECT_EQ(dialog->EditFileName->text().toStdString(), n.shown) << n.chosen;
  }
  prompter.files = {"/data/run9"};
  dialog->FileBtnClick();
  EXPECT_EQ(dialog->EditFileName->text(), "/data/run9.DTA");
  dialog->SetBtnClick();
  EXPECT_EQ(save, (SaveSetting{1, "/data/run9.DTA", ""}));
  EXPECT_EQ(cancelled, 0);
}

TEST_F(FftSettingDialogTest, DefaultsThenSet) {
  setting.whichWindowFunc = 0;
  setting.PenColorGraph = 0;
  save.fSaveDataFile = 1;
  Open();
  EXPECT_EQ(dialog->EditFileName->text(), "/data/run1.DTA");
  dialog->DefaultBtnClick();
  EXPECT_FALSE(dialog->CheckSaveData->isChecked());
  EXPECT_EQ(dialog->EditFileName->text(), "");
  dialog->SetBtnClick();
  EXPECT_EQ(setting, FftSetting{});
  EXPECT_EQ(save, (SaveSetting{0, "/data/run1.DTA", ""})) << "the selected file stays, the start time goes";
}

TEST_F(FftSettingDialogTest, ColourBoxesTakeAConfirmedColour) {
  prompter.colors = {0x00FF00, std::nullopt, 0x123456};
  Open();
  dialog->PaintBoxClick(2);
  EXPECT_EQ(dialog->PaintBoxes[2]->Canvas().pixelColor(12, 10), QColor(0, 0xFF, 0));
  dialog->PaintBoxClick(3);  // cancelled
  dialog->PaintBoxClick(0);
  const FftSetting shown;
  EXPECT_EQ(prompter.colorDialogs,
            (std::vector<std::int32_t>{shown.PenColorSubAxis, shown.PenColorRefGraph, shown.PenColorGraph}))
      << "the colour dialog starts at the box's colour";
  dialog->SetBtnClick();
  EXPECT_EQ(setting.PenColorSubAxis, 0x00FF00);
  EXPECT_EQ(setting.PenColorRefGraph, FftSetting{}.PenColorRefGraph);
  EXPECT_EQ(setting.PenColorGraph, 0x123456);
}

}  // namespace
