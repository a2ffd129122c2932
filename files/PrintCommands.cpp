#include "files/PrintCommands.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryFile>
#include <exception>

#include "display/GraphHost.h"
#include "files/AtomicFile.h"
#include "files/Myprint.h"
#include "files/PdfToUnicode.h"
#include "ui/Mymessage.h"
#include "ui/PrintPrompter.h"

namespace {

constexpr char kPdfStart[] = "%PDF-";
constexpr char kPdfEnd[] = "%%EOF";

PrintResult Failed() { return {PrintStatus::Failed, message_text::kPrint}; }

// A PDF document is whole when it runs from its header to its end-of-file mark.
bool IsCompletePdf(const QByteArray& bytes) { return bytes.startsWith(kPdfStart) && bytes.trimmed().endsWith(kPdfEnd); }

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
// the target is replaced only through out, the way every file of the program is. On
// the way its text maps are corrected to the characters the page drew, so the page's
// text can be searched and copied (a document laid out otherwise goes as it is).
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
  const QByteArray written = staging.readAll();
  if (!IsCompletePdf(written)) return false;
  const DrawnText& drawn = page.Drawn();
  const QByteArray bytes =
      PdfToUnicode([&drawn](char32_t emitted) { return drawn.TextFor(emitted); }).Corrected(written).value_or(written);
  out.Append(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  return out.Good();
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

WriteResult PrintPdfFile(const std::string& path, bool landscape, const MeasureData& data, const AdUnitSetting& ad,
                         const FftSetting& fft, const SaveSetting& save, Prompter& prompter, FileCalls& calls) {
  return WriteAsking(path, prompter, calls, [&](AtomicFile& out) {
    try {
      const OffscreenApplication app;
      if (!app.Usable()) return false;
      QPrinter printer(QPrinter::HighResolution);
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setResolution(kPdfDpi);
      printer.setPageSize(QPageSize(QPageSize::A4));
      printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
      const MeasureData none;
      GraphHost host(data, none, ad, fft);
      host.Redraw();
      TmyPrint page(host.Graph(), printer, fft);
      return PrintPdfInto(out, printer, page, PrintInfoOf(data, fft, save));
    } catch (const std::exception&) {
      return false;  // out of memory on the way: the page is not printed
    }
  });
}
