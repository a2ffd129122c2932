#include "ui/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

namespace {

// Where the build puts the window's translations among the program's resources.
constexpr const char* kWindowTranslations = ":/i18n";

bool Install(QCoreApplication& app, const QString& name, const QString& directory) {
  auto* translator = new QTranslator(&app);
  if (!translator->load(name, directory)) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace

InstalledTranslations InstallTranslations(QCoreApplication& app, Language language) {
  const QString code = QString::fromLatin1(LanguageCode(language));
  const QString qtDirectory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (language == Language::Japanese) return {true, Install(app, QStringLiteral("qtbase_") + code, qtDirectory)};
  const bool window = Install(app, QStringLiteral("zemtra_") + code, QString::fromLatin1(kWindowTranslations));
  // Qt's source texts are English: its translation only adds plural forms, if installed.
  Install(app, QStringLiteral("qtbase_") + code, qtDirectory);
  return {window, true};
}
