// The window's recovery of journalled measurements: the question at start, the menu's
// list, the journal's warning, and a window killed while it measures.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <array>
#include <csignal>
#include <random>
#include <string_view>
#include <thread>

#include "WindowTestSupport.h"
#include "app/JournalRecovery.h"
#include "app/RecoverDialog.h"
#include "display/FftSettingRules.h"
#include "ui/StatusTexts.h"

namespace {

constexpr const char* kNoStart = "2026/12/09 21:00:00";

class WindowRecoveryTest : public WindowTest {
 protected:
  void SetUp() override {
    journalDirectory = dir / "state";
    fs::create_directories(*journalDirectory);
    WriteDefaults();
  }

  // A journal of `asked` samples started `minute` minutes after 21:00 that received
  // `received` codes and ended with `end` (none: as a crash leaves it).
  fs::path Journal(int minute, int received, std::optional<JournalEnd> end, int asked = 4096) {
    JournalHeader header;
    SetDefault(header.fft, header.save);
    header.fft.DataCountSel = 2;
    header.fft.DataCountMax = asked;
    header.samples = asked;
    header.save.StartDateTime = "2026/12/09 21:0" + std::to_string(minute) + ":00";
    // Each look at the clock finds a sync due: the codes go out at once.
    JournalWriter writer(SystemFileCalls(), [t = std::chrono::steady_clock::time_point{}]() mutable {
      return t += 2 * kJournalSyncInterval;
    });
    const auto start = std::chrono::system_clock::from_time_t(1796850000) + std::chrono::minutes(minute);
    EXPECT_TRUE(writer.Open(NewJournalPath(*journalDirectory, start), header));
    writer.Append(Codes(received));
    if (end) writer.End(*end);
    return writer.Path();
  }
  static std::vector<std::int32_t> Codes(int count) {
    std::vector<std::int32_t> codes(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) codes[static_cast<std::size_t>(i)] = 0x800000 + (i * 37) % 1000;
    return codes;
  }
  std::vector<std::int32_t> Held() const {
    const MeasureData& data = window->State().curData;
    return {data.adCode, data.adCode + data.ad_dnum};
  }
  std::vector<std::string> Questions() const {
    std::vector<std::string> texts;
    for (const auto& q : prompter.questions) texts.push_back(q.text);
    return texts;
  }
  // Runs `use` on the list dialog once its modal loop has started.
  void WhenListed(std::function<void(TFormRecover&)> use) {
    QTimer::singleShot(0, window.get(), [this, use] { use(*window->findChild<TFormRecover*>()); });
  }
  static void Choose(TFormRecover& dialog, int row) { dialog.List->setCurrentItem(dialog.List->topLevelItem(row)); }
  void Recover() { window->Menu().MenuDataRecover->trigger(); }
};

TEST_F(WindowRecoveryTest, AtStartTheQuestionAboutAMeasurementCutShortOnceYesRecoversItNoKeepsIt) {
  for (const bool yes : {true, false}) {
    fs::remove_all(*journalDirectory);
    fs::create_directories(*journalDirectory);
    const fs::path cut = Journal(0, 3000, std::nullopt);
    Journal(1, 4096, JournalEnd::Stopped);  // a program ended it: not asked about
    prompter.questions.clear();
    prompter.answers = {yes};
    Open();
    EXPECT_EQ(Questions(),
              std::vector<std::string>{"前回の計測は途中で終了しました（3000 / 4096 サンプル）。復元しますか？"});
    const SessionState& state = window->State();
    EXPECT_EQ(state.fDataValid, yes);
    if (yes) {
      EXPECT_EQ(Held(), std::vector<std::int32_t>(Codes(2048))) << "the largest power of two received";
      EXPECT_EQ(state.fftSetting.DataCountMax, 2048);
      EXPECT_TRUE(state.HoldsUnsavedData());
      EXPECT_EQ(state.saveSetting.StartDateTime, "2026/12/09 21:00:00");
      EXPECT_EQ(Panel(1), "途中データを復元しました");
      EXPECT_NE(window->Controls().EditRMS->text().toStdString(), "---") << "analysed and shown";
      // Saved as a data file: the record of 2048 samples; the journal, which holds
      // every sample, stays.
      prompter.files = {(dir / "recovered.DTA").string()};
      window->Menu().MenuDataSave->trigger();
      FftSetting fft;
      SaveSetting save;
      AdUnitSetting ad;
      auto buffers = std::make_unique<MeasureBuffers>();
      MeasureData data;
      buffers->Bind(data);
      ASSERT_TRUE(TmyFile(prompter).LoadDataFile(dir / "recovered.DTA", kDataFileHeader, data, fft, save, ad));
      EXPECT_EQ(data.ad_dnum, 2048);
    } else {
      EXPECT_EQ(state.curData.ad_dnum, 0);
    }
    EXPECT_TRUE(fs::exists(cut)) << "the journal stays available";
    prompter.questions.clear();
    Open();
    EXPECT_TRUE(prompter.questions.empty()) << "asked once";
  }
}

TEST_F(WindowRecoveryTest, AtStartAJournalTooShortForTheAnalysisIsNamedNotOffered) {
  Journal(0, 1000, std::nullopt);
  Open();
  EXPECT_TRUE(prompter.questions.empty());
  ASSERT_EQ(prompter.messages.size(), 1U);
  EXPECT_EQ(prompter.messages[0].text,
            "前回の計測は途中で終了しました（1000 / 4096 サンプル）。1024 サンプルに満たないため復元できません。"
            "受信したサンプルは データ → 途中データの復元 から CSV に出力できます。");
  EXPECT_FALSE(window->State().fDataValid);
}

TEST_F(WindowRecoveryTest, TheMenusListRecoversTheChosenJournalAfterTheDiscardQuestionOrWritesItsSamples) {
  Journal(0, 1500, JournalEnd::Stopped);
  Journal(1, 4096, JournalEnd::Finished);
  Journal(2, 3000, std::nullopt);
  const fs::path tooShort = Journal(3, 500, JournalEnd::Failed);
  Open();  // asks about the cut one: No
  Measure();
  ASSERT_TRUE(window->State().HoldsUnsavedData());
  const std::vector<std::int32_t> measured = Held();

  // Newest first, without the finished ones (the window's own measurement's as well).
  std::vector<std::array<std::string, 3>> rows;
  bool recoverableShort = true;
  std::string note;
  WhenListed([&](TFormRecover& dialog) {
    for (int i = 0; i < dialog.List->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = dialog.List->topLevelItem(i);
      rows.push_back({item->text(0).toStdString(), item->text(1).toStdString(), item->text(2).toStdString()});
    }
    recoverableShort = dialog.RecoverBtn->isEnabled();
    note = dialog.Note->text().toStdString();
    Choose(dialog, 1);
    dialog.RecoverBtn->click();
  });
  prompter.questions.clear();
  prompter.answers = {false};  // keep the measurement
  Recover();
  const std::vector<std::array<std::string, 3>> expected = {
      {"2026/12/09 21:03:00", "500 / 4096", "エラーで終了"},
      {"2026/12/09 21:02:00", "3000 / 4096", "途中で終了"},
      {"2026/12/09 21:00:00", "1500 / 4096", "中止"},
  };
  EXPECT_EQ(rows, expected);
  EXPECT_FALSE(recoverableShort) << "fewer than 1024 samples";
  EXPECT_EQ(note, "1024 サンプルに満たないため復元できません（CSV出力はできます）");
  EXPECT_EQ(Questions(), std::vector<std::string>{"データを保存していませんが、破棄してもいいですか？"});
  EXPECT_EQ(Held(), measured) << "kept";

  WhenListed([](TFormRecover& dialog) {
    Choose(dialog, 1);
    dialog.RecoverBtn->click();
  });
  prompter.answers = {true};
  Recover();
  EXPECT_EQ(Held(), Codes(2048));
  EXPECT_TRUE(window->Menu().MenuData->menuAction()->isEnabled()) << "unlocked again";

  // Every sample of the short one, to a CSV file; a cancel changes nothing.
  WhenListed([](TFormRecover& dialog) { dialog.CsvBtn->click(); });
  prompter.files = {(dir / "short").string()};
  Recover();
  EXPECT_EQ(prompter.fileDialogs.back().title, "途中データのCSV出力");
  EXPECT_EQ(ReadBytes(dir / "short.csv"), JournalSamplesCsv(*ReadJournalFile(tooShort).content));
  WhenListed([](TFormRecover& dialog) { dialog.CancelBtn->click(); });
  Recover();
  EXPECT_EQ(Held(), Codes(2048));

  fs::remove_all(*journalDirectory);
  prompter.messages.clear();
  Recover();
  ASSERT_EQ(prompter.messages.size(), 1U);
  EXPECT_EQ(prompter.messages[0].text, "復元できる途中データはありません");
}

TEST_F(WindowRecoveryTest, AJournalThatCannotBeWrittenIsSaidOnceAndTheMeasurementGoesOn) {
  Open();
  Press();
  EXPECT_EQ(Panel(1), status_text::kMeasuring) << "a run with its journal shows what it always shows";
  Tick();
  EXPECT_EQ(Panel(1), status_text::kFinished);

  journalDirectory = dir / "blocked";
  WriteBytes(*journalDirectory, "a file where the directory should be");
  Open();
  Press();
  EXPECT_EQ(Panel(1), "途中データを記録できません（計測は続けます）");
  Tick();
  EXPECT_TRUE(window->State().fDataValid);
  EXPECT_EQ(Panel(1), status_text::kFinished);
}

// The keyboard of a window shown on Qt's VNC platform (a screen without a display,
// as the offscreen one, that takes input): the RFB 3.3 handshake without
// authentication, then key events.
class VncKeyboard {
 public:
  explicit VncKeyboard(int port) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (fd_ < 0 && std::chrono::steady_clock::now() < deadline) {
      fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
      sockaddr_in address{};
      address.sin_family = AF_INET;
      address.sin_port = htons(static_cast<std::uint16_t>(port));
      address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) break;
      ::close(fd_);
      fd_ = -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    constexpr std::size_t kVersionBytes = 12;
    constexpr std::size_t kServerInitFixedBytes = 24;  // size, pixel format, name length
    if (fd_ < 0 || Read(kVersionBytes).empty()) return;
    Send(std::string("RFB 003.003\n"));
    Read(4);                     // the security type the server chose: none
    Send(std::string(1, '\1'));  // shared
    const std::string init = Read(kServerInitFixedBytes);
    if (init.size() != kServerInitFixedBytes) return;
    const auto nameLength =
        (static_cast<std::uint32_t>(static_cast<unsigned char>(init[22])) << 8) | static_cast<unsigned char>(init[23]);
    ready_ = Read(nameLength).size() == nameLength;
  }
  ~VncKeyboard() {
    if (fd_ >= 0) ::close(fd_);
  }
  VncKeyboard(const VncKeyboard&) = delete;
  VncKeyboard& operator=(const VncKeyboard&) = delete;

  bool Ready() const { return ready_; }
  void Press(std::uint32_t keysym) {
    for (const char down : {'\1', '\0'}) {
      const std::string event{'\4',
                              down,
                              '\0',
                              '\0',
                              static_cast<char>(keysym >> 24),
                              static_cast<char>(keysym >> 16),
                              static_cast<char>(keysym >> 8),
                              static_cast<char>(keysym)};
      Send(event);
    }
  }

 private:
  std::string Read(std::size_t n) {
    std::string bytes(n, '\0');
    std::size_t done = 0;
    while (done < n) {
      const ssize_t got = ::recv(fd_, bytes.data() + done, n - done, 0);
      if (got <= 0) return {};
      done += static_cast<std::size_t>(got);
    }
    return bytes;
  }
  void Send(const std::string& bytes) {
    ASSERT_EQ(::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
  }

  int fd_ = -1;
  bool ready_ = false;
};

// A TCP port nobody listens on now.
int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

TEST_F(WindowRecoveryTest, AWindowKilledWhileItMeasuresComesBackAsTheUnitSentItUpToTwoSecondsBeforeTheKill) {
  constexpr int kRate = 4800;
  constexpr std::uint32_t kSpaceKey = 0x20;
  const std::string unitConfig = "seed=11,noise=datasheet,ch0=white:1e-4+sine:50:1e-3";
  FftSetting fft;
  SaveSetting save;
  SetDefault(fft, save);
  fft.DataCountSel = 6;
  fft.DataCountMax = 65536;
  AdUnitSetting ad;
  ad.spsSel = 12;  // 4800 per second
  // A copy of the program, whose default settings file lies beside it.
  fs::create_directories(dir / "bin");
  fs::copy_file(ZEMTRA_PROGRAM, dir / "bin" / "zemtra");
  ASSERT_TRUE(TmyFile(prompter).SaveSettingFile(dir / "bin" / "Zemtraini.prf", "Zemtraini", fft, save, ad));
  ASSERT_TRUE(TmyFile(prompter).SaveSettingFile(settingsPath, "Zemtraini", fft, save, ad));
  fs::create_directories(dir / "run");
  ::chmod((dir / "run").c_str(), 0700);
  const fs::path killedState = dir / "killed";
  const fs::path journals = killedState / "zemtra";
  const int port = FreePort();

  // Everything the child needs is made before the fork: after it, only system calls.
  const std::string program = (dir / "bin" / "zemtra").string();
  const std::string simulate = "--simulate=" + unitConfig + ",clock=real";
  std::vector<std::string> environment = {"QT_QPA_PLATFORM=vnc:size=1024x768:port=" + std::to_string(port),
                                          "XDG_STATE_HOME=" + killedState.string(),
                                          "XDG_RUNTIME_DIR=" + (dir / "run").string()};
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string_view entry(*variable);
    if (!entry.starts_with("QT_QPA_PLATFORM=") && !entry.starts_with("XDG_STATE_HOME=") &&
        !entry.starts_with("XDG_RUNTIME_DIR=")) {
      environment.emplace_back(entry);
    }
  }
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::array<char*, 3> argv = {const_cast<char*>(program.c_str()), const_cast<char*>(simulate.c_str()), nullptr};
  const int log = ::open((dir / "killed.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  ASSERT_GE(log, 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(log, STDERR_FILENO);
    ::execve(program.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(log);
  ASSERT_GT(pid, 0);
  VncKeyboard keyboard(port);
  ASSERT_TRUE(keyboard.Ready()) << ReadBytes(dir / "killed.log");
  // The start button has the focus once the window is shown; a press before that is
  // lost, and the journal's header is written as the unit starts streaming.
  const auto streamingStarted = [&] { return fs::exists(journals) && !fs::is_empty(journals); };
  for (int presses = 0; presses < 10 && !streamingStarted(); ++presses) {
    keyboard.Press(kSpaceKey);
    for (int i = 0; i < 100 && !streamingStarted(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  const auto streaming = std::chrono::steady_clock::now();
  std::mt19937 random(std::random_device{}());
  const auto killAfter = std::chrono::milliseconds(std::uniform_int_distribution<int>(2500, 6000)(random));
  std::this_thread::sleep_for(killAfter);
  ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  const double killedAfter = std::chrono::duration<double>(std::chrono::steady_clock::now() - streaming).count();
  ASSERT_TRUE(WIFSIGNALED(status)) << ReadBytes(dir / "killed.log");
  SCOPED_TRACE("killed " + std::to_string(killedAfter) + " s into the measurement");

  const std::vector<JournalEntry> entries = ListJournals(journals);
  ASSERT_EQ(entries.size(), 1U);
  const JournalRead read = ReadJournalFile(entries[0].path);
  ASSERT_TRUE(read.content) << read.problem;
  const std::vector<std::int32_t>& received = read.content->codes;
  EXPECT_EQ(read.content->end, JournalEnd::None);
  EXPECT_GE(static_cast<double>(received.size()), kRate * (killedAfter - 2.0)) << "synced within 2 s";
  ASSERT_LT(received.size(), 65536U);

  // The next start of the window offers it; Yes recovers its power-of-two part.
  journalDirectory = journals;
  prompter.answers = {true};
  Open(unitConfig);
  ASSERT_EQ(prompter.questions.size(), 1U);
  EXPECT_EQ(prompter.questions[0].text, "前回の計測は途中で終了しました（" + std::to_string(received.size()) +
                                            " / 65536 サンプル）。復元しますか？");
  const std::vector<std::int32_t> recovered = Held();
  std::size_t part = 1024;
  while (part * 2 <= received.size()) part *= 2;
  ASSERT_EQ(recovered.size(), part);
  EXPECT_TRUE(std::equal(recovered.begin(), recovered.end(), received.begin()));

  // The same unit, measured to the end: its first samples are those received.
  journalDirectory.reset();
  Open(unitConfig);
  Measure();
  ASSERT_EQ(window->State().curData.ad_dnum, 65536);
  const std::vector<std::int32_t> sent = Held();
  EXPECT_TRUE(std::equal(received.begin(), received.end(), sent.begin())) << "recovered as the unit sent it";
}

}  // namespace
