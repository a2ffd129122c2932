#include "ui/StatusBar.h"

#include <QLabel>
#include <QMouseEvent>

namespace {
constexpr int kTextIndent = 2;  // pixels between a panel's sunken edge and its text
}  // namespace

StatusBar::StatusBar(QWidget* parent) : QFrame(parent) {
  setFixedHeight(kHeight);
  for (auto& panel : panels_) {
    panel = new QLabel(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setIndent(kTextIndent);
    panel->setTextFormat(Qt::PlainText);
    panel->resize(kInitialPanelWidth, kHeight);
  }
  PlacePanels();
}

QString StatusBar::PanelText(int index) const { return panels_.at(static_cast<std::size_t>(index))->text(); }

int StatusBar::PanelWidth(int index) const { return panels_.at(static_cast<std::size_t>(index))->width(); }

void StatusBar::SetPanelText(int index, const QString& text) {
  panels_.at(static_cast<std::size_t>(index))->setText(text);
}

void StatusBar::SetPanelWidth(int index, int width) {
  QLabel* panel = panels_.at(static_cast<std::size_t>(index));
  if (panel->width() == width) return;
  panel->resize(width, kHeight);
  PlacePanels();
}

void StatusBar::mouseReleaseEvent(QMouseEvent* event) {
  if (rect().contains(event->position().toPoint())) emit Clicked();
}

void StatusBar::PlacePanels() {
  int left = 0;
  for (QLabel* panel : panels_) {
    panel->move(left, 0);
    left += panel->width();
  }
}
