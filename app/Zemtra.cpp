// zemtra: the desktop program. One copy per user; the unit is the real one unless
// --simulate is given.
#include <QApplication>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "app/CloseSignals.h"
#include "app/ProgramOptions.h"
#include "app/SettingsLocation.h"
#include "app/SingleInstance.h"
#include "app/Zemtra_main.h"
#include "drivers/DriverChoice.h"
#include "files/Journal.h"
#include "model/Language.h"
#include "model/TextCatalogue.h"
#include "model/Version.h"
#include "ui/Mymessage.h"
#include "ui/QtPrompter.h"
#include "ui/QtTranslation.h"
#include "ui/UiFont.h"

namespace {

void ShowBox(const QString& text) { QtPrompter().ShowMessage(text.toStdString(), kProgramCaption, MessageIcon::Error); }

// Qt ends the program with abort() when it cannot open its display; this ends it with
// the program's own code and a line that says why.
void ExitOnFatalStartMessage(QtMsgType type, const QMessageLogContext& /*context*/, const QString& text) {
  std::fprintf(stderr, "zemtra: %s\n", qPrintable(text));
  if (type == QtFatalMsg) {
    std::fputs("zemtra: the window could not be created\n", stderr);
    std::_Exit(kExitFailure);
  }
}

// The window and the lock while the window runs, for an end that skips main's return:
// Qt's display connection calls exit() when the display goes away.
TFormMain* gRunningWindow = nullptr;
SingleInstance* gHeldInstance = nullptr;

// Names the window and the lock for EndWhereTheDisplayWentAway while it lives.
class RunningWindow {
 public:
  RunningWindow(TFormMain& window, SingleInstance& instance) {
    gRunningWindow = &window;
    gHeldInstance = &instance;
  }
  ~RunningWindow() { gRunningWindow = nullptr; }
  RunningWindow(const RunningWindow&) = delete;
  RunningWindow& operator=(const RunningWindow&) = delete;
};

void EndWhereTheDisplayWentAway() {
  if (gRunningWindow == nullptr) return;
  gRunningWindow->EndWithoutDisplay();
  gHeldInstance->Release();
  std::fputs("zemtra: the connection to the display was lost\n", stderr);
  std::_Exit(kExitDisplayLost);
}

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

  const QtMessageHandler usual = qInstallMessageHandler(ExitOnFatalStartMessage);
  QApplication app(argc, argv);
  qInstallMessageHandler(usual);
  // Also names the configuration directory of an installed copy's settings (~/.config/Zemtra/).
  QApplication::setApplicationName(QString::fromLatin1(kProgramCaption));
  // The desktop entry's id, so the desktop shows the windows under the entry's name and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral(ZEMTRA_APP_ID));
  QApplication::setFont(UiFont());
  const Language language = ChooseLanguage(parse.options.language, LocaleVariablesFromEnvironment());
  SetTextLanguage(language);
  const InstalledTranslations installed = InstallTranslations(app, language);
  if (!installed.qt) {
    std::fputs("zemtra: Qt's Japanese texts (qtbase_ja.qm) are not installed; the standard dialogs stay English\n",
               stderr);
  }
  if (!installed.window)
    std::fputs("zemtra: the program's English texts are missing; the window stays Japanese\n", stderr);

  const QString lockDirectory = SingleInstance::DefaultDirectory();
  if (lockDirectory.isEmpty()) {
    // A lock elsewhere (the working directory, a directory others can change) would
    // not keep a second copy out.
    const QString text = QCoreApplication::translate(
        "main",
        "Zemtra を起動できません: 一つだけ起動するためのロックを置く、このユーザー専用のディレクトリがありません "
        "(XDG_RUNTIME_DIR)");
    std::fprintf(stderr, "zemtra: no private directory for the single-copy lock (XDG_RUNTIME_DIR unset or unusable)\n");
    ShowBox(text);
    return kExitFailure;
  }
  SingleInstance instance(lockDirectory);
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
    // A signal closes the window as its close button does; once the close is done
    // (after a set-up in progress, too) every event loop ends, a box's as well.
    const CloseSignals closeSignals;
    int signalled = 0;
    QObject::connect(&closeSignals, &CloseSignals::Received, &window, [&](int signalNumber) {
      if (signalled == 0) signalled = signalNumber;
      window.close();
    });
    QObject::connect(&window, &TFormMain::Closed, &window, [&] {
      if (signalled != 0) QCoreApplication::exit(kExitSignalBase + signalled);
    });
    const RunningWindow running(window, instance);
    std::atexit(EndWhereTheDisplayWentAway);
    return QApplication::exec();
  } catch (const std::exception& error) {
    ShowBox(QString::fromStdString(error.what()));
    return kExitFailure;
  }
}
