// What a save command of the session did, and the file name it completed.
#pragma once

#include <string>

enum class SaveOutcome {
  NotChosen,  // the chosen name was empty (a cancelled dialog): nothing changed
  NoData,     // there is no current measurement to write (fDataValid 0): nothing changed
  Written,    // the file holds what was to be saved
  Declined,   // the user kept an existing file: nothing written, nothing changed
  Failed,     // the file could not be written (an existing file stays as it was)
};

struct SaveResult {
  SaveOutcome outcome = SaveOutcome::NotChosen;
  std::string path;  // the chosen name with its extension rule applied; empty for NotChosen, NoData
};
