// The graph's parts without widgets, for pictures drawn without a display: a box that
// is only its canvas, and a label that sizes and paints its text exactly as the main
// window's QLabel does (AlignLeft | AlignVCenter in its own rectangle, clipped to it,
// as wide as the text's bounding rectangle), so a picture shows what the window shows.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include "display/GraphParts.h"

class QPainter;

class CanvasBox final : public GraphBox {
 public:
  QImage& Canvas() override;
  void Present() override {}

  QSize Size() const override { return geometry_.size(); }
  void SetGeometry(const QRect& geometry) override { geometry_ = geometry; }
  bool Shown() const override { return shown_; }
  void SetShown(bool shown) override { shown_ = shown; }

  // The canvas at the box's place, when the box is shown.
  void Draw(QPainter& painter);

 private:
  QRect geometry_;
  bool shown_ = false;
  QImage canvas_;
};

class DrawnLabel final : public GraphLabel {
 public:
  explicit DrawnLabel(const QFont& font) : font_(font) {}

  QString Text() const override { return text_; }
  void SetText(const QString& text) override;
  QFont Font() const override { return font_; }
  void SetHeight(int pixels) override;
  QSize Size() const override { return geometry_.size(); }
  void Move(int left, int top) override { geometry_.moveTo(left, top); }
  void SetShown(bool shown) override { shown_ = shown; }

  // The text in `colour`, when the label is shown.
  void Draw(QPainter& painter, const QColor& colour) const;

 private:
  // QLabel's size hint for a plain text, bounded by the fixed height.
  void FitToText();

  QFont font_;
  QString text_;
  QRect geometry_;
  int fixedHeight_ = -1;  // none yet
  bool shown_ = false;
};
