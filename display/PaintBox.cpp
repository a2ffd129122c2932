#include "display/PaintBox.h"

#include <QMouseEvent>
#include <QPainter>

PaintBox::PaintBox(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

QImage& PaintBox::Canvas() {
  // Sized on demand: a hidden widget gets its resize event only when shown.
  if (canvas_.size() != size()) {
    canvas_ = QImage(size(), QImage::Format_RGB32);
    canvas_.fill(Qt::white);
  }
  return canvas_;
}

void PaintBox::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.drawImage(0, 0, Canvas());
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  emit MousePressed(at.x(), at.y());
}
