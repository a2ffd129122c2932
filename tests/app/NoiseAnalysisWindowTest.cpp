// The noise analysis window beside the main window: its menu, its life as a window of
// its own, how it follows the measurement, the band and segment choices, the pictures
// saved as PNG and the figures copied as text.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include "WindowTestSupport.h"
#include "app/NoiseAnalysisWindow.h"
#include "display/DensityPlot.h"

namespace {

using Plot = TFormNoiseAnalysis::Plot;

class NoiseAnalysisWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WriteDefaults();
    Open();
  }
  TFormNoiseAnalysis& Analysis() { return *window->NoiseAnalysis(); }
  // Opens the window from its menu and lets its deferred update run.
  void OpenAnalysis() {
    window->Menu().MenuNoiseAnalysis->trigger();
    QCoreApplication::processEvents();
  }
  void Trigger(QAction*(MainMenu::*item)) {
    (window->Menu().*item)->trigger();
    QCoreApplication::processEvents();
  }
  std::string Cell(int row, int column) { return Analysis().FiguresTable()->item(row, column)->text().toStdString(); }
};

TEST_F(NoiseAnalysisWindowTest, ItsMenuStandsBeforeHelpAndOpensOneWindowThatKeepsItsPlace) {
  QStringList titles;
  for (QAction* menu : window->menuBar()->actions()) titles << menu->text();
  EXPECT_EQ(titles.join(" ").toStdString(),
            "ファイル(&F) 計測(&M) データ(&D) 設定(&S) 参照データ(&R) 解析(&A) ヘルプ(&H)");
  EXPECT_EQ(window->Menu().MenuAnalysis->actions().front(), window->Menu().MenuNoiseAnalysis);
  EXPECT_EQ(window->Menu().MenuNoiseAnalysis->text().toStdString(), "ノイズ解析(&N)");

  EXPECT_EQ(window->NoiseAnalysis(), nullptr) << "made when first asked for";
  OpenAnalysis();
  ASSERT_TRUE(Analysis().isVisible());
  EXPECT_TRUE(Analysis().isWindow());
  EXPECT_FALSE(Analysis().isModal()) << "the main window stays usable";
  EXPECT_EQ(Analysis().windowTitle().toStdString(), "ノイズ解析");
  EXPECT_EQ(Analysis().font(), window->font()) << "the same UI font";
  EXPECT_EQ(Analysis().Tabs()->count(), 4);

  const QRect placed(40, 60, 700, 500);
  Analysis().setGeometry(placed);
  Analysis().close();
  EXPECT_FALSE(Analysis().isVisible());
  OpenAnalysis();
  EXPECT_TRUE(Analysis().isVisible());
  EXPECT_EQ(Analysis().geometry(), placed) << "the place and size it had";
  EXPECT_EQ(window->findChildren<TFormNoiseAnalysis*>().size(), 1U) << "one window, raised again";

  Press();
  EXPECT_TRUE(window->Menu().MenuAnalysis->menuAction()->isEnabled()) << "it may be watched during a measurement";
  Tick();
}

TEST_F(NoiseAnalysisWindowTest, ItFollowsTheMeasurementTheReferenceAndTheirClearing) {
  OpenAnalysis();
  EXPECT_FALSE(Analysis().Analysis().current);
  EXPECT_TRUE(Analysis().View(Plot::Density)->Picture().isNull()) << "nothing to draw yet";
  EXPECT_EQ(Analysis().FiguresTable()->rowCount(), 0);

  Measure();
  QCoreApplication::processEvents();
  ASSERT_TRUE(Analysis().Analysis().current);
  EXPECT_EQ(Analysis().Analysis().current->samples, 1024);
  EXPECT_FALSE(Analysis().Analysis().reference);
  for (const Plot plot : {Plot::Density, Plot::Histogram, Plot::Allan}) {
    EXPECT_EQ(Analysis().View(plot)->Picture().size(), QSize(kDensityPictureWidth, kDensityPictureHeight));
  }
  EXPECT_TRUE(Analysis().Analysis().current->figures.tone) << "the simulated 600 Hz sine";
  EXPECT_EQ(Cell(0, 0), "フルスケール (FSR)");
  EXPECT_EQ(Cell(0, 1), "39.06 mV");
  EXPECT_TRUE(Analysis().FiguresTable()->isColumnHidden(3)) << "no reference column";
  const std::string sigma = Cell(2, 2);  // in codes

  // The quiet sine as the reference of a noisier one.
  const std::string reference = (dir / "ref.DTA").string();
  prompter.files = {reference};
  Trigger(&MainMenu::MenuDataSave);
  Open("noise=off,ch0=sine:600:1e-3+white:1e-5");
  OpenAnalysis();
  Measure();
  QCoreApplication::processEvents();
  const QImage alone = Analysis().View(Plot::Density)->Picture().copy();
  prompter.files = {reference};
  Trigger(&MainMenu::MenuRefLoadFile);
  ASSERT_TRUE(Analysis().Analysis().reference);
  EXPECT_FALSE(Analysis().FiguresTable()->isColumnHidden(3));
  EXPECT_EQ(Cell(2, 4), sigma) << "the reference's σ beside the measurement's";
  EXPECT_NE(Cell(2, 2), sigma);
  EXPECT_NE(Analysis().View(Plot::Density)->Picture(), alone) << "the reference's curve drawn";

  Trigger(&MainMenu::MenuRefClear);
  EXPECT_FALSE(Analysis().Analysis().reference);
  EXPECT_EQ(Analysis().View(Plot::Density)->Picture(), alone);

  prompter.files = {(dir / "next").string()};
  prompter.answers = {true};  // the measurement may go
  Trigger(&MainMenu::MenuFileNew);
  EXPECT_FALSE(Analysis().Analysis().current) << "a new file drops the measurement";
  EXPECT_TRUE(Analysis().View(Plot::Histogram)->Picture().isNull());

  // Hidden, it computes nothing and catches up when shown again.
  Analysis().close();
  Measure();
  QCoreApplication::processEvents();
  EXPECT_FALSE(Analysis().Analysis().current);
  OpenAnalysis();
  EXPECT_TRUE(Analysis().Analysis().current);
}

TEST_F(NoiseAnalysisWindowTest, TheBandAndTheSegmentAreTheUsersChoice) {
  OpenAnalysis();
  Measure();
  QCoreApplication::processEvents();
  TFormNoiseAnalysis& a = Analysis();
  EXPECT_EQ(a.BandLowEdit()->text().toStdString(), "0.1");
  EXPECT_EQ(a.BandHighEdit()->text().toStdString(), "10");
  EXPECT_NE(a.BandNoiseLabel()->text().toStdString().find("帯域が範囲"), std::string::npos)
      << "1024 samples reach down to 4.69 Hz only: " << a.BandNoiseLabel()->text().toStdString();

  a.BandLowEdit()->setText("10");
  a.BandHighEdit()->setText("1000");
  a.ApplyBandFields();
  EXPECT_DOUBLE_EQ(a.Choice().band.f1, 10.0);
  EXPECT_DOUBLE_EQ(a.Choice().band.f2, 1000.0);
  EXPECT_NE(a.BandNoiseLabel()->text().toStdString().find("RMS"), std::string::npos);

  a.BandHighEdit()->setText("5");  // below the low end
  a.ApplyBandFields();
  EXPECT_DOUBLE_EQ(a.Choice().band.f2, 1000.0) << "a wrong band changes nothing";
  EXPECT_EQ(a.BandHighEdit()->text().toStdString(), "1000") << "the field shows the band again";

  // A drag across the plot, from the column of 100 Hz to that of 1 kHz.
  const auto plot = DensityFigurePlot(
      {{a.Analysis().current->density->density, a.Analysis().current->density->deltaF}, {}, std::nullopt, "", ""});
  ASSERT_TRUE(plot);
  const int left = DensityPlotBox().left + kDensityFrame;
  emit a.View(Plot::Density)->MousePressed(left + plot->X(1000.0), 100);
  emit a.View(Plot::Density)->MouseReleased(left + plot->X(100.0) + 1, 100);
  EXPECT_NEAR(a.Choice().band.f1, 100.0, 1.0);
  EXPECT_NEAR(a.Choice().band.f2, 1000.0, 10.0);
  emit a.View(Plot::Density)->MouseMoved(left + plot->X(600.0), 100);
  const std::string reading = a.ReadoutLabel()->text().toStdString();
  EXPECT_NEAR(std::stod(reading), 600.0, 600.0 * 0.02) << "within a pixel: " << reading;
  EXPECT_NE(reading.find(" Hz  測定データ "), std::string::npos) << reading;

  const int index = a.SegmentBox()->findData(256);
  ASSERT_GE(index, 0);
  EXPECT_EQ(a.SegmentBox()->currentData().toInt(), 0) << "the whole record by default";
  a.SegmentBox()->setCurrentIndex(index);
  a.ApplySegmentChoice();
  EXPECT_EQ(a.Analysis().current->density->segmentLength, 256);
  EXPECT_EQ(a.Analysis().current->density->segments, 7);
  Measure();
  QCoreApplication::processEvents();
  EXPECT_EQ(a.Analysis().current->density->segmentLength, 256) << "the choice holds for the next measurement";
}

TEST_F(NoiseAnalysisWindowTest, PicturesAreSavedAsPngAndTheFiguresCopiedAsText) {
  OpenAnalysis();
  Measure();
  QCoreApplication::processEvents();
  TFormNoiseAnalysis& a = Analysis();

  const struct {
    Plot plot;
    const char* title;
  } rows[] = {{Plot::Density, "ノイズ密度のPNG保存"},
              {Plot::Histogram, "ヒストグラムのPNG保存"},
              {Plot::Allan, "アラン偏差のPNG保存"}};
  for (const auto& r : rows) {
    const fs::path stem = dir / r.title;
    prompter.fileDialogs.clear();
    prompter.files = {stem.string()};
    a.SaveButton(r.plot)->click();
    ASSERT_EQ(prompter.fileDialogs.size(), 1U);
    EXPECT_EQ(prompter.fileDialogs[0].title, r.title);
    EXPECT_EQ(prompter.fileDialogs[0].filter, "PNG画像 (*.png)");
    const QImage saved(QString::fromStdString(stem.string() + ".png"));
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), a.View(r.plot)->Picture()) << r.title;
  }

  const fs::path kept = dir / "kept.png";
  WriteBytes(kept, "mine");
  prompter.files = {kept.string()};
  prompter.answers = {false};
  a.SaveButton(Plot::Density)->click();
  EXPECT_EQ(prompter.questions.size(), 1U) << "asked before replacing";
  EXPECT_EQ(ReadBytes(kept), "mine");

  prompter.files = {(dir / "no-such-directory" / "x.png").string()};
  a.SaveButton(Plot::Allan)->click();
  ASSERT_EQ(prompter.messages.size(), 1U);
  EXPECT_EQ(prompter.messages[0].text.rfind("PNGファイルを保存できませんでした", 0), 0U);

  QGuiApplication::clipboard()->clear();
  a.CopyButton()->click();
  const std::string copied = QGuiApplication::clipboard()->text().toStdString();
  EXPECT_EQ(copied, a.FiguresClipboardText());
  EXPECT_EQ(copied.rfind("measurement:\nnoise: σ ", 0), 0U) << copied;
  EXPECT_NE(copied.find("\ntone: 600.0"), std::string::npos) << copied;
}

}  // namespace
