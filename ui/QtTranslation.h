// Qt's own texts (the labels and buttons of the standard file, colour, print and
// page-setup dialogs and of the message boxes) in the window's language, Japanese,
// from the translations that Qt ships (qtbase_ja.qm).
#pragma once

class QCoreApplication;

// The language of every text of the window.
inline constexpr const char* kInterfaceLanguage = "ja";

// Installs Qt's translation for the interface language on app, which owns it. False
// when the translation is not installed: Qt's texts then stay English.
bool InstallQtTranslation(QCoreApplication& app);
