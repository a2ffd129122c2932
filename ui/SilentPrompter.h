// A Prompter for work nobody watches (benchmarks, fuzzing, batch tools): messages
// are dropped and every question gets the same answer.
#pragma once

#include "ui/Prompter.h"

class SilentPrompter : public Prompter {
 public:
  explicit SilentPrompter(bool answer = false) : answer_(answer) {}

  void ShowMessage(const std::string& /*text*/, const std::string& /*caption*/, MessageIcon /*icon*/) override {}
  bool AskYesNo(const std::string& /*text*/, const std::string& /*caption*/) override { return answer_; }
  bool AskOkCancel(const std::string& /*text*/, const std::string& /*caption*/, MessageIcon /*icon*/) override {
    return answer_;
  }

 private:
  bool answer_;
};
