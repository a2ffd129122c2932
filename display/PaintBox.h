// A plain paint area of the main window: it shows its canvas, an image of its own
// size that the graph draws the framed bitmap into, and reports mouse presses.
#pragma once

#include <QImage>
#include <QWidget>

class PaintBox : public QWidget {
  Q_OBJECT

 public:
  explicit PaintBox(QWidget* parent = nullptr);

  // The image the box shows, always of the box's current size (white when new).
  QImage& Canvas();
  // Shows the canvas as it now is.
  void Present() { update(); }

 signals:
  // A mouse button went down at (x, y) in box pixels.
  void MousePressed(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QImage canvas_;
};
