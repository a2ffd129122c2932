// The printed page as a PDF: the command-line tool's page file, and the step the
// window's print to a PDF printer shares with it, which puts a printed document into
// its file with its text maps corrected to the characters the page drew. Both need
// QtGui alone.
#pragma once

#include <QByteArray>
#include <string>

#include "files/AskedWrite.h"
#include "model/Records.h"

class AtomicFile;
class DrawnText;

inline constexpr int kPdfDpi = 600;

// Appends the document written to out, its text maps corrected so the page's text can
// be searched and copied (a document laid out otherwise goes as it is). False, with
// nothing appended, when the document is not whole; else whether out is still good.
bool AppendPrintedPdf(AtomicFile& out, const QByteArray& written, const DrawnText& drawn);

// The page of an analysed measurement as a PDF file at path: A4 at 600 dpi with the
// PDF engine's default margins, portrait or landscape, the peak readout at the largest
// line. Written like every other file (WriteAsking through calls): an existing file is
// replaced only when prompter allows it, and whole or not at all. Failed: the page
// could not be printed or the file not written. Needs no display: an offscreen
// application is made when none runs.
WriteResult PrintPdfFile(const std::string& path, bool landscape, const MeasureData& data, const AdUnitSetting& ad,
                         const FftSetting& fft, const SaveSetting& save, Prompter& prompter,
                         FileCalls& calls = SystemFileCalls());
