// The language of the interface: Japanese, the texts' own language, unless the user's
// locale asks first for English (the only translation), or --lang names one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class Language { Japanese, English };

// The locale variables that choose the language of messages, as the environment has
// them (an unset variable is empty).
struct LocaleVariables {
  std::string lcAll;       // LC_ALL
  std::string lcMessages;  // LC_MESSAGES
  std::string lang;        // LANG
  std::string language;    // LANGUAGE: a colon-separated list in order of preference
};

// The process's locale variables.
LocaleVariables LocaleVariablesFromEnvironment();

// The language the variables ask for, with the usual precedence: the messages locale is
// LC_ALL, else LC_MESSAGES, else LANG; when it is C or POSIX (C.UTF-8 too) or unset,
// the texts stay Japanese and LANGUAGE is not read; otherwise the first entry of
// LANGUAGE, then the locale itself, that names Japanese or English decides. Any other
// language has no translation: Japanese.
Language LanguageFromLocale(const LocaleVariables& variables);

// The language a --lang value names ("en", "ja"); nothing for any other value.
std::optional<Language> LanguageFromName(std::string_view name);

// The language's code: "ja" or "en" (the names of the translation files).
const char* LanguageCode(Language language);

// The values --lang takes, for help texts and errors.
inline constexpr const char* kLanguageNames = "en|ja";

// The interface language: the --lang choice when given, else the environment's.
Language ChooseLanguage(const std::optional<Language>& option, const LocaleVariables& variables);
