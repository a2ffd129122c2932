#include "ui/Mymessage.h"

#include <stdexcept>

#include "model/TextCatalogue.h"

using namespace message_text;

TmyMessage::TmyMessage(Prompter& prompter, std::string subject, const std::string& caption)
    : prompter_(prompter), subject_(std::move(subject)), caption_(caption) {
  if (caption_.size() > kCaptionCapacity) throw std::length_error("TmyMessage: caption longer than 11 bytes");
}

void TmyMessage::Show(const char* text, MessageIcon icon, std::initializer_list<std::string_view> values) const {
  prompter_.ShowMessage(Localized(text, values), caption_, icon);
}

void TmyMessage::FatalMemoryError(const std::string& objectName) const {
  Show(kFatalMemory, MessageIcon::Error, {objectName});
}
void TmyMessage::CommandSendError() const { Show(kCommandSend, MessageIcon::Error); }
void TmyMessage::UnitNotFound() const { Show(kNotFound, MessageIcon::Error, {subject_}); }
void TmyMessage::UnitNoResponse() const { Show(kNoResponse, MessageIcon::Error, {subject_}); }
void TmyMessage::IniSaveError() const { Show(kIniSave, MessageIcon::Warning); }
void TmyMessage::DataSaveError() const { Show(kDataSave, MessageIcon::Error); }
void TmyMessage::DataFileError() const { Show(kDataFile, MessageIcon::Error); }
void TmyMessage::FftSaveError() const { Show(kFftSave, MessageIcon::Error); }
void TmyMessage::SettingFileError() const { Show(kSettingFile, MessageIcon::Error); }
void TmyMessage::NoDataError() const { Show(kNoData, MessageIcon::Error); }
void TmyMessage::InputLevelError() const { Show(kInputLevel, MessageIcon::Warning); }
void TmyMessage::PrintError() const { Show(kPrint, MessageIcon::Error); }

void ShowCatalogueCreationError(Prompter& prompter) {
  prompter.ShowMessage(Localized(kFatalMemory, {"TmyMessage"}), kProgramCaption, MessageIcon::Error);
}

void ShowDcCutDivisionByZero(Prompter& prompter) {
  prompter.ShowMessage(Localized(kDcCutDivisionByZero), "myFFT", MessageIcon::Warning);
}
