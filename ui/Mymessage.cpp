#include "ui/Mymessage.h"

#include <stdexcept>

using namespace message_text;

TmyMessage::TmyMessage(Prompter& prompter, std::string subject, const std::string& caption)
    : prompter_(prompter), subject_(std::move(subject)), caption_(caption) {
  if (caption_.size() > kCaptionCapacity) throw std::length_error("TmyMessage: caption longer than 11 bytes");
}

void TmyMessage::Show(const std::string& text, MessageIcon icon) const { prompter_.ShowMessage(text, caption_, icon); }

void TmyMessage::FatalMemoryError(const std::string& objectName) const {
  Show(kFatalMemory + objectName, MessageIcon::Error);
}
void TmyMessage::CommandSendError() const { Show(kCommandSend, MessageIcon::Error); }
void TmyMessage::UnitNotFound() const { Show(subject_ + kNotFoundSuffix, MessageIcon::Error); }
void TmyMessage::UnitNoResponse() const { Show(subject_ + kNoResponseSuffix, MessageIcon::Error); }
void TmyMessage::IniSaveError() const { Show(kIniSave, MessageIcon::Warning); }
void TmyMessage::DataSaveError() const { Show(kDataSave, MessageIcon::Error); }
void TmyMessage::DataFileError() const { Show(kDataFile, MessageIcon::Error); }
void TmyMessage::FftSaveError() const { Show(kFftSave, MessageIcon::Error); }
void TmyMessage::SettingFileError() const { Show(kSettingFile, MessageIcon::Error); }
void TmyMessage::NoDataError() const { Show(kNoData, MessageIcon::Error); }
void TmyMessage::InputLevelError() const { Show(kInputLevel, MessageIcon::Warning); }
void TmyMessage::PrintError() const { Show(kPrint, MessageIcon::Error); }

void ShowCatalogueCreationError(Prompter& prompter) {
  prompter.ShowMessage(std::string(kFatalMemory) + "TmyMessage", kProgramCaption, MessageIcon::Error);
}

void ShowDcCutDivisionByZero(Prompter& prompter) {
  prompter.ShowMessage("ゼロ除算：TmyFFT::DCCut", "myFFT", MessageIcon::Warning);
}
