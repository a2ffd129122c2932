// The English texts fit where the window's fixed geometry puts them: every label,
// button and group title of the main window and both settings dialogs is as wide as
// its text needs, measured with the UI font; the Japanese too.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTranslator>
#include <algorithm>

#include "WindowTestSupport.h"
#include "adc/Amp_setting.h"
#include "display/Fft_setting.h"
#include "model/TextCatalogue.h"
#include "ui/QtTranslation.h"

namespace {

// The widgets under root whose text is wider than they are, one line each.
std::string CutTexts(const QWidget& root) {
  QStringList cut;
  const auto check = [&](const QWidget& widget, const QString& text, int needed) {
    // What the parent clips off is as lost as what the widget does.
    const QWidget* parent = widget.parentWidget();
    const int room =
        parent == nullptr || &widget == &root ? widget.width() : std::min(widget.width(), parent->width() - widget.x());
    if (widget.isVisibleTo(&root) && needed > room) {
      cut << QStringLiteral("'%1' needs %2 px, has %3").arg(text).arg(needed).arg(room);
    }
  };
  for (const QLabel* label : root.findChildren<QLabel*>()) {
    if (!label->text().isEmpty() && !label->wordWrap()) check(*label, label->text(), label->sizeHint().width());
  }
  for (const QAbstractButton* button : root.findChildren<QAbstractButton*>()) {
    if (button->text().isEmpty()) continue;
    if (qobject_cast<const QPushButton*>(button) != nullptr) {
      // A push button's size hint has a minimum width of the style's; its text needs
      // only its own width and the button's margins.
      const QString shown = QString(button->text()).remove(QLatin1Char('&'));
      const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin);
      check(*button, shown, button->fontMetrics().horizontalAdvance(shown) + 2 * margin);
    } else {
      check(*button, button->text(), button->sizeHint().width());
    }
  }
  for (const QGroupBox* group : root.findChildren<QGroupBox*>()) {
    // The title stands inside the frame, a margin on either side.
    const int margin = group->style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    check(*group, group->title(), group->fontMetrics().horizontalAdvance(group->title()) + 2 * margin);
  }
  return cut.join(QLatin1Char('\n')).toStdString();
}

class EnglishFit : public WindowTest, public ::testing::WithParamInterface<Language> {
 protected:
  void SetUp() override {
    InstallTranslations(*qApp, GetParam());
    SetTextLanguage(GetParam());
    WriteDefaults();
  }
  void TearDown() override {
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
      QCoreApplication::removeTranslator(translator);
      delete translator;
    }
    SetTextLanguage(Language::Japanese);
  }
};

TEST_P(EnglishFit, EveryTextFitsItsPlace) {
  Open();
  EXPECT_EQ(CutTexts(*window), "") << "main window";
  TFormFFTSetting fft(prompter);
  EXPECT_EQ(CutTexts(fft), "") << fft.windowTitle().toStdString();
  TFormAmpSetting amp;
  EXPECT_EQ(CutTexts(amp), "") << amp.windowTitle().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Languages, EnglishFit, ::testing::Values(Language::English, Language::Japanese),
                         [](const auto& info) { return std::string(LanguageCode(info.param)); });

}  // namespace
