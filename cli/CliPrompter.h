// The command-line tool's Prompter: messages go to stderr; the overwrite question
// is answered by --yes, asked on the terminal when there is one, and refused
// otherwise (a script never replaces a file unless told to). A signal while the
// question waits for its answer refuses it at once.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli/Interruption.h"
#include "ui/Prompter.h"

class CliPrompter : public Prompter {
 public:
  // in: where the answers come from; interruption: none when nothing interrupts.
  CliPrompter(bool assumeYes, bool interactive, int in = STDIN_FILENO, std::FILE* err = stderr,
              const Interruption* interruption = nullptr)
      : assumeYes_(assumeYes), interactive_(interactive), in_(in), err_(err), interruption_(interruption) {}

  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  bool AskOkCancel(const std::string& text, const std::string& caption, MessageIcon icon) override;

 private:
  bool Answer(const std::string& text);
  // The first character of the next line of input; '\0' at its end or on a signal.
  char ReadAnswer() const;

  bool assumeYes_;
  bool interactive_;
  int in_;
  std::FILE* err_;
  const Interruption* interruption_;
};
