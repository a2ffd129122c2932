#include <gtest/gtest.h>

#include <functional>

#include "ScriptedPrompter.h"
#include "ui/Mymessage.h"

namespace {

struct CatalogueCase {
  std::function<void(const TmyMessage&)> show;
  const char* text;
  MessageIcon icon;
};

TEST(TmyMessage, EveryMessageWithItsTextCaptionAndIcon) {
  const CatalogueCase cases[] = {
      {[](const TmyMessage& m) { m.FatalMemoryError("TQV_Print"); }, "致命的なメモリエラーです:TQV_Print",
       MessageIcon::Error},
      {[](const TmyMessage& m) { m.CommandSendError(); }, "コマンド送信エラーです", MessageIcon::Error},
      {[](const TmyMessage& m) { m.UnitNotFound(); }, "QT4418PXが見つかりませんでした", MessageIcon::Error},
      {[](const TmyMessage& m) { m.UnitNoResponse(); }, "QT4418PXが応答しませんでした", MessageIcon::Error},
      {[](const TmyMessage& m) { m.IniSaveError(); }, "初期設定ファイルを保存できませんでした", MessageIcon::Warning},
      {[](const TmyMessage& m) { m.DataSaveError(); }, "データ保存できませんでした", MessageIcon::Error},
      {[](const TmyMessage& m) { m.DataFileError(); }, "データファイルの内容が正しくありませんでした",
       MessageIcon::Error},
      {[](const TmyMessage& m) { m.FftSaveError(); }, "FFTデータ保存できませんでした", MessageIcon::Error},
      {[](const TmyMessage& m) { m.SettingFileError(); }, "設定ファイルの内容が正しくありませんでした",
       MessageIcon::Error},
      {[](const TmyMessage& m) { m.NoDataError(); }, "データがありません", MessageIcon::Error},
      {[](const TmyMessage& m) { m.InputLevelError(); }, "入力信号レベルが適正範囲からはずれています",
       MessageIcon::Warning},
      {[](const TmyMessage& m) { m.PrintError(); }, "印刷できませんでした", MessageIcon::Error},
  };
  for (const auto& c : cases) {
    ScriptedPrompter prompter;
    const TmyMessage catalogue(prompter, kUnitName, kProgramCaption);
    c.show(catalogue);
    ASSERT_EQ(prompter.messages.size(), 1U) << c.text;
    EXPECT_EQ(prompter.messages[0].text, c.text);
    EXPECT_EQ(prompter.messages[0].caption, "Zemtra");
    EXPECT_EQ(prompter.messages[0].icon, c.icon) << c.text;
  }
}

TEST(TmyMessage, EmptyObjectNameAndOversizedCaption) {
  ScriptedPrompter prompter;
  const TmyMessage catalogue(prompter, "", kProgramCaption);
  catalogue.UnitNotFound();
  EXPECT_EQ(prompter.messages.at(0).text, "が見つかりませんでした");
  EXPECT_THROW(TmyMessage(prompter, kUnitName, "Zemtra Pro 2026"), std::length_error);
}

TEST(FixedBoxes, CatalogueFailureAndDivisionByZero) {
  ScriptedPrompter prompter;
  ShowCatalogueCreationError(prompter);
  ShowDcCutDivisionByZero(prompter);
  ASSERT_EQ(prompter.messages.size(), 2U);
  EXPECT_EQ(prompter.messages[0].text, "致命的なメモリエラーです:TmyMessage");
  EXPECT_EQ(prompter.messages[0].caption, "Zemtra");
  EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(prompter.messages[1].text, "ゼロ除算：TmyFFT::DCCut");
  EXPECT_EQ(prompter.messages[1].caption, "myFFT");
  EXPECT_EQ(prompter.messages[1].icon, MessageIcon::Warning);
}

}  // namespace
