// The interface language from the locale variables and --lang.
#include <gtest/gtest.h>

#include "model/Language.h"

namespace {

struct LocaleCase {
  LocaleVariables variables;
  Language expected;
  const char* fault;  // what a wrong answer would mean
};

TEST(LanguageFromLocale, FollowsTheMessagesLocaleAndLanguageList) {
  using enum Language;
  const LocaleCase cases[] = {
      {{}, Japanese, "nothing set must keep the texts' own language"},
      {{"", "", "C", ""}, Japanese, "C is the portable locale"},
      {{"", "", "C.UTF-8", ""}, Japanese, "C.UTF-8 is the portable locale too"},
      {{"", "", "POSIX", ""}, Japanese, "POSIX is the portable locale"},
      {{"", "", "ja_JP.UTF-8", ""}, Japanese, "Japanese"},
      {{"", "", "de_DE.UTF-8", ""}, Japanese, "a language without a translation"},
      {{"", "", "en_US.UTF-8", ""}, English, "English locale"},
      {{"", "", "en", ""}, English, "a bare language name"},
      {{"", "", "en_GB.ISO-8859-1@euro", ""}, English, "codeset and modifier are not part of the language"},
      {{"", "", "eng_XX", ""}, Japanese, "only the whole language part counts"},
      {{"C.UTF-8", "", "en_US.UTF-8", ""}, Japanese, "LC_ALL overrides LANG"},
      {{"en_US.UTF-8", "C", "C", ""}, English, "LC_ALL overrides LC_MESSAGES"},
      {{"", "en_US.UTF-8", "ja_JP.UTF-8", ""}, English, "LC_MESSAGES overrides LANG"},
      {{"", "C", "en_US.UTF-8", ""}, Japanese, "LC_MESSAGES C overrides an English LANG"},
      {{"", "", "ja_JP.UTF-8", "en:ja"}, English, "LANGUAGE's first entry overrides the locale"},
      {{"", "", "en_US.UTF-8", "ja:en"}, Japanese, "LANGUAGE's first entry is Japanese"},
      {{"", "", "de_DE.UTF-8", "fr:en_GB:ja"}, English, "the first LANGUAGE entry with a translation"},
      {{"", "", "de_DE.UTF-8", "fr:de"}, Japanese, "no LANGUAGE entry has a translation"},
      {{"", "", "en_US.UTF-8", "fr::de"}, English, "without a LANGUAGE entry the locale decides"},
      {{"", "", "C.UTF-8", "en"}, Japanese, "LANGUAGE is not read under the portable locale"},
      {{"", "", "", "en"}, Japanese, "LANGUAGE is not read without a locale"},
  };
  for (const LocaleCase& c : cases) {
    const LocaleVariables& v = c.variables;
    EXPECT_EQ(LanguageFromLocale(v), c.expected) << c.fault << ": LC_ALL=" << v.lcAll << " LC_MESSAGES=" << v.lcMessages
                                                 << " LANG=" << v.lang << " LANGUAGE=" << v.language;
  }
}

TEST(ChooseLanguage, TheOptionOverridesTheLocale) {
  const LocaleVariables english{"", "", "en_US.UTF-8", ""};
  const LocaleVariables portable{"", "", "C.UTF-8", ""};
  EXPECT_EQ(ChooseLanguage(Language::Japanese, english), Language::Japanese);
  EXPECT_EQ(ChooseLanguage(Language::English, portable), Language::English);
  EXPECT_EQ(ChooseLanguage(std::nullopt, english), Language::English);
  EXPECT_EQ(ChooseLanguage(std::nullopt, portable), Language::Japanese);
}

TEST(LanguageFromName, NamesOnlyTheTwoLanguages) {
  EXPECT_EQ(LanguageFromName("en"), Language::English);
  EXPECT_EQ(LanguageFromName("ja"), Language::Japanese);
  for (const char* other : {"", "EN", "en_US", "de", "japanese"})
    EXPECT_EQ(LanguageFromName(other), std::nullopt) << other;
  EXPECT_STREQ(LanguageCode(Language::English), "en");
  EXPECT_STREQ(LanguageCode(Language::Japanese), "ja");
}

}  // namespace
