// A plain paint area of the main window: it shows its canvas, an image of its own
// size that the graph draws the framed bitmap into, and reports mouse presses.
#pragma once

#include <QImage>
#include <QWidget>

#include "display/GraphParts.h"

class PaintBox : public QWidget, public GraphBox {
  Q_OBJECT

 public:
  explicit PaintBox(QWidget* parent = nullptr);

  // The image the box shows, always of the box's current size (white when new).
  QImage& Canvas() override;
  // Shows the canvas as it now is.
  void Present() override { update(); }

  QSize Size() const override { return size(); }
  void SetGeometry(const QRect& geometry) override { setGeometry(geometry); }
  bool Shown() const override { return !isHidden(); }
  void SetShown(bool shown) override { setVisible(shown); }

 signals:
  // A mouse button went down at (x, y) in box pixels.
  void MousePressed(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QImage canvas_;
};
