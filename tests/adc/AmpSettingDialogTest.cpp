// The converter settings dialog offscreen: tests set the controls and call the slots.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <memory>

#include "QtTestApp.h"
#include "adc/Amp_setting.h"

namespace {

// The next widget the Tab key can reach.
const QWidget* NextTabStop(const QWidget* widget) {
  do {
    widget = widget->nextInFocusChain();
  } while ((widget->focusPolicy() & Qt::TabFocus) == 0);
  return widget;
}

class AmpSettingDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = std::make_unique<TFormAmpSetting>();
    setting.spsSel = 4;
    setting.GainSel = 1;
    setting.Gain = 8;
    setting.chop_on = 1;
  }
  void Open() {
    cancelled = 1;  // as the caller does before every showing
    dialog->SetupDialog(setting, cancelled);
  }

  std::unique_ptr<TFormAmpSetting> dialog;
  AdUnitSetting setting;
  std::uint8_t cancelled = 1;
};

TEST_F(AmpSettingDialogTest, ControlsAndTabOrder) {
  EXPECT_EQ(dialog->windowTitle(), "QT4418PX 設定");
  EXPECT_EQ(dialog->size(), QSize(332, 222));
  EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
  const struct {
    QComboBox* list;
    int count;
    const char *first, *last;
  } rows[] = {
      {dialog->ComboBox1, 13, "5 sps", "4800 sps"},
      {dialog->ComboBox3, 6, "1", "128"},
      {dialog->ComboBox2, 2, "ＣＨ０", "ＣＨ１"},
  };
  for (const auto& r : rows) {
    EXPECT_FALSE(r.list->isEditable()) << r.first;
    ASSERT_EQ(r.list->count(), r.count) << r.first;
    EXPECT_EQ(r.list->itemText(0), QString::fromUtf8(r.first));
    EXPECT_EQ(r.list->itemText(r.count - 1), QString::fromUtf8(r.last));
    for (int item = 0; item < r.count; ++item) EXPECT_EQ(r.list->itemData(item).toInt(), item);
  }
  EXPECT_EQ(dialog->ComboBox1->itemText(9), "960 sps");

  const QWidget* order[] = {dialog->ComboBox1,   dialog->ComboBox3,  dialog->DefaultBtn, dialog->CancelBtn,
                            dialog->SetBtn,      dialog->Sinc3_RBtn, dialog->Sinc4_RBtn, dialog->BUFON_RBtn,
                            dialog->BUFOFF_RBtn, dialog->ComboBox2,  dialog->ComboBox1};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
    EXPECT_EQ(NextTabStop(order[i]), order[i + 1]) << "tab stop " << i;
  }
  EXPECT_TRUE(dialog->SetBtn->isDefault()) << "Enter sets";
}

TEST_F(AmpSettingDialogTest, ShowsTheSetting) {
  setting.sinc3 = 1;
  setting.ch_sel = 1;
  Open();
  EXPECT_EQ(dialog->ComboBox1->currentIndex(), 4);
  EXPECT_EQ(dialog->ComboBox3->currentIndex(), 1);
  EXPECT_EQ(dialog->ComboBox2->currentIndex(), 1);
  EXPECT_TRUE(dialog->Sinc3_RBtn->isChecked());
  EXPECT_TRUE(dialog->BUFOFF_RBtn->isChecked());
}

TEST_F(AmpSettingDialogTest, SetTakesTheControls) {
  Open();
  dialog->ComboBox1->setCurrentIndex(9);
  dialog->ComboBox3->setCurrentIndex(3);
  dialog->ComboBox2->setCurrentIndex(1);
  dialog->Sinc3_RBtn->click();
  dialog->BUFON_RBtn->click();
  dialog->SetBtnClick();
  EXPECT_EQ(cancelled, 0);
  EXPECT_EQ(setting.spsSel, 9);
  EXPECT_EQ(setting.GainSel, 3U);
  EXPECT_EQ(setting.Gain, 32);
  EXPECT_EQ(setting.ch_sel, 1);
  EXPECT_EQ(setting.sinc3, 1);
  EXPECT_EQ(setting.buf_on, 1);
  EXPECT_EQ(setting.chop_on, 1) << "no control for chopping";
}

TEST_F(AmpSettingDialogTest, DefaultsThenSet) {
  Open();
  dialog->Sinc3_RBtn->click();
  dialog->DefaultBtnClick();
  EXPECT_EQ(dialog->ComboBox1->currentIndex(), 12);
  EXPECT_EQ(dialog->ComboBox3->currentIndex(), 5);
  EXPECT_TRUE(dialog->Sinc4_RBtn->isChecked());
  dialog->SetBtnClick();
  EXPECT_EQ(setting, AdUnitSetting{}) << "defaults, chopping off";
}

TEST_F(AmpSettingDialogTest, EveryCloseButSetCancelsAndKeepsTheSetting) {
  const std::function<void(TFormAmpSetting&)> closes[] = {
      [](TFormAmpSetting& d) { d.CancelBtnClick(); }, [](TFormAmpSetting& d) { d.reject(); },  // Esc
      [](TFormAmpSetting& d) { d.close(); },                                                   // the window's close
  };
  for (const auto& close : closes) {
    const AdUnitSetting before = setting;
    Open();
    dialog->show();
    dialog->Sinc3_RBtn->click();
    dialog->DefaultBtnClick();
    dialog->ComboBox2->setCurrentIndex(1);
    cancelled = 0;  // the flag must be set by the close itself
    close(*dialog);
    EXPECT_EQ(cancelled, 1);
    EXPECT_EQ(setting, before);
  }
}

}  // namespace
