// Every modal interaction with the user goes through this seam: the GUI shows real
// boxes, the command-line tool prints or answers from its options, tests script it.
#pragma once

#include <string>

enum class MessageIcon { Error, Warning };

class Prompter {
 public:
  virtual ~Prompter() = default;

  // A modal box with a single OK button; returns when the user has closed it.
  virtual void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) = 0;

  // A confirmation with question icon and Yes/No buttons; true for Yes.
  virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;

  // A confirmation with the given icon and OK/Cancel buttons; true for OK.
  virtual bool AskOkCancel(const std::string& text, const std::string& caption, MessageIcon icon) = 0;

  // A path (the file system's bytes) as it stands in this prompter's texts. The
  // desktop decodes it as every path it shows (FileText); others show the bytes.
  virtual std::string PathText(const std::string& path) const { return path; }
};
