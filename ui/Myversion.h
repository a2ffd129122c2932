// TFormVersion: the small window about the program. It has no controls: it paints the
// product name with its version and two maker lines, and any click into it closes it.
#pragma once

#include <QDialog>
#include <QString>

class TFormVersion : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 192;
  static constexpr int kClientHeight = 93;

  explicit TFormVersion(QWidget* parent = nullptr);

  static QString ProductName();  // "Zemtra"
  static QString Version();      // "v1.1": the major and minor of the project's version

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
};
