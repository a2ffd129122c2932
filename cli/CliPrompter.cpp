#include "cli/CliPrompter.h"

#include <poll.h>

#include <array>
#include <cerrno>

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
  constexpr int kWaitForever = -1;
  char first = '\0';
  for (;;) {
    std::array<pollfd, 2> waits{{{in_, POLLIN, 0}, {-1, POLLIN, 0}}};
    if (interruption_ != nullptr) waits[1].fd = interruption_->WakeFd();
    if (::poll(waits.data(), waits.size(), kWaitForever) < 0 && errno != EINTR) return '\0';
    if (Interrupted(interruption_)) return '\0';
    if (waits[0].revents == 0) continue;
    char c = '\0';
    const ssize_t n = ::read(in_, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return first;  // the end of the input, or it cannot be read
    if (c == '\n') return first;
    if (first == '\0') first = c;
  }
}
