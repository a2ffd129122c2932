// zemtra: the desktop program. One copy per user; the unit is the real one unless
// --simulate is given.
#include <QApplication>
#include <QStandardPaths>
#include <cstdio>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "app/ProgramOptions.h"
#include "app/SettingsLocation.h"
#include "app/SingleInstance.h"
#include "app/Zemtra_main.h"
#include "drivers/DriverChoice.h"
#include "files/Journal.h"
#include "model/Version.h"
#include "ui/Mymessage.h"
#include "ui/QtPrompter.h"
#include "ui/QtTranslation.h"
#include "ui/UiFont.h"

namespace {

void ShowBox(const QString& text) { QtPrompter().ShowMessage(text.toStdString(), kProgramCaption, MessageIcon::Error); }

}  // namespace

int main(int argc, char** argv) {
  const ProgramOptionsParse parse = ParseProgramOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parse.error.empty()) {
    std::fprintf(stderr, "zemtra: %s\n", parse.error.c_str());
    return kExitUsage;
  }
  if (parse.options.help) {
    std::fputs(ProgramHelpText().c_str(), stdout);
    return kExitOk;
  }
  if (parse.options.version) {
    std::fputs(VersionLine("zemtra").c_str(), stdout);
    return kExitOk;
  }
  const UnitDriver chosen = MakeUnitDriver(parse.options.simulate, parse.options.device, StderrDriverLog("zemtra"));
  if (!chosen.driver) {
    std::fprintf(stderr, "zemtra: %s\n", chosen.error.c_str());
    return kExitUsage;
  }

  QApplication app(argc, argv);
  // Also names the configuration directory of an installed copy's settings (~/.config/Zemtra/).
  QApplication::setApplicationName(QString::fromLatin1(kProgramCaption));
  // The desktop entry's id, so the desktop shows the windows under the entry's name and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral(ZEMTRA_APP_ID));
  QApplication::setFont(UiFont());
  if (!InstallQtTranslation(app)) {
    std::fputs("zemtra: Qt's Japanese texts (qtbase_ja.qm) are not installed; the standard dialogs stay English\n",
               stderr);
  }

  SingleInstance instance(SingleInstance::DefaultDirectory());
  if (!instance.Acquire()) {
    if (instance.ReachRunningCopy()) {
      ShowBox(QCoreApplication::translate("main", "Zemtra はすでに起動しています"));
      instance.AskToRaise();
    }
    return kExitAlreadyRunning;
  }

  try {
    MainFormEnvironment environment(*chosen.driver);
    environment.settingsPath = DefaultSettingsPath(QCoreApplication::applicationDirPath(),
                                                   QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                                                   QGuiApplication::desktopFileName());
    environment.journalDirectory = JournalDirectory();
    TFormMain window(std::move(environment));
    QObject::connect(&instance, &SingleInstance::RaiseRequested, &window, &TFormMain::RaiseWindow);
    return QApplication::exec();
  } catch (const std::exception& error) {
    ShowBox(QString::fromStdString(error.what()));
    return kExitFailure;
  }
}
