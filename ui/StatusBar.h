// StatusBar1: the main window's status bar, three text panels side by side that the
// program sizes one by one. It is placed by its owner (it takes no room from a
// layout) and reports a click anywhere on it.
#pragma once

#include <QFrame>
#include <QString>
#include <array>

class QLabel;

class StatusBar : public QFrame {
  Q_OBJECT

 public:
  static constexpr int kPanelCount = 3;
  static constexpr int kInitialPanelWidth = 50;
  static constexpr int kHeight = 20;

  explicit StatusBar(QWidget* parent = nullptr);

  QString PanelText(int index) const;
  int PanelWidth(int index) const;
  // The text alone; the panel keeps its width.
  void SetPanelText(int index, const QString& text);
  // The width; the panels to its right move with it.
  void SetPanelWidth(int index, int width);

 signals:
  void Clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void PlacePanels();

  std::array<QLabel*, kPanelCount> panels_{};
};
