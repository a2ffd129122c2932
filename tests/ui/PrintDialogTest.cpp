// Qt's print dialog as the desktop's prompter shows it: confirming a PDF target never
// opens a FIFO or another special file (an open of a FIFO without a reader would never
// return), and an ordinary target keeps the dialog's own checks.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "QtTestApp.h"
#include "files/FileTestSupport.h"
#include "ui/QtPrompter.h"

namespace {

// Ends the test binary with a message unless released in time: the only way out of
// an open of a FIFO that blocks, so that the fault fails instead of hanging.
class FifoWatchdog {
 public:
  FifoWatchdog()
      : thread_([this] {
          std::unique_lock lock(mutex_);
          if (released_.wait_for(lock, kPatience, [this] { return done_; })) return;
          std::fputs("FAILED: the print dialog waits in an open of the FIFO\n", stderr);
          std::_Exit(EXIT_FAILURE);
        }) {}
  ~FifoWatchdog() {
    {
      const std::lock_guard lock(mutex_);
      done_ = true;
    }
    released_.notify_all();
    thread_.join();
  }
  FifoWatchdog(const FifoWatchdog&) = delete;
  FifoWatchdog& operator=(const FifoWatchdog&) = delete;

 private:
  static constexpr std::chrono::seconds kPatience{3};
  std::mutex mutex_;
  std::condition_variable released_;
  bool done_ = false;
  std::thread thread_;
};

// Runs the prompter's print dialog on a PDF printer and presses OK with target typed
// into its file field; whether the dialog was confirmed. A box the dialog raises is
// answered No, and a dialog still open after OK is cancelled, so a failing check ends.
bool ConfirmPrintDialog(QPrinter& printer, const fs::path& target) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  bool pressed = false;
  QTimer driver;
  driver.setInterval(std::chrono::milliseconds(10));
  QObject::connect(&driver, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (!widget->isVisible()) continue;
      if (auto* box = qobject_cast<QMessageBox*>(widget)) {
        box->reject();
        continue;
      }
      auto* dialog = qobject_cast<QPrintDialog*>(widget);
      if (dialog == nullptr) continue;
      auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
      auto* buttons = dialog->findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly);
      if (pressed || field == nullptr || buttons == nullptr) {
        dialog->reject();
        continue;
      }
      pressed = true;
      field->setText(QString::fromStdString(target.string()));
      buttons->button(QDialogButtonBox::Ok)->click();
    }
  });
  driver.start();
  return QtPrompter().ChoosePrinter(printer);
}

TEST(PrintDialog, AConfirmedPdfTargetThatIsAFifoIsNeverOpened) {
  TempDir dir;
  const fs::path fifo = dir / "page.pdf";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  QPrinter printer(QPrinter::HighResolution);
  bool confirmed = false;
  {
    const FifoWatchdog watchdog;
    confirmed = ConfirmPrintDialog(printer, fifo);
  }
  EXPECT_TRUE(confirmed) << "the print itself refuses the target";
  EXPECT_EQ(printer.outputFileName().toStdString(), fifo.string());
  EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
}

TEST(PrintDialog, AnOrdinaryPdfTargetPassesTheDialogsOwnChecks) {
  TempDir dir;
  const fs::path pdf = dir / "page.pdf";
  QPrinter printer(QPrinter::HighResolution);
  EXPECT_TRUE(ConfirmPrintDialog(printer, pdf));
  EXPECT_EQ(printer.outputFileName().toStdString(), pdf.string());
  EXPECT_FALSE(fs::exists(pdf)) << "the dialog's trial file is gone again";
}

}  // namespace
