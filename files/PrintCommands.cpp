#include "files/PrintCommands.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryFile>
#include <exception>

#include "files/AtomicFile.h"
#include "files/Myprint.h"
#include "ui/Mymessage.h"
#include "ui/PrintPrompter.h"

namespace {

PrintResult Failed() { return {PrintStatus::Failed, message_text::kPrint}; }

// Points a printer at another file for its lifetime, then back at its own.
class OutputRedirect {
 public:
  OutputRedirect(QPrinter& printer, const QString& file) : printer_(printer), own_(printer.outputFileName()) {
    printer_.setOutputFileName(file);
  }
  ~OutputRedirect() { printer_.setOutputFileName(own_); }
  OutputRedirect(const OutputRedirect&) = delete;
  OutputRedirect& operator=(const OutputRedirect&) = delete;

 private:
  QPrinter& printer_;
  QString own_;
};

// The printer writes the PDF to a staging file of its own; its bytes then go to out, so
// the target is replaced only through out, the way every file of the program is, with
// their text maps corrected (AppendPrintedPdf).
bool PrintPdfInto(AtomicFile& out, QPrinter& printer, TmyPrint& page, const PrintInfo& info) {
  QTemporaryFile staging(QDir::tempPath() + QStringLiteral("/zemtra-print-XXXXXX.pdf"));
  if (!staging.open()) return false;
  staging.close();
  bool printed = false;
  {
    const OutputRedirect redirect(printer, staging.fileName());
    printed = page.Print(info);
  }
  if (!printed || !staging.open()) return false;
  return AppendPrintedPdf(out, staging.readAll(), page.Drawn());
}

}  // namespace

bool PageSetupCommand(PrintPrompter& prompter, QPrinter& printer) { return prompter.SetUpPage(printer); }

PrintResult PrintCommand(PrintPrompter& prompter, QPrinter& printer, TGraph_FFT& graph, const FftSetting& fft,
                         const PrintInfo& info) {
  if (!prompter.ChoosePrinter(printer)) return {PrintStatus::Cancelled, {}};
  return PrintPage(printer, graph, fft, info);
}

PrintResult PrintPage(QPrinter& printer, TGraph_FFT& graph, const FftSetting& fft, const PrintInfo& info) {
  try {
    TmyPrint page(graph, printer, fft);
    bool printed = false;
    if (printer.outputFormat() == QPrinter::PdfFormat) {
      printer.setResolution(kPdfDpi);
      printed = WriteWhole(QFile::encodeName(printer.outputFileName()).toStdString(), SystemFileCalls(),
                           [&](AtomicFile& out) { return PrintPdfInto(out, printer, page, info); });
    } else {
      printed = page.Print(info);
    }
    if (printed) return {PrintStatus::Printed, {}};
  } catch (const std::exception&) {
    // Out of memory on the way: the page is not printed, and the caller says so.
  }
  return Failed();
}
