// A prompter for tests: records every box and dialog and answers from a script.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/DialogPrompter.h"
#include "ui/PrintPrompter.h"

struct ShownMessage {
  std::string text;
  std::string caption;
  MessageIcon icon;
};

// One file dialog as it was asked for.
struct ShownFileDialog {
  bool save = false;
  std::string title;
  std::string filter;
  std::string initialName;
};

class ScriptedPrompter : public DialogPrompter, public PrintPrompter {
 public:
  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override {
    messages.push_back({text, caption, icon});
  }
  bool AskYesNo(const std::string& text, const std::string& caption) override {
    questions.push_back({text, caption, MessageIcon::Warning});
    return Next(answers, false);
  }
  bool AskOkCancel(const std::string& text, const std::string& caption, MessageIcon icon) override {
    questions.push_back({text, caption, icon});
    return Next(answers, false);
  }
  std::string ChooseOpenFile(const std::string& title, const std::string& filter,
                             const std::string& initialName) override {
    fileDialogs.push_back({false, title, filter, initialName});
    return Next(files, std::string());
  }
  std::string ChooseSaveFile(const std::string& title, const std::string& filter,
                             const std::string& initialName) override {
    fileDialogs.push_back({true, title, filter, initialName});
    return Next(files, std::string());
  }
  std::optional<std::int32_t> ChooseColor(std::int32_t initial) override {
    colorDialogs.push_back(initial);
    return Next(colors, std::optional<std::int32_t>());
  }
  bool ChoosePrinter(QPrinter& printer) override { return NextPrintDialog(printer); }
  bool SetUpPage(QPrinter& printer) override { return NextPrintDialog(printer); }

  // What the next print or page-setup dialog does to the printer, and whether it is
  // confirmed; cancelled when empty.
  using PrintDialogStep = std::function<bool(QPrinter&)>;

  std::vector<ShownMessage> messages;
  std::vector<ShownMessage> questions;
  std::vector<ShownFileDialog> fileDialogs;
  std::vector<std::int32_t> colorDialogs;
  std::deque<bool> answers;                        // answers to the next questions; No/Cancel when empty
  std::deque<std::string> files;                   // names the next file dialogs return; cancelled when empty
  std::deque<std::optional<std::int32_t>> colors;  // the next colour dialogs' choices; cancelled when empty
  std::deque<PrintDialogStep> printDialogs;
  int printDialogCount = 0;  // print and page-setup dialogs shown

 private:
  // The first scripted entry, taken off the script; none when the script is used up.
  template <typename T>
  static T Next(std::deque<T>& script, T none) {
    if (script.empty()) return none;
    T next = std::move(script.front());
    script.pop_front();
    return next;
  }
  bool NextPrintDialog(QPrinter& printer) {
    ++printDialogCount;
    const PrintDialogStep step = Next(printDialogs, PrintDialogStep());
    return step && step(printer);
  }
};
