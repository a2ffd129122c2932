// The core's text catalogue: every entry has its English with the same placeholders,
// and the language chosen at the start decides what every text reads.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "model/TextCatalogue.h"

namespace {

std::multiset<std::string> Placeholders(const std::string& text) {
  std::multiset<std::string> found;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9') found.insert(text.substr(i, 2));
  }
  return found;
}

bool HasJapanese(const std::string& text) {
  // Kana and CJK ideographs, full-width forms: three-byte UTF-8 from U+3000 (0xE3 …).
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0xE3 && static_cast<unsigned char>(c) <= 0xEF) return true;
  }
  return false;
}

// Restores the texts' own language for the tests after.
class TextCatalogueTest : public ::testing::Test {
 protected:
  void TearDown() override { SetTextLanguage(Language::Japanese); }
};

TEST_F(TextCatalogueTest, EveryEntryHasItsEnglishWithTheSamePlaceholders) {
  std::set<std::string> seen;
  ASSERT_FALSE(CatalogueEntries().empty());
  for (const CatalogueEntry& entry : CatalogueEntries()) {
    const std::string japanese = entry.japanese;
    const std::string english = entry.english;
    EXPECT_TRUE(seen.insert(japanese).second) << "listed twice: " << japanese;
    EXPECT_FALSE(english.empty()) << "no English for " << japanese;
    EXPECT_FALSE(HasJapanese(english)) << "not English: " << english;
    EXPECT_EQ(Placeholders(english), Placeholders(japanese)) << japanese << " / " << english;
  }
}

TEST_F(TextCatalogueTest, TheChosenLanguageDecidesAndJapaneseStaysByteForByte) {
  const char* notFound = "%1が見つかりませんでした";
  EXPECT_EQ(Localized(notFound, {"QT4418PX"}), "QT4418PXが見つかりませんでした");
  SetTextLanguage(Language::English);
  EXPECT_EQ(TextLanguage(), Language::English);
  EXPECT_EQ(Localized(notFound, {"QT4418PX"}), "QT4418PX was not found");
  EXPECT_EQ(Localized("データがありません"), "There is no data");
  EXPECT_EQ(Localized("not in the catalogue"), "not in the catalogue") << "an uncatalogued text stays as given";
  SetTextLanguage(Language::Japanese);
  for (const CatalogueEntry& entry : CatalogueEntries()) EXPECT_EQ(Localized(entry.japanese), entry.japanese);
}

TEST(FillPlaceholders, PutsEachValueInItsPlaceOnce) {
  const struct {
    const char* pattern;
    std::initializer_list<std::string_view> values;
    const char* expected;
  } rows[] = {
      {"%2 then %1", {"a", "b"}, "b then a"},
      {"%1 holds %2", {"%2", "x"}, "%2 holds x"},  // a value is not filled again
      {"%1 and %3", {"a"}, "a and %3"},            // a placeholder without a value stays
      {"100% sure, %", {}, "100% sure, %"},
      {"%10", {"a"}, "a0"},
  };
  for (const auto& r : rows) EXPECT_EQ(FillPlaceholders(r.pattern, r.values), r.expected) << r.pattern;
}

}  // namespace
