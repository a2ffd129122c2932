#include "ui/QtPrompter.h"

#include <QMessageBox>
#include <QString>

void QtPrompter::ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
  const auto qtText = QString::fromStdString(text);
  const auto qtCaption = QString::fromStdString(caption);
  if (icon == MessageIcon::Warning) {
    QMessageBox::warning(parent_, qtCaption, qtText);
  } else {
    QMessageBox::critical(parent_, qtCaption, qtText);
  }
}

bool QtPrompter::AskYesNo(const std::string& text, const std::string& caption) {
  const auto answer = QMessageBox::question(parent_, QString::fromStdString(caption), QString::fromStdString(text),
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  return answer == QMessageBox::Yes;
}
