#include "model/Language.h"

#include <cstdlib>

namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// The language part of a locale name: "en" of "en_US.UTF-8@euro".
std::string_view LanguagePart(std::string_view locale) { return locale.substr(0, locale.find_first_of("_.@")); }

bool IsPortableLocale(std::string_view locale) {
  return locale.empty() || locale == "POSIX" || LanguagePart(locale) == "C";
}

}  // namespace

LocaleVariables LocaleVariablesFromEnvironment() {
  return {Variable("LC_ALL"), Variable("LC_MESSAGES"), Variable("LANG"), Variable("LANGUAGE")};
}

Language LanguageFromLocale(const LocaleVariables& variables) {
  const std::string& locale = !variables.lcAll.empty()        ? variables.lcAll
                              : !variables.lcMessages.empty() ? variables.lcMessages
                                                              : variables.lang;
  if (IsPortableLocale(locale)) return Language::Japanese;
  std::string_view preferences = variables.language;
  while (!preferences.empty()) {
    const auto colon = preferences.find(':');
    if (const auto named = LanguageFromName(LanguagePart(preferences.substr(0, colon)))) return *named;
    preferences = colon == std::string_view::npos ? std::string_view() : preferences.substr(colon + 1);
  }
  return LanguageFromName(LanguagePart(locale)).value_or(Language::Japanese);
}

std::optional<Language> LanguageFromName(std::string_view name) {
  if (name == "ja") return Language::Japanese;
  if (name == "en") return Language::English;
  return std::nullopt;
}

const char* LanguageCode(Language language) { return language == Language::English ? "en" : "ja"; }

Language ChooseLanguage(const std::optional<Language>& option, const LocaleVariables& variables) {
  return option ? *option : LanguageFromLocale(variables);
}
