#include "display/AutoSaveChoice.h"

#include "model/TextCatalogue.h"
#include "ui/FileNames.h"

namespace {
constexpr const char* kNoFilter = "";
constexpr const char* kTitle = "自動保存するデータファイルの選択";
}  // namespace

void AutoSaveChoice::Load(const SaveSetting& save) {
  copy_ = save;
  callerFile_ = save.DataFileName;
  checked_ = save.fSaveDataFile == 1;
  if (checked_) selected_ = save.DataFileName;
}

void AutoSaveChoice::SetDefaults() {
  copy_ = SaveSetting{};
  checked_ = false;
}

std::string AutoSaveChoice::ShownFileName() const { return checked_ ? selected_ : std::string(); }

void AutoSaveChoice::ChooseFile() {
  if (SelectSaveFile()) checked_ = true;
}

void AutoSaveChoice::Toggle(bool checked) {
  checked_ = checked;
  if (checked_ && selected_.empty() && !SelectSaveFile()) checked_ = false;
}

std::optional<SaveSetting> AutoSaveChoice::Confirmed() const {
  if (checked_ && selected_.empty()) return std::nullopt;
  SaveSetting save = copy_;
  save.DataFileName = checked_ ? selected_ : callerFile_;
  save.fSaveDataFile = checked_ ? 1 : 0;
  return save;
}

bool AutoSaveChoice::SelectSaveFile() {
  std::string name = prompter_.ChooseSaveFile(Localized(kTitle), kNoFilter,
                                              copy_.DataFileName.empty() ? kAnyDataFile : copy_.DataFileName);
  if (name.empty()) return false;
  name = WithExtensionIfNoDot(name, kDataExtension);
  selected_ = name;
  copy_.DataFileName = name;
  return true;
}
