#include "cli/CliPrompter.h"

#include <array>

void CliPrompter::ShowMessage(const std::string& text, const std::string& /*caption*/, MessageIcon /*icon*/) {
  std::fprintf(err_, "%s\n", text.c_str());
}

bool CliPrompter::AskYesNo(const std::string& text, const std::string& caption) { return Answer(text, caption); }

bool CliPrompter::AskOkCancel(const std::string& text, const std::string& caption, MessageIcon /*icon*/) {
  return Answer(text, caption);
}

bool CliPrompter::Answer(const std::string& text, const std::string& /*caption*/) {
  if (assumeYes_) return true;
  if (!interactive_) {
    std::fprintf(err_, "%s: no (use --yes to replace files)\n", text.c_str());
    return false;
  }
  std::fprintf(err_, "%s [y/N] ", text.c_str());
  std::fflush(err_);
  std::array<char, 16> answer{};
  if (std::fgets(answer.data(), static_cast<int>(answer.size()), in_) == nullptr) return false;
  return answer[0] == 'y' || answer[0] == 'Y';
}
