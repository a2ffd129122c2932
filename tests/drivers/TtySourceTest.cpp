#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "PseudoTerminal.h"
#include "drivers/TtySource.h"

namespace fs = std::filesystem;

namespace {

constexpr auto kGenerous = std::chrono::seconds(10);

// A scratch tree that looks like /sys and /dev to TtySource.
class ScratchTree {
 public:
  ScratchTree() {
    root_ = fs::temp_directory_path() / ("zemtra-tty-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    fs::create_directories(root_ / "sys" / "class" / "tty");
    fs::create_directories(root_ / "dev");
  }
  ~ScratchTree() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  TtyRoots Roots() const { return {root_ / "sys", root_ / "dev"}; }

  // A terminal `name` whose USB device has vendor id `vendor` (none: not on USB).
  // Returns its port directory, where ftdi_sio keeps latency_timer.
  fs::path AddTerminal(const std::string& name, const std::string& vendor, const std::string& serial = "") {
    const fs::path usbDevice = root_ / "sys" / "devices" / "usb1" / ("1-" + name);
    const fs::path port = usbDevice / ("1-" + name + ":1.0") / name;
    fs::create_directories(port);
    if (!vendor.empty()) std::ofstream(usbDevice / "idVendor") << vendor << "\n";
    if (!vendor.empty()) std::ofstream(usbDevice / "idProduct") << "6001\n";
    if (!serial.empty()) std::ofstream(usbDevice / "serial") << serial << "\n";
    const fs::path classDir = root_ / "sys" / "class" / "tty" / name;
    fs::create_directories(classDir);
    fs::create_directory_symlink(port, classDir / "device");
    return port;
  }

  const fs::path& Root() const { return root_; }

 private:
  static inline int counter_ = 0;
  fs::path root_;
};

struct Logged {
  std::vector<std::string> lines;
  DriverLog Sink() {
    return [this](std::string_view line) { lines.emplace_back(line); };
  }
  bool Mentions(const std::string& word) const {
    for (const auto& line : lines) {
      if (line.find(word) != std::string::npos) return true;
    }
    return false;
  }
};

TEST(TtySourceTest, FindsTheFtdiTerminalsInNumericOrder) {
  struct Terminal {
    const char* name;
    const char* vendor;
  };
  struct Row {
    std::vector<Terminal> terminals;
    std::vector<std::string> expected;
    const char* reason;
  };
  const Row rows[] = {
      {{}, {}, "no terminals at all"},
      {{{"ttyUSB0", "067b"}}, {}, "only a terminal of another maker"},
      {{{"ttyUSB0", "067b"}, {"ttyUSB1", "0403"}}, {"ttyUSB1"}, "skips other makers"},
      {{{"ttyUSB10", "0403"}, {"ttyUSB2", "0403"}}, {"ttyUSB2", "ttyUSB10"}, "ttyUSB2 comes before ttyUSB10"},
      {{{"ttyS0", ""}, {"ttyUSB3", "0403"}}, {"ttyUSB3"}, "only ttyUSB terminals count"},
      {{{"ttyUSBx", "0403"}}, {}, "a name without a number is not a ttyUSB terminal"},
  };
  for (const Row& row : rows) {
    ScratchTree tree;
    for (const Terminal& terminal : row.terminals) tree.AddTerminal(terminal.name, terminal.vendor);
    std::vector<std::string> found;
    for (const FoundDevice& device : FindFtdiTtys(tree.Roots())) {
      EXPECT_EQ(device.tty.parent_path(), tree.Roots().dev) << row.reason;
      found.push_back(device.tty.filename().string());
    }
    EXPECT_EQ(found, row.expected) << row.reason;
  }
}

TEST(TtySourceTest, TerminalsCarryTheirUsbIdsAndSerialNumbers) {
  ScratchTree tree;
  tree.AddTerminal("ttyUSB0", "0403", "A50285BI");
  const auto found = FindFtdiTtys(tree.Roots());
  ASSERT_EQ(found.size(), 1U);
  EXPECT_EQ(found[0].Line(), "tty:" + (tree.Roots().dev / "ttyUSB0").string() + "  0403:6001, serial A50285BI");
}

TEST(TtySourceTest, SeveralFtdiTerminalsAndNoneNamedIsRefusedWithTheList) {
  ScratchTree tree;
  tree.AddTerminal("ttyUSB0", "0403", "CONSOLE1");
  tree.AddTerminal("ttyUSB1", "0403", "UNIT0001");
  Logged log;
  TtySource source("", log.Sink(), tree.Roots());
  EXPECT_EQ(source.Open(), FT_DEVICE_NOT_FOUND);
  EXPECT_TRUE(log.Mentions("2 FTDI devices are attached"));
  EXPECT_TRUE(log.Mentions("tty:" + (tree.Roots().dev / "ttyUSB0").string()));
  EXPECT_TRUE(log.Mentions("tty:" + (tree.Roots().dev / "ttyUSB1").string()));
}

TEST(TtySourceTest, OpenFailuresSayWhy) {
  ScratchTree tree;
  const fs::path plainFile = tree.Root() / "plain";
  std::ofstream(plainFile) << "x";
  struct Row {
    fs::path path;
    FT_STATUS expected;
    const char* logged;
    const char* reason;
  };
  const Row rows[] = {
      {"", FT_DEVICE_NOT_FOUND, "no USB serial terminal", "nothing FTDI in sysfs"},
      {tree.Root() / "dev" / "ttyUSB7", FT_DEVICE_NOT_FOUND, "ttyUSB7", "path that does not exist"},
      {plainFile, FT_DEVICE_NOT_OPENED, "not a terminal", "a plain file"},
  };
  for (const Row& row : rows) {
    Logged log;
    TtySource source(row.path, log.Sink(), tree.Roots());
    EXPECT_EQ(source.Open(), row.expected) << row.reason;
    EXPECT_TRUE(log.Mentions(row.logged)) << row.reason;
    std::size_t got = 0;
    std::array<std::uint8_t, 4> buffer{};
    EXPECT_EQ(source.ReadSome(buffer, got), FT_INVALID_HANDLE) << row.reason;
  }
}

TEST(TtySourceTest, ExchangesBytesUnalteredThroughARawTerminal) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.Valid());
  Logged log;
  TtySource source(pty.SlavePath(), log.Sink());
  ASSERT_EQ(source.Open(), FT_OK);

  // Raw mode: CR stays CR in both directions, no echo, bytes above 127 pass.
  const std::string toHost = "OK\r\n\x7f\xff\x03";
  ASSERT_TRUE(pty.WriteAll(toHost));
  std::string received;
  const auto deadline = std::chrono::steady_clock::now() + kGenerous;
  while (received.size() < toHost.size() && std::chrono::steady_clock::now() < deadline) {
    std::array<std::uint8_t, 64> buffer{};
    std::size_t got = 0;
    ASSERT_EQ(source.ReadSome(buffer, got), FT_OK);
    received.append(reinterpret_cast<const char*>(buffer.data()), got);
  }
  EXPECT_EQ(received, toHost);

  const std::string toUnit = "A000400\r";
  ASSERT_EQ(source.Write({reinterpret_cast<const std::uint8_t*>(toUnit.data()), toUnit.size()}), FT_OK);
  EXPECT_EQ(pty.ReadSome(toUnit.size()), toUnit);
  EXPECT_EQ(pty.ReadSome(1, std::chrono::milliseconds(20)), "") << "nothing is echoed or added";
  EXPECT_EQ(source.Flush(true, true), FT_OK);
  EXPECT_TRUE(log.lines.empty());
}

TEST(TtySourceTest, HangUpIsAReadError) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.Valid());
  Logged log;
  TtySource source(pty.SlavePath(), log.Sink());
  ASSERT_EQ(source.Open(), FT_OK);
  pty.CloseMaster();
  std::array<std::uint8_t, 16> buffer{};
  std::size_t got = 0;
  EXPECT_EQ(source.ReadSome(buffer, got), FT_IO_ERROR);
  EXPECT_EQ(got, 0u);
  EXPECT_FALSE(log.lines.empty());
}

TEST(TtySourceTest, SetsTheLatencyTimerWhenTheAttributeIsWritable) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.Valid());
  ScratchTree tree;
  // The attribute belongs to the terminal the path names.
  const fs::path port = tree.AddTerminal(fs::path(pty.SlavePath()).filename().string(), "0403");
  std::ofstream(port / "latency_timer") << "16\n";
  EXPECT_TRUE(fs::equivalent(LatencyTimerAttribute(tree.Roots(), pty.SlavePath()), port / "latency_timer"));
  Logged log;
  TtySource source(pty.SlavePath(), log.Sink(), tree.Roots());
  ASSERT_EQ(source.Open(), FT_OK);
  std::ifstream file(port / "latency_timer");
  int latency = 0;
  file >> latency;
  EXPECT_EQ(latency, kTtyMinLatencyMs);
}

TEST(TtySourceTest, DiscoveredTerminalIsOpenedByItsDevicePath) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.Valid());
  ScratchTree tree;
  tree.AddTerminal("ttyUSB0", "0403");
  fs::create_symlink(pty.SlavePath(), tree.Roots().dev / "ttyUSB0");
  Logged log;
  TtySource source("", log.Sink(), tree.Roots());
  ASSERT_EQ(source.Open(), FT_OK);
  const std::string toUnit = "?\r";
  ASSERT_EQ(source.Write({reinterpret_cast<const std::uint8_t*>(toUnit.data()), toUnit.size()}), FT_OK);
  EXPECT_EQ(pty.ReadSome(toUnit.size()), toUnit);
}

}  // namespace
