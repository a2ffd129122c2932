// The desktop program's command line, its single copy, its closing signals, its exit
// without a display, and where it keeps its settings.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QHostInfo>
#include <QProcess>
#include <QSysInfo>
#include <csignal>

#include "WindowTestSupport.h"
#include "app/CloseSignals.h"
#include "app/ProgramOptions.h"
#include "app/SettingsLocation.h"
#include "app/SingleInstance.h"

namespace {

TEST(ProgramOptions, TheUnitOptionsOfTheCommandLineTool) {
  const struct {
    std::vector<std::string> args;
    std::optional<std::string> simulate;
    std::optional<std::string> device;
    bool help;
    const char* error;
    std::optional<Language> language = std::nullopt;
  } rows[] = {
      {{}, std::nullopt, std::nullopt, false, ""},
      {{"--lang=en"}, std::nullopt, std::nullopt, false, "", Language::English},
      {{"--lang=ja", "--simulate"}, "", std::nullopt, false, "", Language::Japanese},
      {{"--lang=de"}, std::nullopt, std::nullopt, false, "--lang takes en|ja: --lang=en or --lang=ja"},
      {{"--lang"}, std::nullopt, std::nullopt, false, "--lang takes en|ja: --lang=en or --lang=ja"},
      {{"--simulate"}, "", std::nullopt, false, ""},
      {{"--simulate=clock=virtual,seed=2"}, "clock=virtual,seed=2", std::nullopt, false, ""},
      {{"--device=tty:/dev/ttyUSB1"}, std::nullopt, "tty:/dev/ttyUSB1", false, ""},
      {{"--help"}, std::nullopt, std::nullopt, true, ""},
      {{"-h"}, std::nullopt, std::nullopt, true, ""},
      {{"--device"}, std::nullopt, std::nullopt, false, "--device needs a value: --device=libftdi[:SERIAL]|tty[:PATH]"},
      {{"--samples", "1024"}, std::nullopt, std::nullopt, false, "unknown option '--samples' (see --help)"},
      {{"run1.DTA"}, std::nullopt, std::nullopt, false, "unexpected argument 'run1.DTA'"},
      {{"--help=x"}, std::nullopt, std::nullopt, true, "--help takes no value"},
  };
  for (const auto& r : rows) {
    const std::string shown = r.args.empty() ? "(none)" : r.args.front();
    const ProgramOptionsParse parse = ParseProgramOptions(r.args);
    EXPECT_EQ(parse.error, r.error) << shown;
    if (!parse.error.empty()) continue;
    EXPECT_EQ(parse.options.simulate, r.simulate) << shown;
    EXPECT_EQ(parse.options.device, r.device) << shown;
    EXPECT_EQ(parse.options.help, r.help) << shown;
    EXPECT_EQ(parse.options.language, r.language) << shown;
  }
}

TEST(ProgramOptions, VersionIsAFlag) {
  EXPECT_TRUE(ParseProgramOptions({"--version"}).options.version);
  EXPECT_FALSE(ParseProgramOptions({"--simulate"}).options.version);
  EXPECT_EQ(ParseProgramOptions({"--version=2"}).error, "--version takes no value");
}

TEST(SettingsLocation, BesideAWritablePortableExecutableElseTheConfigurationDirectory) {
  TempDir dir;
  const QString config = QString::fromStdString((dir / "config" / "Zemtra").string());
  const QString app = QStringLiteral("org.example.App");
  const auto at = [](const fs::path& path) { return QString::fromStdString(path.string()); };
  fs::create_directories(dir / "portable");
  EXPECT_EQ(DefaultSettingsPath(at(dir / "portable"), config, app), dir / "portable" / "Zemtraini.prf");
  WriteBytes(dir / "file", "");
  EXPECT_EQ(DefaultSettingsPath(at(dir / "file" / "bin"), config, app), dir / "config" / "Zemtra" / "Zemtraini.prf");
  EXPECT_TRUE(fs::is_directory(dir / "config" / "Zemtra")) << "created";
  // An installed copy, even in a bin directory its user may write (root's /usr/bin).
  fs::create_directories(dir / "usr" / "bin");
  fs::create_directories(dir / "usr" / "share" / "applications");
  WriteBytes(dir / "usr" / "share" / "applications" / "org.example.App.desktop", "");
  EXPECT_EQ(DefaultSettingsPath(at(dir / "usr" / "bin"), config, app), dir / "config" / "Zemtra" / "Zemtraini.prf");
}

class SingleInstanceTest : public ::testing::Test {
 protected:
  // Lets the running copy take what a later one sent.
  static void Deliver() {
    for (int i = 0; i < 50; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  TempDir dir;
  QString where = QString::fromStdString(dir.path().string());
};

TEST_F(SingleInstanceTest, ASecondCopyReachesTheFirstAndAsksItToRaiseItsWindow) {
  SingleInstance first(where);
  int raised = 0;
  QObject::connect(&first, &SingleInstance::RaiseRequested, [&] { ++raised; });
  ASSERT_TRUE(first.Acquire());
  SingleInstance second(where);
  EXPECT_FALSE(second.Acquire());
  ASSERT_TRUE(second.ReachRunningCopy());
  second.AskToRaise();
  Deliver();
  EXPECT_EQ(raised, 1);
}

TEST_F(SingleInstanceTest, ALockAndSocketLeftByAnEndedCopyAreTakenOver) {
  // The lock of a process that no longer runs, and its socket file.
  WriteBytes(dir / "zemtra.lock", "2147483646\nzemtra\n" + QSysInfo::machineHostName().toStdString() + "\n");
  WriteBytes(dir / "zemtra.socket", "");
  SingleInstance first(where);
  ASSERT_TRUE(first.Acquire());
  SingleInstance second(where);
  EXPECT_FALSE(second.Acquire());
  EXPECT_TRUE(second.ReachRunningCopy());
}

TEST_F(SingleInstanceTest, AFirstCopyThatCannotBeReachedLeavesTheSecondToEndSilently) {
  QLockFile heldElsewhere(QString::fromStdString((dir / "zemtra.lock").string()));
  ASSERT_TRUE(heldElsewhere.tryLock());
  SingleInstance second(where);
  EXPECT_FALSE(second.Acquire());
  EXPECT_FALSE(second.ReachRunningCopy());
}

TEST_F(SingleInstanceTest, OnlyADirectoryNoOtherUserCanChangeHoldsTheLock) {
  const uid_t me = ::geteuid();
  const auto made = [&](const char* name, mode_t mode) {
    fs::create_directories(dir / name);
    ::chmod((dir / name).c_str(), mode);
    return QString::fromStdString((dir / name).string());
  };
  fs::create_symlink(dir / "private", dir / "link");
  WriteBytes(dir / "file", "");
  const struct {
    const char* name;
    QString path;
    uid_t owner;
    bool trusted;
  } rows[] = {
      {"the user's own 0700 directory", made("private", 0700), me, true},
      {"0755: others may read, not write", made("readable", 0755), me, true},
      {"writable by the group", made("group", 0770), me, false},
      {"writable by everyone (sticky /tmp too)", made("world", 01777), me, false},
      {"owned by another user", made("private", 0700), me + 1, false},
      {"a link to a private directory", QString::fromStdString((dir / "link").string()), me, false},
      {"a regular file", QString::fromStdString((dir / "file").string()), me, false},
      {"missing", QString::fromStdString((dir / "missing").string()), me, false},
      {"relative: the working directory", QStringLiteral("."), me, false},
      {"empty: Qt's answer for an unusable runtime directory", QString(), me, false},
  };
  for (const auto& r : rows) EXPECT_EQ(SingleInstance::IsPrivateDirectory(r.path, r.owner), r.trusted) << r.name;
  EXPECT_TRUE(SingleInstance::IsPrivateDirectory(SingleInstance::DefaultDirectory(), me))
      << "the directory the program uses, when it has one";
}

TEST_F(SingleInstanceTest, ReleaseGivesUpTheLockAndTheSocket) {
  SingleInstance first(where);
  ASSERT_TRUE(first.Acquire());
  first.Release();
  EXPECT_FALSE(fs::exists(dir / "zemtra.socket"));
  SingleInstance second(where);
  EXPECT_TRUE(second.Acquire());
}

TEST(CloseSignals, EachClosingSignalArrivesInTheEventLoop) {
  const CloseSignals closeSignals;
  std::vector<int> received;
  QObject::connect(&closeSignals, &CloseSignals::Received, [&](int signalNumber) { received.push_back(signalNumber); });
  for (const int signalNumber : CloseSignals::kSignals) {
    received.clear();
    ASSERT_EQ(std::raise(signalNumber), 0);
    for (int i = 0; i < 50 && received.empty(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(received, std::vector<int>{signalNumber}) << "the process lives on: " << signalNumber;
  }
}

TEST(EntryPoint, WithoutADisplayTheProgramSaysSoAndExits70) {
  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) env.remove(QString::fromLatin1(name));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  program.setProcessEnvironment(env);
  program.start(QStringLiteral(ZEMTRA_PROGRAM), {QStringLiteral("--simulate=clock=virtual")});
  ASSERT_TRUE(program.waitForFinished(30'000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "not aborted";
  EXPECT_EQ(program.exitCode(), kExitFailure);
  EXPECT_TRUE(program.readAllStandardError().contains("zemtra: the window could not be created"));
}

}  // namespace
