#include "adc/Ft_fifo.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr std::uint8_t kCr = 13;
constexpr std::uint32_t kPurgeBoth = FT_PURGE_RX | FT_PURGE_TX;
constexpr std::uint32_t kNoTransmitTransferSize = 0;
constexpr std::uint32_t kOkReplyArea = 4;  // room for "OK" CR and one stray byte
constexpr std::array<std::uint8_t, 3> kOkReply{'O', 'K', kCr};
constexpr std::uint32_t kReplyScratch = 64;  // bytes taken per read while a reply line arrives

}  // namespace

Tft_FIFO::Tft_FIFO(D2xx& driver, Pump pump, Clock clock)
    : driver(driver), pump(std::move(pump)), clock(std::move(clock)) {}

Tft_FIFO::~Tft_FIFO() { Close(); }

bool Tft_FIFO::Check(FT_STATUS status) {
  lastStatus = status;
  return status == FT_OK;
}

bool Tft_FIFO::Open(std::uint32_t inTransferSize) {
  if (isOpen) return true;
  if (!Check(driver.Open())) return false;
  isOpen = true;
  if (!Check(driver.SetUSBParameters(inTransferSize, kNoTransmitTransferSize))) {
    CloseDevice();
    return false;
  }
  return Purge();  // a failed purge has closed the device already
}

bool Tft_FIFO::Purge() {
  carryCount = 0;
  if (!isOpen) return false;
  if (Check(driver.Purge(kPurgeBoth))) return true;
  CloseDevice();
  return false;
}

void Tft_FIFO::Close() {
  if (!isOpen) return;
  Purge();
  if (isOpen) CloseDevice();
}

void Tft_FIFO::CloseDevice() {
  lastStatus = driver.Close();
  isOpen = false;
  carryCount = 0;
}

bool Tft_FIFO::WriteCommand(std::string_view text) {
  if (!isOpen || text.size() > kMaxCommandLength) return false;
  std::array<char, kMaxCommandLength + 1> line{};
  std::copy(text.begin(), text.end(), line.begin());
  line[text.size()] = static_cast<char>(kCr);
  const auto length = static_cast<std::uint32_t>(text.size() + 1);
  std::uint32_t written = 0;  // the driver takes all or fails; the count is not needed
  return Check(driver.Write(line.data(), length, written));
}

bool Tft_FIFO::QueryQueue() {
  std::uint32_t queued = 0;
  if (!Check(driver.GetQueueStatus(queued))) return false;
  rxQueue = queued;
  return true;
}

bool Tft_FIFO::ReadQueue(std::uint8_t* dst, std::uint32_t capacity, std::uint32_t& got) {
  got = 0;
  if (!isOpen || !QueryQueue()) return false;
  const std::uint32_t wanted = std::min(rxQueue, capacity);
  if (wanted == 0) return true;
  std::uint32_t read = 0;
  if (!Check(driver.Read(dst, wanted, read))) return false;
  got = std::min(read, wanted);
  return true;
}

void Tft_FIFO::TakeFromCarry(std::uint8_t* dst, std::uint32_t count) {
  std::memcpy(dst, buffer.data(), count);
  std::memmove(buffer.data(), buffer.data() + count, carryCount - count);
  carryCount -= count;
}

// Bytes are gathered in the carry store until count of them are there, then handed
// over at once. With a driver that delivers what it reports queued the store is only
// a pass-through; with one that delivers less, the bytes that did arrive wait there.
bool Tft_FIFO::ReadBlock(std::uint8_t* dst, std::uint32_t count, std::uint32_t& got) {
  if (!isOpen || count == 0 || count > kBufferSize) return false;
  if (carryCount < count) {
    if (!QueryQueue()) return false;
    if (carryCount + rxQueue < count) {
      got = 0;
      return true;
    }
    const std::uint32_t wanted = count - carryCount;
    std::uint32_t read = 0;
    if (!Check(driver.Read(buffer.data() + carryCount, wanted, read))) {
      got = 0;
      return false;
    }
    carryCount += std::min(read, wanted);
    if (carryCount < count) {
      got = 0;
      return true;
    }
  }
  TakeFromCarry(dst, count);
  got = count;
  return true;
}

void Tft_FIFO::LetEventsRun() {
  if (pump) pump();
  if (timerArmed && clock() >= deadline) TimeOutExpired();
}

// The end is the wait's own: a command sent from inside the pump (the user's stop)
// re-sets the shared time-out, which must neither cancel nor extend a running wait.
bool Tft_FIFO::WaitOver(std::chrono::steady_clock::time_point waitEnd) const { return timedOut || clock() >= waitEnd; }

// Waits until the three bytes of "OK" CR can be there. A reply split by the driver
// ("OK", later CR) is thus still recognised instead of failing on its first part.
bool Tft_FIFO::SendCommandOK(std::string_view text) {
  if (!isOpen || !WriteCommand(text)) return false;
  StartTimeOut();
  const auto waitEnd = deadline;
  std::array<std::uint8_t, kOkReplyArea> reply{};
  std::uint32_t received = 0;
  bool readFailed = false;
  while (!WaitOver(waitEnd) && !readFailed && received < kOkReply.size()) {
    std::uint32_t got = 0;
    readFailed = !ReadQueue(reply.data() + received, kOkReplyArea - received, got);
    LetEventsRun();
    received += got;
  }
  StopTimeOut();
  return !readFailed && received >= kOkReply.size() && std::equal(kOkReply.begin(), kOkReply.end(), reply.begin());
}

// Collects until the latest byte is a CR, more than 15 bytes are in, the driver fails
// or the time-out expires.
bool Tft_FIFO::SendCommandReply(std::string_view text, char* reply, std::uint32_t capacity) {
  if (!isOpen || !WriteCommand(text)) return false;
  StartTimeOut();
  const auto waitEnd = deadline;
  std::array<std::uint8_t, kReplyScratch> scratch{};
  std::uint32_t total = 0;
  std::uint8_t lastByte = 0;
  bool done = false;
  while (!WaitOver(waitEnd) && !done) {
    LetEventsRun();
    std::uint32_t got = 0;
    if (!ReadQueue(scratch.data(), kReplyScratch, got)) done = true;
    if (got > 0) {
      if (total < capacity) std::memcpy(reply + total, scratch.data(), std::min(got, capacity - total));
      total += got;
      lastByte = scratch[got - 1];
      if (lastByte == kCr) done = true;
    }
    if (total > kReplyLineLimit) done = true;
  }
  StopTimeOut();
  if (total == 0 || lastByte != kCr || total > capacity) return false;
  reply[total - 1] = '\0';
  return true;
}

void Tft_FIFO::SetTimeOut(std::uint32_t ms) {
  timerArmed = false;
  timedOut = false;
  timeOutMs = ms;
}

void Tft_FIFO::StartTimeOut() {
  timedOut = false;
  deadline = clock() + std::chrono::milliseconds(timeOutMs);
  timerArmed = true;
}

void Tft_FIFO::StopTimeOut() {
  timerArmed = false;
  timedOut = false;
}

void Tft_FIFO::TimeOutExpired() {
  timerArmed = false;
  timedOut = true;
}
