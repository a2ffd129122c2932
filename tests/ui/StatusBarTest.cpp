// The status bar reporter in the program's font, the version dialog, and how texts
// read from files are shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>

#include "QtTestApp.h"
#include "ui/FileText.h"
#include "ui/Mystatus.h"
#include "ui/Myversion.h"
#include "ui/QtPrompter.h"
#include "ui/StatusBar.h"
#include "ui/UiFont.h"

namespace {

class StatusBarTest : public ::testing::Test {
 protected:
  void SetUp() override { bar.setFont(UiFont()); }
  int TextWidth(const QString& text) const { return QFontMetrics(bar.font()).horizontalAdvance(text); }

  StatusBar bar;
  TmyStatus status{bar, "QT4418PX", 2};
};

TEST_F(StatusBarTest, PanelsTakeTheirTextsWidthsInTheBarsFont) {
  status.ShowMeasuring();
  EXPECT_EQ(bar.PanelText(1).toStdString(), "計測中です");
  EXPECT_LE(TextWidth(bar.PanelText(1)), 100) << "a short notice in the 12-pixel font";
  EXPECT_EQ(bar.PanelWidth(1), 110);

  status.ShowProgress(32, 8388608);
  const QString progress = bar.PanelText(2);
  EXPECT_EQ(progress.toStdString(), "データ番号：32 / AD変換値：8388608");
  EXPECT_GT(TextWidth(progress), 100);
  EXPECT_EQ(bar.PanelWidth(2), TextWidth(progress) + 10);

  status.ShowNotFound();
  EXPECT_EQ(bar.PanelText(0).toStdString(), "QT4418PXが見つかりませんでした");
  EXPECT_EQ(bar.PanelWidth(0), TextWidth(bar.PanelText(0)) + 10);
  EXPECT_EQ(bar.childAt(bar.PanelWidth(0) + 1, 5), bar.childAt(bar.PanelWidth(0) + 100, 5))
      << "panel 1 follows panel 0 wherever it ends";

  const int widths[] = {bar.PanelWidth(1), bar.PanelWidth(2)};
  status.ClearMeasurePanels();
  EXPECT_TRUE(bar.PanelText(1).isEmpty());
  EXPECT_TRUE(bar.PanelText(2).isEmpty());
  EXPECT_EQ(bar.PanelWidth(1), widths[0]) << "cleared panels keep their widths";
  EXPECT_EQ(bar.PanelWidth(2), widths[1]);

  TmyStatus twoPanels(bar, "QT4418PX", 1);
  twoPanels.ShowStarting();
  EXPECT_TRUE(bar.PanelText(2).isEmpty()) << "beyond the reporter's last panel";
}

TEST_F(StatusBarTest, AClickAnywhereOnTheBarIsReported) {
  int clicks = 0;
  QObject::connect(&bar, &StatusBar::Clicked, [&] { ++clicks; });
  bar.resize(812, StatusBar::kHeight);
  for (const QPointF at : {QPointF(5, 5), QPointF(700, 10)}) {
    QMouseEvent release(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar.childAt(at.toPoint()) != nullptr ? bar.childAt(at.toPoint()) : &bar, &release);
  }
  EXPECT_EQ(clicks, 2);
}

TEST(VersionDialog, PaintsItsLinesAndAnyClickClosesIt) {
  TFormVersion dialog;
  EXPECT_EQ(dialog.windowTitle().toStdString(), "Zemtraについて");
  // The project's version, major and minor: the same as --version and the package.
  EXPECT_EQ(TFormVersion::Version().toStdString(), "v1.1");
  EXPECT_EQ(dialog.size(), QSize(192, 93));
  const QImage painted = dialog.grab().toImage();
  const auto inkIn = [&](const QRect& area) {
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) ink += qGray(painted.pixel(x, y)) < 128 ? 1 : 0;
    }
    return ink;
  };
  EXPECT_GT(inkIn({60, 15, 100, 16}), 0) << "Zemtra v1.1";
  EXPECT_GT(inkIn({40, 40, 100, 15}), 0) << "the maker";
  EXPECT_GT(inkIn({20, 65, 150, 12}), 0) << "the maker's address";
  EXPECT_EQ(inkIn({0, 0, 192, 12}), 0) << "nothing above the title";

  int finished = 0;
  QObject::connect(&dialog, &QDialog::finished, [&] { ++finished; });
  dialog.open();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 80), QPointF(3, 80), Qt::RightButton, Qt::RightButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&dialog, &press);
  EXPECT_EQ(finished, 1);
  EXPECT_FALSE(dialog.isVisible());
}

TEST(FileText, Utf8ElseShiftJisElseReplacementCharacters) {
  const struct {
    const char* bytes;
    const char* shown;
  } rows[] = {
      {"D:\\data\\run1.DTA", "D:\\data\\run1.DTA"},
      {"/data/計測.DTA", "/data/計測.DTA"},
      {"\x83\x65\x83\x58\x83\x67.DTA", "テスト.DTA"},  // written on Windows
      {"\x83\x65\x83",
       "\xef\xbf\xbd"
       "e"
       "\xef\xbf\xbd"},  // cut inside a character: neither
      {"\xff\xfe", "\xef\xbf\xbd\xef\xbf\xbd"},
  };
  for (const auto& r : rows) EXPECT_EQ(FileText(r.bytes).toStdString(), r.shown) << r.bytes;
}

// Every path a box, a field or a caption shows: decoded as FileText decodes, and
// shortened by characters after the decoding.
TEST(FileText, PathsInFieldsAndBoxesAreDecodedThenShortenedByCharacters) {
  const struct {
    const char* bytes;
    const char* field;  // ShortFileText(bytes, 32)
  } rows[] = {
      {"/home/user/data/run1.DTA", "/home/user/data/run1.DTA"},
      // UTF-8 of 34 characters (58 bytes): a byte count would cut inside a character.
      {"/home/評価用/計測データ/2026年/十二月/run1.DTA", "/home/...2026年/十二月/run1.DTA"},
      // Shift-JIS (a Windows file name): decoded, then shortened.
      {"D:\\\x83\x65\x83\x58\x83\x67\\aaaaaaaaaa\\bbbbbbbbbb\\cccccccccc\\run.DTA", nullptr},
  };
  for (const auto& r : rows) {
    const QString field = ShortFileText(r.bytes, 32);
    EXPECT_LE(field.toUcs4().size(), 32) << r.bytes;
    EXPECT_FALSE(field.contains(QChar::ReplacementCharacter)) << r.bytes;
    if (r.field != nullptr) {
      EXPECT_EQ(field.toStdString(), r.field) << r.bytes;
    }
  }
  EXPECT_EQ(ShortFileText("D:\\\x83\x65\x83\x58\x83\x67\\a\\run.DTA", 32).toStdString(), "D:\\テスト\\a\\run.DTA");
  // The overwrite question names the file as the caption does.
  EXPECT_EQ(QtPrompter().PathText("/data/\x83\x65\x83\x58\x83\x67.DTA"), "/data/テスト.DTA");
  EXPECT_EQ(QtPrompter().PathText("/data/計測.DTA"), "/data/計測.DTA");
}

}  // namespace
