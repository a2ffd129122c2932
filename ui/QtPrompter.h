// The desktop's realisation of the prompter: Qt message boxes and standard dialogs
// (file, colour, print, page setup) parented to a window.
#pragma once

#include "ui/DialogPrompter.h"
#include "ui/PrintPrompter.h"

class QWidget;

class QtPrompter : public DialogPrompter, public PrintPrompter {
 public:
  explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}

  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  bool AskOkCancel(const std::string& text, const std::string& caption, MessageIcon icon) override;
  std::string PathText(const std::string& path) const override;
  std::string ChooseOpenFile(const std::string& title, const std::string& filter,
                             const std::string& initialName) override;
  std::string ChooseSaveFile(const std::string& title, const std::string& filter,
                             const std::string& initialName) override;
  std::optional<std::int32_t> ChooseColor(std::int32_t initial) override;
  bool ChoosePrinter(QPrinter& printer) override;
  bool SetUpPage(QPrinter& printer) override;

 private:
  QWidget* parent_;
};
