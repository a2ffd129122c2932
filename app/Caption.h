// The main window's caption, which names the data file the measurements go to.
#pragma once

#include <string>

#include "model/Records.h"

// "Zemtra : " + the file name of DataFileName, the text after its last '\' or '/'
// (nothing after the separator when there is none, or when the name ends in one).
std::string CaptionText(const SaveSetting& save);

// Whether the caption follows the settings where the window retitles only for an
// automatic-save target: automatic saving on and a DataFileName.
bool CaptionFollowsAutoSave(const SaveSetting& save);
