// The automatic-save part of the measurement and display settings dialog: its copy
// of the caller's SaveSetting, the state of its check box and the selected file.
// The selected file is the dialog's own: empty at first, kept from showing to
// showing, and taken from the caller only where automatic saving is already on, so
// ticking the box never adopts the current data file unasked. File choices go
// through the prompter.
#pragma once

#include <optional>
#include <string>

#include "model/Records.h"
#include "ui/DialogPrompter.h"

class AutoSaveChoice {
 public:
  // Longest file name shown in the dialog's file field, in characters.
  static constexpr std::size_t kShownNameLength = 32;

  explicit AutoSaveChoice(DialogPrompter& prompter) : prompter_(prompter) {}

  // Starts a showing: the copy of save and the check box as its fSaveDataFile; with
  // saving on its DataFileName becomes the selected file, otherwise the selected
  // file stays as the last showing left it.
  void Load(const SaveSetting& save);
  // The defaults in the copy (saving off, no file, no start time) and the box off;
  // the selected file and the caller's data file stay.
  void SetDefaults();

  bool Checked() const { return checked_; }
  const std::string& SelectedFile() const { return selected_; }
  // The file field's path: the selected file while the box is checked, else empty.
  // The field shows it decoded and shortened to kShownNameLength (ShortFileText).
  std::string ShownFileName() const;

  // The file button: asks for a file and, when one was chosen, checks the box.
  void ChooseFile();
  // The user checked or unchecked the box. Checking it without a selected file asks
  // for one; without an answer the box goes off again.
  void Toggle(bool checked);

  // What Set hands back: with the box checked the selected file as DataFileName, with
  // it unchecked the caller's DataFileName unchanged (a file chosen and then given up
  // names nothing). Nothing when the box is checked without a selected file (Set is
  // refused then).
  std::optional<SaveSetting> Confirmed() const;

 private:
  // Asks for the file (a name without "." in its last component gets ".DTA"); true
  // when one was chosen.
  bool SelectSaveFile();

  DialogPrompter& prompter_;
  SaveSetting copy_;
  std::string callerFile_;  // the caller's DataFileName as loaded
  bool checked_ = false;
  std::string selected_;
};
