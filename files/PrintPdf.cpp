#include "files/PrintPdf.h"

#include <QBuffer>
#include <QPdfWriter>
#include <exception>

#include "display/GraphPicture.h"
#include "files/AtomicFile.h"
#include "files/DrawnText.h"
#include "files/Myprint.h"
#include "files/PdfToUnicode.h"

namespace {

constexpr char kPdfStart[] = "%PDF-";
constexpr char kPdfEnd[] = "%%EOF";

// A PDF document is whole when it runs from its header to its end-of-file mark.
bool IsCompletePdf(const QByteArray& bytes) { return bytes.startsWith(kPdfStart) && bytes.trimmed().endsWith(kPdfEnd); }

}  // namespace

bool AppendPrintedPdf(AtomicFile& out, const QByteArray& written, const DrawnText& drawn) {
  if (!IsCompletePdf(written)) return false;
  const QByteArray bytes =
      PdfToUnicode([&drawn](char32_t emitted) { return drawn.TextFor(emitted); }).Corrected(written).value_or(written);
  out.Append(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  return out.Good();
}

WriteResult PrintPdfFile(const std::string& path, bool landscape, const MeasureData& data, const AdUnitSetting& ad,
                         const FftSetting& fft, const SaveSetting& save, Prompter& prompter, FileCalls& calls) {
  return WriteAsking(path, prompter, calls, [&](AtomicFile& out) {
    try {
      const OffscreenApplication app;
      if (!app.Usable()) return false;
      // The document is made in memory; only out writes the target.
      QBuffer document;
      if (!document.open(QIODevice::WriteOnly)) return false;
      bool printed = false;
      {
        QPdfWriter writer(&document);
        writer.setResolution(kPdfDpi);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        const MeasureData none;
        GraphPicture graphs(data, none, ad, fft);
        graphs.Redraw();
        TmyPrint page(graphs.Graph(), writer, fft);
        printed = page.Print(PrintInfoOf(data, fft, save));
        if (printed) printed = AppendPrintedPdf(out, document.data(), page.Drawn());
      }
      return printed;
    } catch (const std::exception&) {
      return false;  // out of memory on the way: the page is not printed
    }
  });
}
