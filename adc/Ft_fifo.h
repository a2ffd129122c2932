// The byte link to the converter unit over the USB FIFO driver: opens the first
// device, writes command lines ended by a carriage return, and reads back short
// acknowledgements, reply lines or fixed-size blocks of sample records.
//
// Waiting for a reply never blocks the caller's event loop: the wait loops call the
// pump callback (the GUI lets its events run, the command-line tool sleeps briefly)
// and measure the time-out on a monotonic clock. Both are injected so that tests
// drive time by hand.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string_view>

#include "drivers/D2xx.h"

class Tft_FIFO {
 public:
  using Pump = std::function<void()>;
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  static constexpr std::uint32_t kBufferSize = 10001;      // bytes of the carry store
  static constexpr std::uint32_t kDefaultTimeOutMs = 500;  // time-out after construction
  static constexpr std::size_t kMaxCommandLength = 19;     // characters before the CR
  static constexpr std::uint32_t kReplyLineLimit = 15;     // a reply line stops growing past this

  // driver: the device below the link, must outlive it. pump: run once per turn of
  // every wait loop (may be empty). clock: the time-out's time base.
  Tft_FIFO(D2xx& driver, Pump pump, Clock clock = std::chrono::steady_clock::now);
  // Purges and closes the device when the link is open.
  ~Tft_FIFO();
  Tft_FIFO(const Tft_FIFO&) = delete;
  Tft_FIFO& operator=(const Tft_FIFO&) = delete;

  // Whether a device is open (the driver handle is held).
  bool IsOpen() const { return isOpen; }

  // Opens device index 0, sets the receive transfer size in bytes (transmit size 0)
  // and purges. True at once, without a driver call, when the link is already open.
  // Any failing step leaves the link closed.
  bool Open(std::uint32_t inTransferSize);
  // Empties the carry store and both driver queues; a failed purge closes the link.
  bool Purge();
  // Purges and closes the device, if open; the link is closed afterwards in any case.
  void Close();

  // Writes text followed by one CR in a single driver write. Refused, without a driver
  // call, when the link is closed or the text has more than 19 characters.
  bool WriteCommand(std::string_view text);
  // Reads what is queued, at most capacity bytes, into dst; got = bytes read (0 when
  // nothing waits). Never asks the driver for more than is queued, so never blocks.
  bool ReadQueue(std::uint8_t* dst, std::uint32_t capacity, std::uint32_t& got);
  // Delivers exactly count bytes (1 … kBufferSize) into dst, or none: got = count, or
  // 0 while they have not all arrived (nothing is lost; poll again). Bytes that arrive
  // before they are complete wait in the carry store, in order. False on a driver
  // failure, a closed link or an impossible count.
  bool ReadBlock(std::uint8_t* dst, std::uint32_t count, std::uint32_t& got);

  // Writes a command and waits up to the time-out for "OK" CR.
  bool SendCommandOK(std::string_view text);
  // Writes a command and collects a reply line ended by CR (see the .cpp for when
  // collecting stops). On success reply holds the line without its CR, zero-ended;
  // the line with its CR must fit capacity bytes. On failure reply may hold a part of
  // what arrived, or is untouched when nothing arrived.
  bool SendCommandReply(std::string_view text, char* reply, std::uint32_t capacity);

  // Stops the time-out, clears the expiry and stores the interval in ms.
  void SetTimeOut(std::uint32_t ms);
  // Clears the expiry and arms the time-out for the stored interval from now.
  void StartTimeOut();
  // Disarms the time-out and clears the expiry.
  void StopTimeOut();
  // The time-out's expiry: disarms it and marks the wait as timed out.
  void TimeOutExpired();

  // Status of the most recent driver call (FT_OK = 0 on success); for diagnostics.
  FT_STATUS LastStatus() const { return lastStatus; }
  // Received bytes waiting in the driver, as last reported by its queue status.
  std::uint32_t RxQueue() const { return rxQueue; }
  // Bytes held in the carry store.
  std::uint32_t CarryCount() const { return carryCount; }
  // The time-out interval in ms.
  std::uint32_t TimeOutMs() const { return timeOutMs; }

 private:
  // Records a driver status; true when it is FT_OK.
  bool Check(FT_STATUS status);
  // Asks the driver for the queued count (into rxQueue).
  bool QueryQueue();
  // Runs the pump once, then fires the time-out if its moment has come.
  void LetEventsRun();
  // Whether a wait that started its time-out with end waitEnd is over: the time-out
  // fired, or waitEnd has passed whatever the pump did to the time-out meanwhile.
  bool WaitOver(std::chrono::steady_clock::time_point waitEnd) const;
  // Closes the device without purging.
  void CloseDevice();
  // Moves the oldest count carried bytes to dst and keeps the rest in order.
  void TakeFromCarry(std::uint8_t* dst, std::uint32_t count);

  D2xx& driver;
  Pump pump;
  Clock clock;

  bool isOpen = false;                               // the driver handle is held
  FT_STATUS lastStatus = FT_OK;                      // status of the latest driver call
  std::uint32_t rxQueue = 0;                         // queued bytes at the latest queue status
  bool timerArmed = false;                           // the time-out is running
  std::chrono::steady_clock::time_point deadline{};  // when the armed time-out expires
  bool timedOut = false;                             // the armed time-out has expired
  std::array<std::uint8_t, kBufferSize> buffer{};    // carry store of ReadBlock
  std::uint32_t carryCount = 0;                      // bytes held in buffer
  std::uint32_t timeOutMs = kDefaultTimeOutMs;
};
