// A prompter for tests: records every box and dialog and answers from a script.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/DialogPrompter.h"

struct ShownMessage {
  std::string text;
  std::string caption;
  MessageIcon icon;
};

// One file dialog as it was asked for.
struct ShownFileDialog {
  bool save = false;
  std::string filter;
  std::string initialName;
};

class ScriptedPrompter : public DialogPrompter {
 public:
  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override {
    messages.push_back({text, caption, icon});
  }
  bool AskYesNo(const std::string& text, const std::string& caption) override {
    questions.push_back({text, caption, MessageIcon::Warning});
    return NextAnswer();
  }
  bool AskOkCancel(const std::string& text, const std::string& caption, MessageIcon icon) override {
    questions.push_back({text, caption, icon});
    return NextAnswer();
  }
  std::string ChooseOpenFile(const std::string& filter, const std::string& initialName) override {
    fileDialogs.push_back({false, filter, initialName});
    return NextFile();
  }
  std::string ChooseSaveFile(const std::string& filter, const std::string& initialName) override {
    fileDialogs.push_back({true, filter, initialName});
    return NextFile();
  }
  std::optional<std::int32_t> ChooseColor(std::int32_t initial) override {
    colorDialogs.push_back(initial);
    if (colors.empty()) return std::nullopt;
    const auto color = colors.front();
    colors.pop_front();
    return color;
  }

  std::vector<ShownMessage> messages;
  std::vector<ShownMessage> questions;
  std::vector<ShownFileDialog> fileDialogs;
  std::vector<std::int32_t> colorDialogs;
  std::deque<bool> answers;                        // answers to the next questions; No/Cancel when empty
  std::deque<std::string> files;                   // names the next file dialogs return; cancelled when empty
  std::deque<std::optional<std::int32_t>> colors;  // the next colour dialogs' choices; cancelled when empty

 private:
  bool NextAnswer() {
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::string NextFile() {
    if (files.empty()) return {};
    std::string file = files.front();
    files.pop_front();
    return file;
  }
};
