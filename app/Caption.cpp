#include "app/Caption.h"

#include "ui/Mymessage.h"
#include "ui/TextHelpers.h"

std::string CaptionText(const SaveSetting& save) {
  return std::string(kProgramCaption) + " : " + FileNameOf(save.DataFileName);
}

bool CaptionFollowsAutoSave(const SaveSetting& save) { return save.fSaveDataFile == 1 && !save.DataFileName.empty(); }
