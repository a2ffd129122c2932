#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "ScriptedDriver.h"
#include "adc/Ft_fifo.h"

namespace {

using Log = std::vector<std::string>;

class FtFifoTest : public ::testing::Test {
 protected:
  ScriptedDriver driver;
  FakeTime time;
  Tft_FIFO link{driver, time.Pump(), time.Clock()};

  void OpenLink() {
    ASSERT_TRUE(link.Open(4096));
    driver.log.clear();
  }
};

TEST_F(FtFifoTest, OpenSetsTransferSizesAndPurgesOnceOnly) {
  ASSERT_TRUE(link.Open(4096));
  EXPECT_EQ(driver.log, (Log{"Open", "SetUSBParameters 4096 0", "Purge 3"}));
  driver.log.clear();
  EXPECT_TRUE(link.Open(4096)) << "already open";
  EXPECT_TRUE(driver.log.empty()) << "an open link is not reopened";
}

TEST_F(FtFifoTest, FailedOpenStepsLeaveNoHandleOpen) {
  struct Row {
    const char* reason;
    FT_STATUS ScriptedDriver::*call;
    Log expected;
  };
  const std::vector<Row> rows = {
      {"device missing", &ScriptedDriver::openStatus, {"Open"}},
      {"transfer size refused", &ScriptedDriver::usbStatus, {"Open", "SetUSBParameters 4096 0", "Close"}},
      {"purge fails", &ScriptedDriver::purgeStatus, {"Open", "SetUSBParameters 4096 0", "Purge 3", "Close"}},
  };
  for (const Row& row : rows) {
    ScriptedDriver failing;
    failing.*row.call = FT_IO_ERROR;
    Tft_FIFO fifo(failing, {});
    EXPECT_FALSE(fifo.Open(4096)) << row.reason;
    EXPECT_FALSE(fifo.IsOpen()) << row.reason;
    EXPECT_EQ(failing.log, row.expected) << row.reason;
  }
}

TEST_F(FtFifoTest, FailedPurgeClosesTheLinkAndEverythingButOpenFails) {
  OpenLink();
  driver.purgeStatus = FT_IO_ERROR;
  EXPECT_FALSE(link.Purge());
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(driver.log, (Log{"Purge 3", "Close"}));

  driver.log.clear();
  driver.queued = "OK\r";
  std::array<std::uint8_t, 16> bytes{};
  std::array<char, 26> reply{};
  std::uint32_t got = 0;
  EXPECT_FALSE(link.Purge());
  EXPECT_FALSE(link.WriteCommand("?"));
  EXPECT_FALSE(link.ReadQueue(bytes.data(), 16, got));
  EXPECT_FALSE(link.ReadBlock(bytes.data(), 3, got));
  EXPECT_FALSE(link.SendCommandOK("?"));
  EXPECT_FALSE(link.SendCommandReply("U?", reply.data(), 26));
  EXPECT_TRUE(driver.log.empty()) << "a closed link makes no driver call";

  driver.purgeStatus = FT_OK;
  EXPECT_TRUE(link.Open(4096));
}

TEST_F(FtFifoTest, CloseAndDestructorPurgeThenClose) {
  OpenLink();
  link.Close();
  EXPECT_EQ(driver.log, (Log{"Purge 3", "Close"}));
  EXPECT_FALSE(link.IsOpen());
  driver.log.clear();
  link.Close();
  EXPECT_TRUE(driver.log.empty()) << "closing a closed link does nothing";

  ScriptedDriver other;
  {
    Tft_FIFO scoped(other, {});
    ASSERT_TRUE(scoped.Open(4096));
  }
  EXPECT_EQ(other.log.back(), "Close");
  EXPECT_EQ(other.Count("Purge"), 2);
}

TEST_F(FtFifoTest, CommandsUpTo19CharactersGoOutWithTheirCr) {
  OpenLink();
  const std::string nineteen(19, 'A');
  EXPECT_TRUE(link.WriteCommand(nineteen));
  EXPECT_EQ(driver.log, (Log{"Write " + nineteen + "\r"})) << "20 bytes in one write, no terminating zero";
  driver.log.clear();
  EXPECT_FALSE(link.WriteCommand(std::string(20, 'A')));
  EXPECT_TRUE(driver.log.empty()) << "refused without a driver call";
  driver.writeStatus = FT_IO_ERROR;
  EXPECT_FALSE(link.WriteCommand("?"));
  EXPECT_EQ(link.LastStatus(), FT_IO_ERROR);
}

TEST_F(FtFifoTest, SendCommandOkAcceptsOnlyOkCr) {
  struct Row {
    const char* reason;
    std::string atOnce;
    std::string later;  // arrives on the third turn of the wait
    bool ok;
  };
  const std::vector<Row> rows = {
      {"OK CR", "OK\r", "", true},
      {"OK without CR", "OK", "", false},
      {"NG", "NG\r", "", false},
      {"nothing", "", "", false},
      {"CR after the OK, in a later transfer", "OK", "\r", true},
      {"one byte at a time", "O", "K\r", true},
      {"lower case", "ok\r", "", false},
  };
  for (const Row& row : rows) {
    ScriptedDriver unit;
    FakeTime clock;
    Tft_FIFO fifo(unit, clock.Pump(), clock.Clock());
    ASSERT_TRUE(fifo.Open(4096));
    unit.replies.push_back(row.atOnce);
    clock.onPump = [&](int turn) {
      if (turn == 3) unit.queued += row.later;
    };
    fifo.SetTimeOut(100);
    EXPECT_EQ(fifo.SendCommandOK("?"), row.ok) << row.reason;
    EXPECT_EQ(unit.Count("Write ?\r"), 1) << row.reason;
  }
}

TEST_F(FtFifoTest, WaitsEndAtTheTimeOutWithoutSleeping) {
  OpenLink();
  link.SetTimeOut(100);
  EXPECT_FALSE(link.SendCommandOK("?"));
  // 10 ms per turn: the 100 ms time-out expires on the tenth turn.
  EXPECT_EQ(time.pumps, 10);

  time.pumps = 0;
  std::array<char, 26> reply{};
  reply.fill('x');
  EXPECT_FALSE(link.SendCommandReply("U?", reply.data(), 26));
  EXPECT_EQ(time.pumps, 10);
  EXPECT_EQ(reply[0], 'x') << "reply untouched when nothing arrived";
  EXPECT_EQ(link.TimeOutMs(), 100U);
}

TEST_F(FtFifoTest, TimeOutOperations) {
  EXPECT_EQ(link.TimeOutMs(), 500U) << "after construction";
  OpenLink();
  link.StartTimeOut();
  link.TimeOutExpired();
  link.SetTimeOut(1000);  // disarms and clears the expiry
  driver.replies.push_back("OK\r");
  EXPECT_TRUE(link.SendCommandOK("?"));
  EXPECT_EQ(time.pumps, 1);
}

TEST_F(FtFifoTest, ReplyLinesEndAtCrOrAfter15Bytes) {
  struct Row {
    const char* reason;
    std::vector<std::string> pieces;  // one arrives per turn of the wait
    std::uint32_t capacity;
    bool ok;
    std::string text;
  };
  const std::vector<Row> rows = {
      {"name line", {"QT4418PX\r"}, 26, true, "QT4418PX"},
      {"line in pieces", {"QT44", "18PX", "\r"}, 26, true, "QT4418PX"},
      {"empty line", {"\r"}, 26, true, ""},
      {"20 bytes arriving at once, CR last", {"0123456789ABCDEFGHI\r"}, 26, true, "0123456789ABCDEFGHI"},
      {"16 bytes without CR stop the collection", {"0123456789ABCDEF", "\r"}, 26, false, ""},
      {"CR not last", {"OK\rX"}, 26, false, ""},
      {"line longer than the reply area", {"0123456789ABCDEFGHIJKLMNOPQ\r"}, 26, false, ""},
  };
  for (const Row& row : rows) {
    ScriptedDriver unit;
    FakeTime clock;
    Tft_FIFO fifo(unit, clock.Pump(), clock.Clock());
    ASSERT_TRUE(fifo.Open(4096));
    clock.onPump = [&](int turn) {
      if (turn <= static_cast<int>(row.pieces.size())) unit.queued += row.pieces[turn - 1];
    };
    fifo.SetTimeOut(100);
    std::vector<char> reply(row.capacity, 'x');
    EXPECT_EQ(fifo.SendCommandReply("U?", reply.data(), row.capacity), row.ok) << row.reason;
    if (row.ok) {
      EXPECT_EQ(std::string(reply.data()), row.text) << row.reason;
    }
  }
}

TEST_F(FtFifoTest, ReadQueueNeverAsksForMoreThanQueued) {
  OpenLink();
  std::array<std::uint8_t, 8> bytes{};
  std::uint32_t got = 99;
  EXPECT_TRUE(link.ReadQueue(bytes.data(), 8, got));
  EXPECT_EQ(got, 0U);
  EXPECT_EQ(driver.Count("Read"), 0) << "nothing queued, nothing read";
  driver.queued = "0123456789";
  EXPECT_TRUE(link.ReadQueue(bytes.data(), 8, got));
  EXPECT_EQ(got, 8U);
  EXPECT_EQ(link.RxQueue(), 10U);
  EXPECT_EQ(driver.log.back(), "Read 8");
  driver.queueStatus = FT_IO_ERROR;
  EXPECT_FALSE(link.ReadQueue(bytes.data(), 8, got));
}

TEST_F(FtFifoTest, ReadBlockDeliversAllOrNothing) {
  OpenLink();
  std::array<std::uint8_t, 14> block{};
  std::uint32_t got = 99;
  driver.queued = "000001\r80";
  EXPECT_TRUE(link.ReadBlock(block.data(), 14, got));
  EXPECT_EQ(got, 0U);
  EXPECT_EQ(driver.queued, "000001\r80") << "nothing consumed";
  driver.queued += "0000\r7F";
  EXPECT_TRUE(link.ReadBlock(block.data(), 14, got));
  EXPECT_EQ(got, 14U);
  EXPECT_EQ(std::string(block.begin(), block.end()), "000001\r800000\r");
  EXPECT_EQ(driver.queued, "7F") << "only what was asked for is read";
  driver.readStatus = FT_IO_ERROR;
  driver.queued += "FFFF\r";
  EXPECT_FALSE(link.ReadBlock(block.data(), 7, got));
  EXPECT_EQ(got, 0U);
}

TEST_F(FtFifoTest, ShortDeliveriesWaitInTheCarryStoreInOrder) {
  OpenLink();
  driver.maxDelivered = 3;
  driver.queued = "ABCDEFGHIJ";
  std::array<std::uint8_t, 7> block{};
  std::uint32_t got = 99;
  EXPECT_TRUE(link.ReadBlock(block.data(), 7, got));
  EXPECT_EQ(got, 0U);
  EXPECT_EQ(link.CarryCount(), 3U);
  EXPECT_TRUE(link.ReadBlock(block.data(), 7, got));
  EXPECT_EQ(got, 0U);
  EXPECT_EQ(link.CarryCount(), 6U);
  EXPECT_TRUE(link.ReadBlock(block.data(), 7, got));
  EXPECT_EQ(got, 7U);
  EXPECT_EQ(std::string(block.begin(), block.end()), "ABCDEFG");
  EXPECT_EQ(link.CarryCount(), 0U);

  // A smaller block is served from the carry store first, the rest kept in order.
  driver.queued += "KLMNOPQ";
  EXPECT_TRUE(link.ReadBlock(block.data(), 7, got));  // carries HIJ
  EXPECT_TRUE(link.ReadBlock(block.data(), 7, got));  // carries HIJKLM
  EXPECT_EQ(link.CarryCount(), 6U);
  EXPECT_TRUE(link.ReadBlock(block.data(), 2, got));
  EXPECT_EQ(std::string(block.begin(), block.begin() + 2), "HI");
  EXPECT_EQ(link.CarryCount(), 4U);

  EXPECT_TRUE(link.Purge());
  EXPECT_EQ(link.CarryCount(), 0U) << "a purge empties the carry store";
}

TEST_F(FtFifoTest, ReadBlockRejectsImpossibleCounts) {
  OpenLink();
  std::array<std::uint8_t, 1> block{};
  std::uint32_t got = 0;
  EXPECT_FALSE(link.ReadBlock(block.data(), 0, got));
  EXPECT_FALSE(link.ReadBlock(block.data(), Tft_FIFO::kBufferSize + 1, got));
}

}  // namespace
