// The pieces the fixed-size settings dialogs are built from: controls at pixel
// positions, pick-only lists whose items carry the value they stand for, and the
// dialogs' buttons.
#pragma once

#include <QWidget>
#include <optional>

class QComboBox;
class QPushButton;
class QString;

// A title bar without the system's buttons: the dialog closes through its own.
inline constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

inline constexpr int kDialogButtonWidth = 75;
inline constexpr int kDialogButtonHeight = 25;

// The widget at (left, top), as large as its text needs.
template <typename Widget>
Widget* PlacedAt(Widget* widget, int left, int top) {
  widget->move(left, top);
  widget->adjustSize();
  return widget;
}

// A list to pick from (no typing) at (left, top), width pixels wide.
QComboBox* PickOnlyList(QWidget* parent, int left, int top, int width);

// A dialog button of the standard size at (left, top).
QPushButton* ButtonAt(const QString& text, QWidget* parent, int left, int top);

// Selects the item whose data is value; none is selected when no item has it.
void SelectItem(QComboBox* list, int value);
// The data of the selected item; none without a selection.
std::optional<int> SelectedItem(const QComboBox* list);
