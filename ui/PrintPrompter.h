// The print and page-setup dialogs behind a seam, so the print commands can be
// scripted in tests. Both work on the program's one printer: what the user chooses
// (printer, file, paper, orientation) stays in it for the next command.
#pragma once

class QPrinter;

class PrintPrompter {
 public:
  virtual ~PrintPrompter() = default;

  // The print dialog; true when the user confirms it.
  virtual bool ChoosePrinter(QPrinter& printer) = 0;
  // The page-setup dialog; true when the user confirms it.
  virtual bool SetUpPage(QPrinter& printer) = 0;
};
