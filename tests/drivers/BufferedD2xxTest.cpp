#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "FakeByteSource.h"
#include "drivers/BufferedD2xx.h"

namespace {

constexpr auto kGenerous = std::chrono::seconds(10);

std::vector<std::uint8_t> Sequence(std::uint8_t first, std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  std::iota(bytes.begin(), bytes.end(), first);
  return bytes;
}

// Polls until check holds, for at most kGenerous; true when it held.
template <typename Check>
bool Eventually(Check check) {
  const auto deadline = std::chrono::steady_clock::now() + kGenerous;
  while (!check()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

class BufferedD2xxTest : public ::testing::Test {
 protected:
  static constexpr std::size_t kSmallRing = 64;

  void Make(std::size_t ringCapacity = BufferedD2xx::kRingCapacity) {
    driver = std::make_unique<BufferedD2xx>(
        std::make_unique<FakeByteSource>(state),
        [this](std::string_view line) {
          std::lock_guard lock(logMutex);
          log.emplace_back(line);
        },
        ringCapacity);
  }

  void MakeOpen(std::size_t ringCapacity = BufferedD2xx::kRingCapacity) {
    Make(ringCapacity);
    ASSERT_EQ(driver->Open(), FT_OK);
  }

  std::uint32_t QueuedNow() {
    std::uint32_t queued = 0;
    EXPECT_EQ(driver->GetQueueStatus(queued), FT_OK);
    return queued;
  }

  std::vector<std::uint8_t> ReadAll(std::uint32_t n) {
    std::vector<std::uint8_t> bytes(n);
    std::uint32_t read = 0;
    EXPECT_EQ(driver->Read(bytes.data(), n, read), FT_OK);
    bytes.resize(read);
    return bytes;
  }

  bool LogMentions(const std::string& word) {
    std::lock_guard lock(logMutex);
    for (const auto& line : log) {
      if (line.find(word) != std::string::npos) return true;
    }
    return false;
  }

  std::shared_ptr<FakeSourceState> state = std::make_shared<FakeSourceState>();
  std::unique_ptr<BufferedD2xx> driver;
  std::mutex logMutex;
  std::vector<std::string> log;
};

TEST_F(BufferedD2xxTest, EveryCallOnAClosedDriverIsAnInvalidHandle) {
  MakeOpen();
  ASSERT_EQ(driver->Close(), FT_OK);
  std::uint32_t count = 7;
  std::uint8_t byte = 0;
  EXPECT_EQ(driver->Close(), FT_INVALID_HANDLE);
  EXPECT_EQ(driver->SetUSBParameters(4096, 0), FT_INVALID_HANDLE);
  EXPECT_EQ(driver->Purge(FT_PURGE_RX | FT_PURGE_TX), FT_INVALID_HANDLE);
  EXPECT_EQ(driver->Write(&byte, 1, count), FT_INVALID_HANDLE);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(driver->GetQueueStatus(count), FT_INVALID_HANDLE);
  EXPECT_EQ(driver->Read(&byte, 1, count), FT_INVALID_HANDLE);
  EXPECT_EQ(state->closes, 1);
}

TEST_F(BufferedD2xxTest, OpenPassesTheSourceFailureOnAndStaysClosed) {
  state->Change([&] { state->openStatus = FT_DEVICE_NOT_FOUND; });
  Make();
  EXPECT_EQ(driver->Open(), FT_DEVICE_NOT_FOUND);
  std::uint32_t queued = 0;
  EXPECT_EQ(driver->GetQueueStatus(queued), FT_INVALID_HANDLE);
  state->Change([&] { state->openStatus = FT_OK; });
  EXPECT_EQ(driver->Open(), FT_OK);
}

TEST_F(BufferedD2xxTest, OpenTwiceIsRefusedAndReopenAfterCloseWorks) {
  MakeOpen();
  EXPECT_EQ(driver->Open(), FT_DEVICE_NOT_OPENED);
  EXPECT_EQ(state->opens, 1);
  ASSERT_EQ(driver->Close(), FT_OK);
  ASSERT_EQ(driver->Open(), FT_OK);
  state->Deliver({1, 2, 3});
  ASSERT_TRUE(state->WaitAllTaken());
  EXPECT_EQ(ReadAll(3), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(BufferedD2xxTest, DestructorClosesTheSource) {
  MakeOpen();
  driver.reset();
  EXPECT_EQ(state->closes, 1);
  EXPECT_FALSE(state->open);
}

TEST_F(BufferedD2xxTest, TransferSizeIsCheckedThenUsedForReads) {
  MakeOpen();
  struct Row {
    std::uint32_t size;
    FT_STATUS expected;
    const char* reason;
  };
  const Row rows[] = {
      {0, FT_INVALID_PARAMETER, "zero"},
      {63, FT_INVALID_PARAMETER, "below one packet"},
      {100, FT_INVALID_PARAMETER, "not a multiple of 64"},
      {65600, FT_INVALID_PARAMETER, "above 64 KiB"},
      {65536, FT_OK, "largest"},
      {64, FT_OK, "smallest"},
  };
  for (const Row& row : rows) EXPECT_EQ(driver->SetUSBParameters(row.size, 0), row.expected) << row.reason;
  EXPECT_EQ(state->transferSize, 64u);
  state->Change([&] { state->largestReadRequest = 0; });
  state->Deliver({9});
  ASSERT_TRUE(state->WaitAllTaken());
  std::lock_guard lock(state->mutex);
  EXPECT_EQ(state->largestReadRequest, 64u) << "reads must follow the transfer size";
}

TEST_F(BufferedD2xxTest, WritesReachTheSourceInOrder) {
  MakeOpen();
  const std::string first = "?\r";
  const std::string second = "SG5\r";
  std::uint32_t written = 0;
  ASSERT_EQ(driver->Write(first.data(), static_cast<std::uint32_t>(first.size()), written), FT_OK);
  EXPECT_EQ(written, first.size());
  ASSERT_EQ(driver->Write(second.data(), static_cast<std::uint32_t>(second.size()), written), FT_OK);
  EXPECT_EQ(std::string(state->written.begin(), state->written.end()), "?\rSG5\r");

  state->Change([&] { state->writeStatus = FT_IO_ERROR; });
  EXPECT_EQ(driver->Write(first.data(), 2, written), FT_IO_ERROR);
  EXPECT_EQ(written, 0u) << "a failed write takes nothing";
  EXPECT_EQ(driver->Write(nullptr, 2, written), FT_INVALID_PARAMETER);
}

TEST_F(BufferedD2xxTest, ReadNeverWaitsAndDeliversWhatIsQueued) {
  MakeOpen();
  state->Deliver(Sequence(0, 10));
  ASSERT_TRUE(state->WaitAllTaken());
  EXPECT_EQ(QueuedNow(), 10u);
  EXPECT_EQ(ReadAll(4), Sequence(0, 4));
  EXPECT_EQ(QueuedNow(), 6u);
  EXPECT_EQ(ReadAll(100), Sequence(4, 6)) << "asking for more than is queued returns what is there";
  EXPECT_EQ(ReadAll(5), std::vector<std::uint8_t>{}) << "an empty queue returns at once with nothing";
}

TEST_F(BufferedD2xxTest, OrderIsKeptAcrossTheRingsWrapAround) {
  MakeOpen(kSmallRing);
  state->Deliver(Sequence(0, 40));
  ASSERT_TRUE(state->WaitAllTaken());
  EXPECT_EQ(ReadAll(30), Sequence(0, 30));
  // 10 bytes remain at offset 30; the next 40 run past the end of the storage.
  state->Deliver(Sequence(40, 40));
  ASSERT_TRUE(state->WaitAllTaken());
  EXPECT_EQ(QueuedNow(), 50u);
  EXPECT_EQ(ReadAll(50), Sequence(30, 50));
}

TEST_F(BufferedD2xxTest, OverflowIsReportedUntilAPurgeAndNothingIsSilentlyLost) {
  struct Row {
    std::vector<std::size_t> bursts;
    const char* reason;
  };
  const Row rows[] = {
      {{kSmallRing + 36}, "one burst larger than the ring"},
      {{40, 40}, "bursts that add up to more than the ring"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.reason);
    state = std::make_shared<FakeSourceState>();
    MakeOpen(kSmallRing);
    for (const std::size_t size : row.bursts) state->Deliver(Sequence(0, size));
    ASSERT_TRUE(state->WaitAllTaken());
    std::uint32_t count = 99;
    std::uint8_t buffer[kSmallRing];
    EXPECT_EQ(driver->GetQueueStatus(count), FT_INSUFFICIENT_RESOURCES);
    EXPECT_EQ(driver->Read(buffer, 1, count), FT_INSUFFICIENT_RESOURCES);
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(LogMentions("overflow"));

    // Still able to stop the unit while the receive side is in fault.
    std::uint32_t written = 0;
    EXPECT_EQ(driver->Write("AX\r", 3, written), FT_OK);

    // Bytes arriving during the fault are dropped, and the fault stays.
    state->Deliver(Sequence(0, 8));
    ASSERT_TRUE(state->WaitAllTaken());
    EXPECT_EQ(driver->GetQueueStatus(count), FT_INSUFFICIENT_RESOURCES);

    ASSERT_EQ(driver->Purge(FT_PURGE_RX | FT_PURGE_TX), FT_OK);
    EXPECT_EQ(QueuedNow(), 0u);
    state->Deliver(Sequence(100, 5));
    ASSERT_TRUE(state->WaitAllTaken());
    EXPECT_EQ(ReadAll(5), Sequence(100, 5));
  }
}

TEST_F(BufferedD2xxTest, TransmitOnlyPurgeKeepsReceivedBytes) {
  MakeOpen();
  state->Deliver(Sequence(0, 3));
  ASSERT_TRUE(state->WaitAllTaken());
  ASSERT_EQ(driver->Purge(FT_PURGE_TX), FT_OK);
  EXPECT_EQ(QueuedNow(), 3u);
  EXPECT_EQ(state->flushes.back(), std::make_pair(false, true));
  EXPECT_EQ(driver->Purge(4), FT_INVALID_PARAMETER);
}

TEST_F(BufferedD2xxTest, PurgeDuringStreamingLeavesOnlyBytesReceivedAfterIt) {
  MakeOpen();
  state->Change([&] { state->streaming = true; });
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(Eventually([&] { return QueuedNow() >= 4; }));
    ASSERT_EQ(driver->Purge(FT_PURGE_RX | FT_PURGE_TX), FT_OK);
    std::uint32_t flushedAt = 0;
    {
      std::lock_guard lock(state->mutex);
      flushedAt = state->counterAtLastFlush;
    }
    ASSERT_TRUE(Eventually([&] { return QueuedNow() >= 8; }));
    const std::vector<std::uint8_t> bytes = ReadAll(8);
    ASSERT_EQ(bytes.size(), 8u);
    const auto counter = [&](std::size_t at) {
      return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24);
    };
    EXPECT_GE(counter(0), flushedAt) << "a byte from before the purge survived it";
    EXPECT_EQ(counter(4), counter(0) + 1) << "bytes after the purge must stay in order";
  }
}

TEST_F(BufferedD2xxTest, CloseWaitsForTheReadInProgressAndNeverClosesUnderIt) {
  MakeOpen();
  state->Change([&] { state->holdReads = true; });
  {
    std::unique_lock lock(state->mutex);
    ASSERT_TRUE(state->changed.wait_for(lock, kGenerous, [&] { return state->readInProgress; }));
  }
  auto closing = std::async(std::launch::async, [&] { return driver->Close(); });
  state->Change([&] { state->holdReads = false; });
  ASSERT_EQ(closing.wait_for(kGenerous), std::future_status::ready);
  EXPECT_EQ(closing.get(), FT_OK);
  EXPECT_EQ(state->closes, 1);
  EXPECT_FALSE(state->closedDuringRead);
}

TEST_F(BufferedD2xxTest, SourceErrorIsReportedAndStopsReadingUntilAPurgeFlushes) {
  MakeOpen();
  state->Deliver(Sequence(0, 3));
  state->Deliver({}, FT_IO_ERROR);
  ASSERT_TRUE(Eventually([&] {
    std::uint32_t queued = 0;
    return driver->GetQueueStatus(queued) == FT_IO_ERROR;
  }));
  std::uint8_t buffer[4];
  std::uint32_t count = 0;
  EXPECT_EQ(driver->Read(buffer, 3, count), FT_IO_ERROR) << "bytes before the error are not handed out as if whole";

  // The I/O thread no longer reads, but still writes.
  int readsAfterError = 0;
  {
    std::lock_guard lock(state->mutex);
    readsAfterError = state->readCalls;
  }
  EXPECT_EQ(driver->Write("AX\r", 3, count), FT_OK);
  {
    std::lock_guard lock(state->mutex);
    EXPECT_EQ(state->readCalls, readsAfterError);
  }

  // A purge whose flush fails leaves the fault in place.
  state->Change([&] { state->flushStatus = FT_IO_ERROR; });
  EXPECT_EQ(driver->Purge(FT_PURGE_RX | FT_PURGE_TX), FT_IO_ERROR);
  EXPECT_EQ(driver->GetQueueStatus(count), FT_IO_ERROR);

  state->Change([&] { state->flushStatus = FT_OK; });
  ASSERT_EQ(driver->Purge(FT_PURGE_RX | FT_PURGE_TX), FT_OK);
  state->Deliver(Sequence(7, 2));
  ASSERT_TRUE(state->WaitAllTaken());
  EXPECT_EQ(ReadAll(2), Sequence(7, 2));
  EXPECT_TRUE(LogMentions("reading from the device failed"));
}

}  // namespace
