#include "display/WidgetLabel.h"

void WidgetLabel::SetText(const QString& text) {
  setText(text);
  adjustSize();
}

void WidgetLabel::SetHeight(int pixels) {
  setFixedHeight(pixels);
  adjustSize();
}
