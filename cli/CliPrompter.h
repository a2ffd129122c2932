// The command-line tool's Prompter: messages go to stderr; the overwrite question
// is answered by --yes, asked on the terminal when there is one, and refused
// otherwise (a script never replaces a file unless told to).
#pragma once

#include <cstdio>
#include <string>

#include "ui/Prompter.h"

class CliPrompter : public Prompter {
 public:
  CliPrompter(bool assumeYes, bool interactive, std::FILE* in = stdin, std::FILE* err = stderr)
      : assumeYes_(assumeYes), interactive_(interactive), in_(in), err_(err) {}

  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  bool AskOkCancel(const std::string& text, const std::string& caption, MessageIcon icon) override;

 private:
  bool Answer(const std::string& text, const std::string& caption);

  bool assumeYes_;
  bool interactive_;
  std::FILE* in_;
  std::FILE* err_;
};
