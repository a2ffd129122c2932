// The texts of the Qt-free core in the interface language. A text is named by its
// Japanese, the texts' own language: whole sentences with "%1" … "%9" where a value
// goes. The catalogue lists each one's English; the programs choose the language once
// at their start (SetTextLanguage), and every text shown after follows it.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "model/Language.h"

struct CatalogueEntry {
  const char* japanese;
  const char* english;
};

// Every text of the catalogue.
std::span<const CatalogueEntry> CatalogueEntries();

// The seam the programs fill: the language of the core's texts (Japanese until set).
void SetTextLanguage(Language language);
Language TextLanguage();

// The text in the interface language: japanese itself, or its English. A text the
// catalogue lacks stays as given.
std::string Localized(std::string_view japanese);
// The text with %1 … %9 replaced by values, in their order.
std::string Localized(std::string_view japanese, std::initializer_list<std::string_view> values);

// pattern with %1 … %9 replaced by values; a placeholder without a value stays.
std::string FillPlaceholders(std::string_view pattern, std::initializer_list<std::string_view> values);
