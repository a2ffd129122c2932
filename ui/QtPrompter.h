// The desktop's realisation of the Prompter: Qt message boxes parented to a window.
#pragma once

#include "ui/Prompter.h"

class QWidget;

class QtPrompter : public Prompter {
 public:
  explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}

  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;

 private:
  QWidget* parent_;
};
