// The firmware of the simulated QT4418PX: a byte stream in (command lines ended by
// CR), a byte stream out (replies and sample records) as time passes. It knows
// nothing of the USB driver, so it can run behind any byte transport; time is passed
// in by the caller as nanoseconds of a monotonic clock.
//
// Commands: "?", "S3", "S4", "SB0", "SB1", "SC0", "SC1", "F0" … "FC", "SG0" … "SG5"
// answer "OK" CR; "U?" and "V?" answer the name and version lines; "A", channel
// digit and 5 hex digits of a record count start streaming (count 0: until stopped);
// "AX" stops at once. Anything else, or out of range, answers "NG" CR. While
// streaming, commands other than "AX" are ignored. A record is the code as 6
// upper-case hex digits and CR; record n of a stream is due at n / rate seconds after
// the start command, exactly, however time is sliced.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "drivers/ConverterModel.h"
#include "drivers/SignalModel.h"
#include "drivers/SimulatedConfig.h"

class UnitFirmware {
 public:
  using Nanos = std::chrono::nanoseconds;

  static constexpr std::size_t kMaxLineLength = 64;  // longer lines are answered "NG"
  static constexpr std::size_t kRecordBytes = 7;     // bytes of one sample record

  explicit UnitFirmware(const SimConfig& config);

  // Takes bytes from the host at time now. Records due before now go out first, then
  // the replies to the complete lines received.
  void Receive(std::string_view bytes, Nanos now, std::string& out);
  // Appends the records due by now.
  void Advance(Nanos now, std::string& out);

  // The moment from which count more records than sent so far are due; zero when idle.
  Nanos DueTime(std::uint64_t count) const;

  bool Streaming() const { return streaming; }
  // Records sent since power-on, over all streams.
  std::uint64_t RecordsSent() const { return recordsSent; }
  // True once the unit has been unplugged by its injected fault.
  bool Unplugged() const { return unplugged; }
  const ConverterSetting& Setting() const { return setting; }

 private:
  void Execute(std::string_view line, Nanos now, std::string& out);
  bool ApplySetting(std::string_view line);
  bool StartStream(std::string_view line, Nanos now);
  void EmitRecord(std::string& out);

  SimConfig config;
  ConverterSetting setting;
  std::array<SignalModel, kSimulatedChannels> inputs;  // the signal at each input channel
  ConverterModel converter;

  std::string line;  // the command line being received
  bool streaming = false;
  int channel = 0;                // channel of the running stream
  std::uint64_t streamCount = 0;  // records of the running stream; 0 = until stopped
  std::uint64_t streamSent = 0;   // records of the running stream sent so far
  int streamRate = 0;             // samples per second of the running stream
  Nanos streamStart{0};           // when the running stream was started
  std::uint64_t recordsSent = 0;
  bool unplugged = false;
};
