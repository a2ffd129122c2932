// The window's texts in the interface language: Japanese is the texts' own language;
// English comes from the translation built into the program (i18n/zemtra_en.ts). Qt's
// own texts (the labels and buttons of the standard file, colour, print and page-setup
// dialogs and of the message boxes) follow, from the translations Qt ships
// (qtbase_ja.qm; Qt's texts are English of their own).
#pragma once

#include "model/Language.h"

class QCoreApplication;

// What InstallTranslations found.
struct InstalledTranslations {
  bool window = false;  // the window's texts read in the language
  bool qt = false;      // Qt's texts read in the language
};

// Installs the translations of language on app, which owns them. What is missing
// leaves those texts in their own language (the window's Japanese, Qt's English).
InstalledTranslations InstallTranslations(QCoreApplication& app, Language language);
