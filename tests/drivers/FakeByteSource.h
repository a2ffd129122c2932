// A scripted ByteSource for the buffered driver's tests: the test queues deliveries
// (bytes or a failure) that ReadSome hands out one per call, or switches on an endless
// stream of 32-bit counters; everything the driver does to the source is recorded.
// The state is shared, so the test keeps hold of it after the driver owns the source.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "drivers/ByteSource.h"

struct FakeSourceState {
  struct Delivery {
    std::vector<std::uint8_t> bytes;
    FT_STATUS status = FT_OK;
  };

  // Protects every member.
  std::mutex mutex;
  std::condition_variable changed;

  // Script.
  std::deque<Delivery> deliveries;
  bool streaming = false;  // without deliveries, each ReadSome returns kStreamCounters counters
  std::uint32_t nextCounter = 0;
  bool holdReads = false;  // ReadSome waits until this is cleared
  FT_STATUS openStatus = FT_OK;
  FT_STATUS flushStatus = FT_OK;
  FT_STATUS writeStatus = FT_OK;

  // Record.
  bool open = false;
  int opens = 0;
  int closes = 0;
  int readCalls = 0;
  int lastTakeCall = 0;  // readCalls when the last delivery was handed out
  bool readInProgress = false;
  bool closedDuringRead = false;
  std::size_t largestReadRequest = 0;
  std::uint32_t transferSize = 0;
  std::vector<std::uint8_t> written;
  std::vector<std::pair<bool, bool>> flushes;  // (rx, tx) of each Flush
  std::uint32_t counterAtLastFlush = 0;

  static constexpr std::size_t kStreamCounters = 16;

  // Changes the script under the lock and wakes a waiting read.
  template <typename Edit>
  void Change(Edit edit) {
    std::lock_guard lock(mutex);
    edit();
    changed.notify_all();
  }

  void Deliver(std::vector<std::uint8_t> bytes, FT_STATUS status = FT_OK) {
    std::lock_guard lock(mutex);
    deliveries.push_back({std::move(bytes), status});
    changed.notify_all();
  }

  // Waits (bounded) until every delivery was handed out and the driver came back for
  // more, so everything delivered is in its ring. False on time-out.
  bool WaitAllTaken(std::chrono::seconds limit = std::chrono::seconds(10)) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, limit, [&] { return deliveries.empty() && readCalls > lastTakeCall; });
  }
};

class FakeByteSource final : public ByteSource {
 public:
  explicit FakeByteSource(std::shared_ptr<FakeSourceState> state) : state_(std::move(state)) {}

  FT_STATUS Open() override {
    std::lock_guard lock(state_->mutex);
    ++state_->opens;
    state_->open = state_->openStatus == FT_OK;
    return state_->openStatus;
  }

  FT_STATUS SetTransferSize(std::uint32_t bytes) override {
    std::lock_guard lock(state_->mutex);
    state_->transferSize = bytes;
    return FT_OK;
  }

  FT_STATUS ReadSome(std::span<std::uint8_t> into, std::size_t& got) override {
    got = 0;
    std::unique_lock lock(state_->mutex);
    ++state_->readCalls;
    state_->readInProgress = true;
    state_->largestReadRequest = std::max(state_->largestReadRequest, into.size());
    state_->changed.notify_all();
    // Like a real source: wait a little for data, then return with none (or, when
    // streaming, with the counters that came in meanwhile).
    state_->changed.wait_for(lock, kSourcePollTimeout,
                             [&] { return !state_->holdReads && !state_->deliveries.empty(); });
    state_->changed.wait(lock, [&] { return !state_->holdReads; });
    FT_STATUS status = FT_OK;
    if (!state_->deliveries.empty()) {
      Delivery delivery = std::move(state_->deliveries.front());
      state_->deliveries.pop_front();
      state_->lastTakeCall = state_->readCalls;
      // A delivery larger than the request is a test error; cut rather than overrun.
      got = std::min(delivery.bytes.size(), into.size());
      std::copy_n(delivery.bytes.begin(), got, into.begin());
      status = delivery.status;
    } else if (state_->streaming) {
      for (std::size_t i = 0; i < FakeSourceState::kStreamCounters && got + 4 <= into.size(); ++i) {
        const std::uint32_t value = state_->nextCounter++;
        for (int byte = 0; byte < 4; ++byte) into[got++] = static_cast<std::uint8_t>(value >> (8 * byte));
      }
    }
    state_->readInProgress = false;
    state_->changed.notify_all();
    return status;
  }

  FT_STATUS Write(std::span<const std::uint8_t> bytes) override {
    std::lock_guard lock(state_->mutex);
    if (state_->writeStatus == FT_OK) state_->written.insert(state_->written.end(), bytes.begin(), bytes.end());
    return state_->writeStatus;
  }

  FT_STATUS Flush(bool rx, bool tx) override {
    std::lock_guard lock(state_->mutex);
    state_->flushes.emplace_back(rx, tx);
    state_->counterAtLastFlush = state_->nextCounter;
    if (rx) state_->deliveries.clear();
    return state_->flushStatus;
  }

  void Close() override {
    std::lock_guard lock(state_->mutex);
    if (state_->readInProgress) state_->closedDuringRead = true;
    state_->open = false;
    ++state_->closes;
  }

 private:
  using Delivery = FakeSourceState::Delivery;
  std::shared_ptr<FakeSourceState> state_;
};
