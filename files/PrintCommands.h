// The print commands: the main window's 印刷設定 and 印刷(&P) on the program's one
// printer (the command-line tool's page as a PDF file is PrintPdf's). A failure is a
// result (for the window with the text to show), never an exception or an exit, so the
// window stays open with its data. A PDF is written beside its target and renamed over
// it only when complete, so a failed print leaves an existing file whole and no file
// that looks printed.
//
// The window owns one QPrinter(QPrinter::HighResolution) for its run, so both commands
// share printer, paper and orientation; a PDF is printed at 600 dpi.
#pragma once

#include <string>

#include "files/PrintPage.h"
#include "files/PrintPdf.h"
#include "model/Records.h"

class QPrinter;
class PrintPrompter;
class TGraph_FFT;

enum class PrintStatus { Printed, Cancelled, Failed };

struct PrintResult {
  PrintStatus status = PrintStatus::Failed;
  std::string message;  // "印刷できませんでした" when Failed, else empty
};

// 印刷設定: the page-setup dialog on the program's printer; true when confirmed.
bool PageSetupCommand(PrintPrompter& prompter, QPrinter& printer);

// 印刷(&P), once the window has checked that a measurement is shown (else its
// NoDataError) and filled info from its readouts: the print dialog, then one page on
// the printer chosen there. Failed: show message (TmyMessage::PrintError).
PrintResult PrintCommand(PrintPrompter& prompter, QPrinter& printer, TGraph_FFT& graph, const FftSetting& fft,
                         const PrintInfo& info);

// One page on the printer as it stands, without a dialog.
PrintResult PrintPage(QPrinter& printer, TGraph_FFT& graph, const FftSetting& fft, const PrintInfo& info);
