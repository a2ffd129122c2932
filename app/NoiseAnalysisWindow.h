// TFormNoiseAnalysis: the companion window "ノイズ解析" of the main window, opened from
// 解析 → ノイズ解析. Not modal; it keeps its place and size while the program runs
// (closing it hides it). A thin view over the session: on MeasurementChanged, its one
// entry point, it takes the current measurement and the reference from the session
// state, lets app/AnalysisFigures.h compute what it shows and draws the pictures of
// display/ (the same pictures zemtra-cli writes), in four tabs:
//   数値        the table of noise figures (volts and codes) and tone metrics, of the
//               measurement and of the reference beside it; copied as text;
//   ノイズ密度  the density on log–log axes with the reference's, the band (set in the
//               fields or by dragging across the plot) shaded and its noise, Welch's
//               segment length, the reading under the mouse;
//   ヒストグラム, アラン偏差  the histogram of codes with its Gaussian, the Allan
//               deviation.
// Each picture can be saved as PNG through the prompter, which asks before replacing
// a file. While hidden it computes nothing; it catches up when shown.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "app/AnalysisFigures.h"
#include "display/DensityFigure.h"

class DialogPrompter;
class MeasurementSession;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QTableWidget;

// A picture shown at its own size, or a note where there is none; reports the mouse
// in the picture's pixels.
class PictureView : public QWidget {
  Q_OBJECT

 public:
  explicit PictureView(QWidget* parent = nullptr);

  // A null picture shows the note.
  void SetPicture(QImage picture);
  const QImage& Picture() const { return picture_; }
  void SetNote(const QString& note);

 signals:
  void MouseMoved(int x, int y);
  void MousePressed(int x, int y);
  void MouseReleased(int x, int y);
  void MouseLeft();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QImage picture_;
  QString note_;
};

class TFormNoiseAnalysis : public QWidget {
  Q_OBJECT

 public:
  // The plots, in the order of their tabs after the table.
  enum class Plot { Density, Histogram, Allan, kCount };

  // The session outlives the window; the prompter answers the save dialog and boxes.
  TFormNoiseAnalysis(const MeasurementSession& session, DialogPrompter& prompter, QWidget* parent = nullptr);

  // What the window last computed, and the user's choices.
  const SessionAnalysis& Analysis() const { return analysis_; }
  const DensityChoice& Choice() const { return choice_; }
  // The text the copy command puts on the clipboard.
  std::string FiguresClipboardText() const;

  QTabWidget* Tabs() const { return tabs_; }
  QTableWidget* FiguresTable() const { return table_; }
  PictureView* View(Plot plot) const { return views_[static_cast<std::size_t>(plot)]; }
  QLineEdit* BandLowEdit() const { return bandLow_; }
  QLineEdit* BandHighEdit() const { return bandHigh_; }
  QComboBox* SegmentBox() const { return segments_; }
  QLabel* BandNoiseLabel() const { return bandNoise_; }
  QLabel* ReadoutLabel() const { return readout_; }
  QPushButton* SaveButton(Plot plot) const { return saveButtons_[static_cast<std::size_t>(plot)]; }
  QPushButton* CopyButton() const { return copy_; }

 public slots:
  // The one entry point: the measurement, the reference or the display settings
  // changed. The update runs once the main window's command has ended (several
  // notifications of one command make one update), and only while the window shows.
  void MeasurementChanged();
  // Computes and draws everything now (the deferred update's work).
  void Refresh();
  void CopyFigures();
  // Asks for a file and writes the plot's picture as PNG.
  void SavePicture(Plot plot);
  // The band in the fields, when valid; otherwise the fields go back to the band.
  void ApplyBandFields();
  void ApplySegmentChoice();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* MakeTableTab();
  QWidget* MakeDensityTab();
  QWidget* MakePlotTab(Plot plot);
  QScrollArea* Scrolled(PictureView* view);
  // Runs a slot's work; an exception is shown in a box (none crosses a slot).
  void Guarded(const std::function<void()>& work);
  // The first size: every picture whole, within the screen.
  void FitPictures();

  void SetBand(const FrequencyBand& band);
  void FillSegmentChoices();
  void ShowTable();
  void ShowDensity();
  void ShowHistogram();
  void ShowAllan();
  void ShowBandNoise();
  DensityFigure Figure() const;
  void DensityMouseMoved(int x);
  void DensityMousePressed(int x);
  void DensityMouseReleased(int x);

  const MeasurementSession& session_;
  DialogPrompter& prompter_;
  DensityChoice choice_;
  SessionFigures figures_;
  SessionAnalysis analysis_;
  std::optional<DensityPlot> densityPlot_;  // the axes of the density picture shown
  std::optional<int> dragFrom_;             // the column a drag across the density began at
  bool stale_ = true;                       // a change came while the window was hidden
  QTimer update_;                           // single-shot: the deferred update

  QTabWidget* tabs_;
  QTableWidget* table_ = nullptr;
  QLabel* tableNote_ = nullptr;  // which records the table shows
  QPushButton* copy_ = nullptr;
  std::array<PictureView*, static_cast<std::size_t>(Plot::kCount)> views_{};
  std::array<QPushButton*, static_cast<std::size_t>(Plot::kCount)> saveButtons_{};
  std::vector<QScrollArea*> scrolls_;
  QLineEdit* bandLow_ = nullptr;
  QLineEdit* bandHigh_ = nullptr;
  QComboBox* segments_ = nullptr;
  QLabel* bandNoise_ = nullptr;
  QLabel* readout_ = nullptr;
};
