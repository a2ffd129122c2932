// The message catalogue: the wording and icon of every error or warning box. The
// caller decides when a message is due and what happens after it.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "ui/Prompter.h"

inline constexpr const char* kProgramCaption = "Zemtra";
inline constexpr const char* kUnitName = "QT4418PX";

class TmyMessage {
 public:
  // The caption must fit 11 characters (the original 12-byte buffer with its zero).
  static constexpr std::size_t kCaptionCapacity = 11;

  TmyMessage(Prompter& prompter, std::string subject, const std::string& caption);

  void FatalMemoryError(const std::string& objectName) const;
  void CommandSendError() const;
  void UnitNotFound() const;
  void UnitNoResponse() const;
  void IniSaveError() const;
  void DataSaveError() const;
  void DataFileError() const;
  void FftSaveError() const;
  void SettingFileError() const;
  void NoDataError() const;
  void InputLevelError() const;
  // A page that could not be printed (the printer would not begin, the page could
  // not be made or written).
  void PrintError() const;

  const std::string& Subject() const { return subject_; }
  const std::string& Caption() const { return caption_; }

 private:
  // Shows the catalogue's text in the interface language, values in its placeholders.
  void Show(const char* text, MessageIcon icon, std::initializer_list<std::string_view> values = {}) const;

  Prompter& prompter_;
  std::string subject_;
  std::string caption_;
};

// The catalogue's texts, for callers that print them instead of showing a box: each is
// named by its Japanese in the text catalogue (model/TextCatalogue), which gives the
// interface language's words (Localized); %1 is the subject.
namespace message_text {
inline constexpr const char* kFatalMemory = "致命的なメモリエラーです:%1";
inline constexpr const char* kCommandSend = "コマンド送信エラーです";
inline constexpr const char* kNotFound = "%1が見つかりませんでした";
inline constexpr const char* kNoResponse = "%1が応答しませんでした";
inline constexpr const char* kIniSave = "初期設定ファイルを保存できませんでした";
inline constexpr const char* kDataSave = "データ保存できませんでした";
inline constexpr const char* kDataFile = "データファイルの内容が正しくありませんでした";
inline constexpr const char* kFftSave = "FFTデータ保存できませんでした";
inline constexpr const char* kSettingFile = "設定ファイルの内容が正しくありませんでした";
inline constexpr const char* kNoData = "データがありません";
inline constexpr const char* kInputLevel = "入力信号レベルが適正範囲からはずれています";
inline constexpr const char* kPrint = "印刷できませんでした";
inline constexpr const char* kDcCutDivisionByZero = "ゼロ除算：TmyFFT::DCCut";
}  // namespace message_text

// The two boxes that cannot go through a catalogue object.
void ShowCatalogueCreationError(Prompter& prompter);  // "致命的なメモリエラーです:TmyMessage"
void ShowDcCutDivisionByZero(Prompter& prompter);     // "ゼロ除算：TmyFFT::DCCut", title "myFFT"
