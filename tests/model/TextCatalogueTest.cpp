// The core's text catalogue: every entry has its English with the same placeholders,
// and the language chosen at the start decides what every text reads.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

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

// The string literals of a source line outside its comment, escapes undone ("\\n").
std::vector<std::string> LiteralsOf(const std::string& line) {
  std::vector<std::string> literals;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line.compare(i, 2, "//") == 0) break;
    if (line[i] == '\'' && i + 2 < line.size()) {
      i += line[i + 1] == '\\' ? 3 : 2;  // a character literal: '"' is no string
      continue;
    }
    if (line[i] != '"') continue;
    std::string literal;
    for (++i; i < line.size() && line[i] != '"'; ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) {
        ++i;
        literal += line[i] == 'n' ? '\n' : line[i];
      } else {
        literal += line[i];
      }
    }
    literals.push_back(literal);
  }
  return literals;
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

// Every Japanese text of the Qt-free code is one the catalogue lists, so none is left
// without its English. (Code that includes Qt shows its texts through tr(): the .ts.)
TEST_F(TextCatalogueTest, EveryJapaneseTextOfTheCoreIsCatalogued) {
  std::set<std::string> keys;
  for (const CatalogueEntry& entry : CatalogueEntries()) keys.insert(entry.japanese);
  const std::filesystem::path root = ZEMTRA_SOURCE_DIR;
  int files = 0;
  for (const char* folder : {"model", "ui", "drivers", "adc", "analysis", "display", "files", "app", "cli"}) {
    for (const auto& item : std::filesystem::directory_iterator(root / folder)) {
      const auto extension = item.path().extension();
      if (extension != ".cpp" && extension != ".h") continue;
      if (item.path().filename() == "TextCatalogue.cpp") continue;
      std::ifstream in(item.path());
      std::stringstream whole;
      whole << in.rdbuf();
      if (whole.str().find("#include <Q") != std::string::npos) continue;
      ++files;
      std::istringstream lines(whole.str());
      int number = 0;
      for (std::string line; std::getline(lines, line);) {
        ++number;
        for (const std::string& literal : LiteralsOf(line)) {
          if (HasJapanese(literal) && keys.count(literal) == 0) {
            ADD_FAILURE() << item.path().lexically_relative(root).string() << ":" << number
                          << ": not in the catalogue: \"" << literal << "\"";
          }
        }
      }
    }
  }
  EXPECT_GT(files, 50) << "the core's sources were not found under " << root;
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
