#include "ui/QtPrompter.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QString>

#include "ui/BgrColor.h"
#include "ui/FileText.h"

namespace {

QMessageBox::Icon QtIcon(MessageIcon icon) {
  return icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::Critical;
}

// File names are the file system's bytes, not necessarily UTF-8: shown as the program
// shows every text read from a file.
QString FromPath(const std::string& path) { return FileText(path); }
std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The writers ask before replacing a file, so the dialog must not ask as well.
constexpr QFileDialog::Options kFileDialogOptions = QFileDialog::DontConfirmOverwrite;

// Qt's print dialog checks a PDF target on OK by opening it for appending, and an open
// of a FIFO without a reader never returns. A target that exists and is no regular
// file (a FIFO, a device, a socket, a directory) is therefore accepted without that
// check: it stays unopened, and the print refuses it ("印刷できませんでした"). Any
// other target gets the dialog's own checks and questions. Without the widgets or
// the check this Qt names, the dialog is left as it is.
void KeepSpecialFilesUnopened(QPrintDialog& dialog) {
  auto* buttons = dialog.findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly);
  auto* target = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
  constexpr const char* kOwnCheck = "_q_checkFields()";
  if (buttons == nullptr || target == nullptr || dialog.metaObject()->indexOfMethod(kOwnCheck) < 0) return;
  QObject::disconnect(buttons, &QDialogButtonBox::accepted, &dialog, nullptr);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog, target] {
    const QFileInfo file(target->text());
    if (target->isEnabled() && file.exists() && !file.isFile()) {
      dialog.accept();
    } else {
      QMetaObject::invokeMethod(&dialog, "_q_checkFields");
    }
  });
}

}  // namespace

void QtPrompter::ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
  QMessageBox box(QtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok,
                  parent_);
  box.exec();
}

bool QtPrompter::AskYesNo(const std::string& text, const std::string& caption) {
  const auto answer = QMessageBox::question(parent_, QString::fromStdString(caption), QString::fromStdString(text),
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  return answer == QMessageBox::Yes;
}

bool QtPrompter::AskOkCancel(const std::string& text, const std::string& caption, MessageIcon icon) {
  QMessageBox box(QtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                  QMessageBox::Ok | QMessageBox::Cancel, parent_);
  box.setDefaultButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Ok;
}

std::string QtPrompter::PathText(const std::string& path) const { return FromPath(path).toStdString(); }

std::string QtPrompter::ChooseOpenFile(const std::string& title, const std::string& filter,
                                       const std::string& initialName) {
  return ToPath(QFileDialog::getOpenFileName(parent_, QString::fromStdString(title), FromPath(initialName),
                                             QString::fromStdString(filter), nullptr, kFileDialogOptions));
}

std::string QtPrompter::ChooseSaveFile(const std::string& title, const std::string& filter,
                                       const std::string& initialName) {
  return ToPath(QFileDialog::getSaveFileName(parent_, QString::fromStdString(title), FromPath(initialName),
                                             QString::fromStdString(filter), nullptr, kFileDialogOptions));
}

std::optional<std::int32_t> QtPrompter::ChooseColor(std::int32_t initial) {
  const QColor chosen = QColorDialog::getColor(QColorOfBgr(initial), parent_);
  if (!chosen.isValid()) return std::nullopt;
  return BgrOfQColor(chosen);
}

bool QtPrompter::ChoosePrinter(QPrinter& printer) {
  QPrintDialog dialog(&printer, parent_);
  // One page: no page ranges to choose.
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  KeepSpecialFilesUnopened(dialog);
  return dialog.exec() == QDialog::Accepted;
}

bool QtPrompter::SetUpPage(QPrinter& printer) {
  QPageSetupDialog dialog(&printer, parent_);
  return dialog.exec() == QDialog::Accepted;
}
