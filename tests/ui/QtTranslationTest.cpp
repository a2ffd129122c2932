// The window's texts and Qt's own in the interface language: the standard dialogs and
// the boxes' buttons read Japanese once its translation is installed; in English the
// window's texts come from the program's own translation.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTranslator>

#include "QtTestApp.h"
#include "ui/QtTranslation.h"

namespace {

class QtTranslationTest : public ::testing::Test {
 protected:
  // The other tests of the binary see Qt's texts as they were.
  void TearDown() override {
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
      QCoreApplication::removeTranslator(translator);
      delete translator;
    }
  }
  static bool HasJapanese(const QString& text) {
    for (const QChar c : text) {
      if (c.unicode() >= 0x3040) return true;  // kana, CJK ideographs and full-width forms
    }
    return false;
  }
  static QStringList LabelTexts(const QWidget& widget) {
    QStringList texts;
    for (const QLabel* label : widget.findChildren<QLabel*>()) texts << label->text();
    return texts;
  }
};

TEST_F(QtTranslationTest, StandardDialogsAndButtonsReadJapanese) {
  const InstalledTranslations installed = InstallTranslations(*qApp, Language::Japanese);
  EXPECT_TRUE(installed.window) << "Japanese is the window's own language";
  ASSERT_TRUE(installed.qt) << "qt6-translations-l10n is not installed";
  // "OK" stays "OK" in Japanese too.
  QMessageBox box(QMessageBox::Question, "Zemtra", "?", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  for (QAbstractButton* button : box.buttons()) EXPECT_TRUE(HasJapanese(button->text())) << button->text().toStdString();

  // What the window shows without a desktop's own dialogs: Qt draws them.
  QFileDialog files;
  files.setOption(QFileDialog::DontUseNativeDialog);
  const QStringList fileLabels = LabelTexts(files);
  EXPECT_FALSE(fileLabels.contains("Look in:"));
  EXPECT_FALSE(fileLabels.contains("File &name:"));

  QColorDialog colors;
  colors.setOption(QColorDialog::DontUseNativeDialog);
  EXPECT_TRUE(HasJapanese(colors.windowTitle())) << colors.windowTitle().toStdString();

  QPrinter printer;
  QPrintDialog print(&printer);
  EXPECT_TRUE(HasJapanese(print.windowTitle())) << print.windowTitle().toStdString();
  QPageSetupDialog page(&printer);
  EXPECT_TRUE(HasJapanese(page.windowTitle())) << page.windowTitle().toStdString();
}

TEST_F(QtTranslationTest, EnglishReplacesTheWindowsTextsAndLeavesQtsOwn) {
  const InstalledTranslations installed = InstallTranslations(*qApp, Language::English);
  ASSERT_TRUE(installed.window) << "the program's English translation is not among its resources";
  EXPECT_TRUE(installed.qt);
  EXPECT_EQ(QCoreApplication::translate("MainMenu", "ファイル(&F)"), "&File");
  EXPECT_EQ(QCoreApplication::translate("TFormFFTSetting", "－１００ｄＢ"), "-100 dB");
  QMessageBox box(QMessageBox::Question, "Zemtra", "?", QMessageBox::Yes | QMessageBox::No);
  for (QAbstractButton* button : box.buttons())
    EXPECT_FALSE(HasJapanese(button->text())) << button->text().toStdString();
}

TEST_F(QtTranslationTest, WithoutATranslationTheTextsStayTheirOwn) {
  EXPECT_EQ(QCoreApplication::translate("MainMenu", "ファイル(&F)"), "ファイル(&F)");
  InstallTranslations(*qApp, Language::Japanese);
  EXPECT_EQ(QCoreApplication::translate("MainMenu", "ファイル(&F)"), "ファイル(&F)");
}

}  // namespace
