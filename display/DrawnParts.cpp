#include "display/DrawnParts.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// QLabel's default alignment; it measures without the vertical centring.
constexpr int kLabelAlignment = Qt::AlignLeft | Qt::AlignVCenter;
constexpr int kMeasureAlignment = Qt::AlignLeft;
// The room QLabel gives a text when it computes its size hint.
constexpr int kMeasureRoom = 2000;

}  // namespace

QImage& CanvasBox::Canvas() {
  if (canvas_.size() != geometry_.size()) {
    canvas_ = QImage(geometry_.size(), QImage::Format_RGB32);
    canvas_.fill(Qt::white);
  }
  return canvas_;
}

void CanvasBox::Draw(QPainter& painter) {
  if (shown_) painter.drawImage(geometry_.topLeft(), Canvas());
}

void DrawnLabel::SetText(const QString& text) {
  text_ = text;
  FitToText();
}

void DrawnLabel::SetHeight(int pixels) {
  fixedHeight_ = pixels;
  FitToText();
}

void DrawnLabel::FitToText() {
  const QRect bounds = QFontMetrics(font_).boundingRect(0, 0, kMeasureRoom, kMeasureRoom, kMeasureAlignment, text_);
  geometry_.setSize({bounds.width(), fixedHeight_ >= 0 ? fixedHeight_ : bounds.height()});
}

void DrawnLabel::Draw(QPainter& painter, const QColor& colour) const {
  if (!shown_ || text_.isEmpty()) return;
  // As a child widget paints: in its own coordinates, clipped to its rectangle.
  painter.save();
  painter.translate(geometry_.topLeft());
  const QRect own(QPoint(0, 0), geometry_.size());
  painter.setClipRect(own);
  painter.setFont(font_);
  painter.setPen(colour);
  painter.drawText(own, kLabelAlignment, text_);
  painter.restore();
}
