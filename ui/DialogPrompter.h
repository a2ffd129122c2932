// The desktop's standard dialogs behind the same seam as the boxes, so every modal
// interaction of the main window and its dialogs can be scripted in tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ui/Prompter.h"

class DialogPrompter : public Prompter {
 public:
  // The open and save dialogs. title names the command ("データ読込み"); filter is a
  // name filter ("データファイル (*.DTA)");
  // initialName the proposed path (directory and name) or a pattern ("*.DTA").
  // Paths are the file system's bytes. No extension is added, and the save dialog
  // never asks about an existing file (the writers ask themselves). Empty when
  // the user cancels.
  virtual std::string ChooseOpenFile(const std::string& title, const std::string& filter,
                                     const std::string& initialName) = 0;
  virtual std::string ChooseSaveFile(const std::string& title, const std::string& filter,
                                     const std::string& initialName) = 0;

  // The colour dialog, starting at a 0x00BBGGRR colour; the chosen colour in the same
  // form, or nothing when the user cancels.
  virtual std::optional<std::int32_t> ChooseColor(std::int32_t initial) = 0;
};
