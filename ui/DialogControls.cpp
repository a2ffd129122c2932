#include "ui/DialogControls.h"

#include <QComboBox>
#include <QPushButton>

QComboBox* PickOnlyList(QWidget* parent, int left, int top, int width) {
  auto* list = new QComboBox(parent);
  list->setEditable(false);
  list->move(left, top);
  list->setFixedWidth(width);
  return list;
}

QPushButton* ButtonAt(const QString& text, QWidget* parent, int left, int top) {
  auto* button = new QPushButton(text, parent);
  button->setGeometry(left, top, kDialogButtonWidth, kDialogButtonHeight);
  return button;
}

void SelectItem(QComboBox* list, int value) { list->setCurrentIndex(list->findData(value)); }

std::optional<int> SelectedItem(const QComboBox* list) {
  if (list->currentIndex() < 0) return std::nullopt;
  return list->currentData().toInt();
}
