#include "cli/CliPrompter.h"

#include <cerrno>

#include "cli/Console.h"
#include "ui/TextHelpers.h"

namespace {

// Every line on stderr starts with the program's name, also each line of a message.
std::string Prefixed(const std::string& text) {
  constexpr const char* kPrefix = "zemtra-cli: ";
  std::string lines = kPrefix;
  for (const char c : text) {
    lines += c;
    if (c == '\n') lines += kPrefix;
  }
  return lines;
}

}  // namespace

void CliPrompter::ShowMessage(const std::string& text, const std::string& /*caption*/, MessageIcon /*icon*/) {
  std::fprintf(err_, "%s\n", Prefixed(VisibleText(text, true)).c_str());
}

bool CliPrompter::AskYesNo(const std::string& text, const std::string& /*caption*/) { return Answer(text); }

bool CliPrompter::AskOkCancel(const std::string& text, const std::string& /*caption*/, MessageIcon /*icon*/) {
  return Answer(text);
}

bool CliPrompter::Answer(const std::string& text) {
  if (Interrupted(interruption_)) return false;
  if (assumeYes_) return true;
  // The question names a path, which may hold any byte.
  const std::string shown = Prefixed(VisibleText(text, true));
  if (!interactive_) {
    std::fprintf(err_, "%s: no (use --yes to replace files)\n", shown.c_str());
    return false;
  }
  std::fprintf(err_, "%s [y/N] ", shown.c_str());
  std::fflush(err_);
  const char answer = ReadAnswer();
  if (Interrupted(interruption_)) std::fputs("\n", err_);  // the prompt's line ends before the closing notices
  return !Interrupted(interruption_) && (answer == 'y' || answer == 'Y');
}

char CliPrompter::ReadAnswer() const {
  char first = '\0';
  for (;;) {
    if (!WaitForInput(in_, interruption_)) return '\0';
    char c = '\0';
    const auto n = ::read(in_, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (Interrupted(interruption_)) return '\0';
    if (n <= 0) return first;  // the end of the input, or it cannot be read
    if (c == '\n') return first;
    if (first == '\0') first = c;
  }
}
