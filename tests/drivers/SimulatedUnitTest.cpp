#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "drivers/SimConfigFor.h"
#include "drivers/SimulatedUnit.h"

namespace {

using std::chrono::seconds;

FT_STATUS WriteLine(D2xx& unit, const std::string& line) {
  const std::string bytes = line + "\r";
  std::uint32_t written = 0;
  return unit.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), written);
}

std::uint32_t Queued(D2xx& unit) {
  std::uint32_t queued = 0;
  EXPECT_EQ(unit.GetQueueStatus(queued), FT_OK);
  return queued;
}

std::string ReadAll(D2xx& unit, std::uint32_t n) {
  std::string bytes(n, '\0');
  std::uint32_t read = 0;
  EXPECT_EQ(unit.Read(bytes.data(), n, read), FT_OK);
  bytes.resize(read);
  return bytes;
}

TEST(SimulatedUnit, BehavesAsAnOpenableDevice) {
  VirtualSimClock clock;
  SimulatedUnit unit(Config(""), clock);
  std::uint32_t queued = 0;
  EXPECT_EQ(unit.GetQueueStatus(queued), FT_INVALID_HANDLE) << "not open yet";
  EXPECT_EQ(WriteLine(unit, "?"), FT_INVALID_HANDLE);
  ASSERT_EQ(unit.Open(), FT_OK);
  EXPECT_EQ(unit.Open(), FT_DEVICE_NOT_OPENED) << "in use";
  EXPECT_EQ(unit.SetUSBParameters(4096, 0), FT_OK);
  EXPECT_EQ(unit.SetUSBParameters(100, 0), FT_INVALID_PARAMETER);
  EXPECT_EQ(unit.Purge(4), FT_INVALID_PARAMETER);

  EXPECT_EQ(WriteLine(unit, "?"), FT_OK);
  EXPECT_EQ(WriteLine(unit, "U?"), FT_OK);
  EXPECT_EQ(Queued(unit), 12U);
  EXPECT_EQ(ReadAll(unit, 5), "OK\rQT");
  EXPECT_EQ(ReadAll(unit, 100), "4418PX\r") << "never more than is queued";
  EXPECT_EQ(WriteLine(unit, "?"), FT_OK);
  EXPECT_EQ(unit.Purge(FT_PURGE_RX | FT_PURGE_TX), FT_OK);
  EXPECT_EQ(Queued(unit), 0U) << "a purge empties the receive queue";
  EXPECT_EQ(unit.Close(), FT_OK);
  EXPECT_EQ(unit.Open(), FT_OK) << "can be opened again";
}

TEST(SimulatedUnit, RecordsArriveAsTheClockMoves) {
  VirtualSimClock clock;
  SimulatedUnit unit(Config("ch0=dc:0,noise=off"), clock);
  ASSERT_EQ(unit.Open(), FT_OK);
  WriteLine(unit, "FC");
  ReadAll(unit, 3);
  WriteLine(unit, "A000000");
  EXPECT_EQ(Queued(unit), 0U) << "no time has passed";
  clock.Advance(seconds{1});
  EXPECT_EQ(Queued(unit), 4800U * 7);
  EXPECT_EQ(ReadAll(unit, 14), "800000\r800000\r");
  WriteLine(unit, "AX");
  clock.Advance(seconds{1});
  EXPECT_EQ(Queued(unit), 4798U * 7) << "nothing after the stop, nothing lost before it";
}

TEST(SimulatedUnit, VirtualClockMovesWithEveryQueueQuery) {
  SimulatedUnit unit(Config("ch0=dc:0,noise=off,clock=virtual"));
  ASSERT_EQ(unit.Open(), FT_OK);
  WriteLine(unit, "F0");  // 5 per second: without the virtual clock this would take 13 s
  ReadAll(unit, 3);
  WriteLine(unit, "A000040");
  EXPECT_EQ(Queued(unit), 32U * 7);
  EXPECT_EQ(Queued(unit), 32U * 7) << "time stands while enough records wait";
  ReadAll(unit, 30 * 7);
  EXPECT_EQ(Queued(unit), 34U * 7);
  ReadAll(unit, 34 * 7);
  EXPECT_EQ(Queued(unit), 0U) << "the stream of 64 records has ended";
}

TEST(SimulatedUnit, AbsentUnitCannotBeOpened) {
  SimulatedUnit unit(Config("fault=absent"));
  EXPECT_EQ(unit.Open(), FT_DEVICE_NOT_FOUND);
}

TEST(SimulatedUnit, UnpluggedUnitFailsEveryCall) {
  VirtualSimClock clock;
  SimulatedUnit unit(Config("fault=unplug@2"), clock);
  ASSERT_EQ(unit.Open(), FT_OK);
  WriteLine(unit, "A000010");
  clock.Advance(seconds{1});
  std::uint32_t count = 0;
  std::string buffer(8, '\0');
  EXPECT_EQ(unit.GetQueueStatus(count), FT_IO_ERROR);
  EXPECT_EQ(unit.Read(buffer.data(), 1, count), FT_IO_ERROR);
  EXPECT_EQ(WriteLine(unit, "AX"), FT_IO_ERROR);
  EXPECT_EQ(unit.Purge(FT_PURGE_RX), FT_IO_ERROR);
  EXPECT_EQ(unit.SetUSBParameters(4096, 0), FT_IO_ERROR);
  EXPECT_EQ(unit.Close(), FT_IO_ERROR);
  EXPECT_EQ(unit.Open(), FT_DEVICE_NOT_FOUND);
  EXPECT_EQ(unit.Firmware().RecordsSent(), 2U);
}

TEST(SimulatedUnit, ShortReadsDeliverLessThanQueued) {
  VirtualSimClock clock;
  SimulatedUnit unit(Config("fault=short"), clock);
  ASSERT_EQ(unit.Open(), FT_OK);
  WriteLine(unit, "U?");
  EXPECT_EQ(Queued(unit), 9U);
  EXPECT_EQ(ReadAll(unit, 9), "QT441");
  EXPECT_EQ(ReadAll(unit, 4), "8P");
  EXPECT_EQ(ReadAll(unit, 2), "X");
  EXPECT_EQ(ReadAll(unit, 1), "\r");
}

TEST(SimulatedUnit, BurstsShowTheQueueInPieces) {
  VirtualSimClock clock;
  SimulatedUnit unit(Config("ch0=dc:0,noise=off,fault=burst:3"), clock);
  ASSERT_EQ(unit.Open(), FT_OK);
  WriteLine(unit, "FC");
  WriteLine(unit, "A000010");
  clock.Advance(seconds{1});
  std::string all;
  std::uint32_t previous = 0;
  for (int query = 0; query < 200 && all.size() < 3 + 16 * 7; ++query) {
    const std::uint32_t queued = Queued(unit);
    EXPECT_GE(queued, previous);
    EXPECT_LE(queued, previous + 3) << "at most one piece of up to 3 bytes per query";
    if (query % 4 == 3) {
      all += ReadAll(unit, queued);
      previous = 0;
    } else {
      previous = queued;
    }
  }
  std::string expected = "OK\r";
  for (int i = 0; i < 16; ++i) expected += "800000\r";
  EXPECT_EQ(all, expected) << "every byte arrives, in order";
}

TEST(SimulatedUnit, FactoryTakesTheConfigText) {
  std::string error;
  EXPECT_NE(MakeSimulatedDriver("", error), nullptr);
  EXPECT_EQ(MakeSimulatedDriver("clock=virtual,seed=x", error), nullptr);
  EXPECT_NE(error.find("\"seed=x\""), std::string::npos) << error;
}

}  // namespace
