// An axis label of the main window: a QLabel the graph fills, sizes and places.
#pragma once

#include <QLabel>

#include "display/GraphParts.h"

class WidgetLabel : public QLabel, public GraphLabel {
 public:
  explicit WidgetLabel(const QString& text, QWidget* parent = nullptr) : QLabel(text, parent) {}

  QString Text() const override { return text(); }
  void SetText(const QString& text) override;
  QFont Font() const override { return font(); }
  void SetHeight(int pixels) override;
  QSize Size() const override { return size(); }
  void Move(int left, int top) override { move(left, top); }
  void SetShown(bool shown) override { setVisible(shown); }
};
