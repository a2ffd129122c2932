// The automatic-save part of the settings dialog, with a scripted prompter.
#include <gtest/gtest.h>

#include "ScriptedPrompter.h"
#include "display/AutoSaveChoice.h"

namespace {

const SaveSetting kOff{0, "/data/run1.DTA", "2024/05/06 07:08:09"};

TEST(AutoSaveChoice, SetKeepsTheIncomingNameWhenSavingIsOff) {
  ScriptedPrompter prompter;
  AutoSaveChoice choice(prompter);
  choice.Load(kOff);
  EXPECT_FALSE(choice.Checked());
  EXPECT_EQ(choice.ShownFileName(), "");
  EXPECT_EQ(choice.Confirmed(), kOff);
  EXPECT_TRUE(prompter.fileDialogs.empty());
}

TEST(AutoSaveChoice, CheckingTheBox) {
  const struct {
    std::string incoming;  // DataFileName of the loaded record (saving off)
    std::string answer;    // the file dialog's answer (empty: cancelled)
    bool asks, checked;
    std::string selected;
    const char* reason;
  } rows[] = {
      {"", "", true, false, "", "a cancelled file dialog leaves the box off"},
      {"", "/data/run2", true, true, "/data/run2.DTA", "a name without '.' gets .DTA"},
      {"", "/ver1.2/run2", true, true, "/ver1.2/run2.DTA", "a '.' in a directory does not count"},
      {"", "/data/run2.dta", true, true, "/data/run2.dta", "a name with an extension stays"},
      {"/data/run1.DTA", "", true, false, "", "the data file's name is not taken unasked"},
      {"/data/run1.DTA", "/data/run1.DTA", true, true, "/data/run1.DTA", "the dialog proposes it"},
  };
  for (const auto& r : rows) {
    ScriptedPrompter prompter;
    prompter.files = {r.answer};
    AutoSaveChoice choice(prompter);
    choice.Load({0, r.incoming, ""});
    choice.Toggle(true);
    EXPECT_EQ(prompter.fileDialogs.size(), r.asks ? 1U : 0U) << r.reason;
    EXPECT_EQ(choice.Checked(), r.checked) << r.reason;
    EXPECT_EQ(choice.SelectedFile(), r.selected) << r.reason;
    if (r.asks) {
      EXPECT_EQ(prompter.fileDialogs[0].title, "自動保存するデータファイルの選択") << r.reason;
      EXPECT_EQ(prompter.fileDialogs[0].filter, "") << r.reason;
      EXPECT_EQ(prompter.fileDialogs[0].initialName, r.incoming.empty() ? "*.DTA" : r.incoming) << r.reason;
    }
  }
}

TEST(AutoSaveChoice, TheSelectedFileIsTheDialogsOwnFromShowingToShowing) {
  ScriptedPrompter prompter;
  AutoSaveChoice choice(prompter);
  choice.Load({1, "/data/auto.DTA", ""});
  EXPECT_EQ(choice.SelectedFile(), "/data/auto.DTA") << "saving on: the caller's file is the selected one";
  choice.Load({0, "/data/new.DTA", ""});  // 新規ファイル named another file, saving off
  EXPECT_EQ(choice.SelectedFile(), "/data/auto.DTA");
  choice.Toggle(true);
  EXPECT_TRUE(prompter.fileDialogs.empty()) << "a selected file is ticked without asking";
  EXPECT_EQ(choice.Confirmed(), (SaveSetting{1, "/data/auto.DTA", ""}));

  prompter.files = {"/data/other"};
  choice.Load({0, "/data/new.DTA", ""});
  choice.ChooseFile();
  choice.Toggle(false);
  EXPECT_EQ(choice.Confirmed(), (SaveSetting{0, "/data/new.DTA", ""}))
      << "a file chosen and given up does not replace the data file";
  choice.Toggle(true);
  EXPECT_EQ(choice.Confirmed(), (SaveSetting{1, "/data/other.DTA", ""}));
}

TEST(AutoSaveChoice, FileButtonStartsAtTheNameAndChecksTheBox) {
  ScriptedPrompter prompter;
  prompter.files = {"", "/data/run3.DTA"};
  AutoSaveChoice choice(prompter);
  choice.Load(kOff);
  choice.ChooseFile();
  EXPECT_FALSE(choice.Checked()) << "cancelled";
  choice.ChooseFile();
  EXPECT_TRUE(choice.Checked());
  EXPECT_EQ(prompter.fileDialogs.at(0).initialName, kOff.DataFileName);
  EXPECT_EQ(choice.Confirmed(), (SaveSetting{1, "/data/run3.DTA", kOff.StartDateTime}));
}

TEST(AutoSaveChoice, CheckedWithoutAFileIsRefused) {
  ScriptedPrompter prompter;
  AutoSaveChoice choice(prompter);
  choice.Load({1, "", ""});
  EXPECT_TRUE(choice.Checked());
  EXPECT_EQ(choice.Confirmed(), std::nullopt);
  choice.Toggle(false);
  EXPECT_EQ(choice.Confirmed(), (SaveSetting{0, "", ""}));
}

TEST(AutoSaveChoice, DefaultsTurnSavingOffButKeepTheSelectedFile) {
  ScriptedPrompter prompter;
  AutoSaveChoice choice(prompter);
  const std::string longName = "/home/user/measurements/2024/may/run1.DTA";
  choice.Load({1, longName, "2024/05/06 07:08:09"});
  EXPECT_EQ(choice.ShownFileName(), longName);
  choice.SetDefaults();
  EXPECT_EQ(choice.ShownFileName(), "");
  EXPECT_EQ(choice.Confirmed(), (SaveSetting{0, longName, ""}));
  prompter.files = {""};
  choice.ChooseFile();
  EXPECT_EQ(prompter.fileDialogs.at(0).initialName, "*.DTA") << "the copy's name was emptied";
}

}  // namespace
