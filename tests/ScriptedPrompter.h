// A Prompter for tests: records every box and answers questions from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ui/Prompter.h"

struct ShownMessage {
  std::string text;
  std::string caption;
  MessageIcon icon;
};

class ScriptedPrompter : public Prompter {
 public:
  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override {
    messages.push_back({text, caption, icon});
  }
  bool AskYesNo(const std::string& text, const std::string& caption) override {
    questions.push_back({text, caption, MessageIcon::Warning});
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<ShownMessage> messages;
  std::vector<ShownMessage> questions;
  std::deque<bool> answers;  // answers to the next questions; No when empty
};
