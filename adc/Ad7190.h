// The converter unit's command protocol on top of the link: settings commands,
// identification, start and stop of an acquisition, and the decoding of the sample
// records the unit streams (6 hexadecimal digits of a 24-bit offset-binary code,
// then CR). The data-rate and gain tables are those of adc/UnitTables.h.
//
// Every command checks its argument, fails on a closed link, purges the link
// (except StopAcquisition, which must not discard records of a running stream),
// sets its time-out and sends.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "adc/Ft_fifo.h"
#include "model/UnitTables.h"

class TADC : public Tft_FIFO {
 public:
  static constexpr std::uint32_t kUsbTransferSize = 4096;   // USB receive transfer, bytes
  static constexpr std::uint32_t kCommandTimeOutMs = 100;   // settings and identification
  static constexpr std::uint32_t kStartTimeOutMs = 1000;    // start of an acquisition
  static constexpr std::uint32_t kRecordBytes = 7;          // 6 hex digits + CR
  static constexpr std::uint32_t kMaxRecordsPerRead = 32;   // most records one ReadSamples takes
  static constexpr std::uint32_t kSampleAreaBytes = 230;    // holds 32 records
  static constexpr std::uint32_t kReplyAreaBytes = 26;      // one reply line with its CR
  static constexpr std::size_t kUnitTextLength = 10;        // characters kept of a name or version
  static constexpr std::uint32_t kMaxCountField = 0xFFFFF;  // larger counts are sent as "00000"

  using Tft_FIFO::Tft_FIFO;

  // Opens the link (4096-byte transfers) and purges it, also when it was open.
  bool OpenUnit();
  // Purges and closes the link, if open.
  void CloseUnit();

  // "?": presence check, acknowledged by "OK".
  bool CheckUnit();
  // "S3" / "S4": the Sinc3 or Sinc4 filter.
  bool SetSinc3();
  bool SetSinc4();
  // "SB0" / "SB1": input buffer off or on.
  bool BufferOff();
  bool BufferOn();
  // "SC0" / "SC1": chopping off or on.
  bool ChopOff();
  bool ChopOn();
  // "F0" … "FC": data-rate index 0 … 12; out of range fails without sending.
  bool SetDataRate(int spsSel);
  // "SG0" … "SG5": gain index 0 … 5; out of range fails without sending.
  bool SetGain(std::uint32_t gainSel);
  // "U?" / "V?": the unit's name or version, at most 10 characters. A reply starting
  // with "N" or with "G" as its second character is a refusal.
  bool ReadUnitName(std::string& name);
  bool ReadVersion(std::string& version);

  // "A", the channel digit and the record count as 5 upper-case hex digits (a count
  // above 0xFFFFF is sent as "00000", which streams until stopped). No reply is
  // awaited; a channel other than 0 or 1 fails without sending.
  bool StartAcquisition(int channel, std::uint32_t count);
  // "AX" without a purge; no reply is awaited.
  bool StopAcquisition();
  // Takes exactly k records (1 … 32) when all are there: delivered = k, or 0 while
  // they are not (true, nothing consumed). False on a link failure or a corrupted
  // record (no CR, or a character that is not a hex digit); the codes of the records
  // before a corrupted one are in dest[0 … delivered-1].
  bool ReadSamples(std::int32_t* dest, std::uint32_t k, std::uint32_t& delivered);

  // The code of a 7-byte record's first six characters, or nothing when one of them is
  // not a hexadecimal digit.
  static std::optional<std::int32_t> ParseSampleRecord(const std::uint8_t* record);
  // 0 … 15 for "0" … "9", "a" … "f", "A" … "F"; -1 for any other character.
  static int HexValue(std::uint8_t c);

 private:
  // Checks the link, purges, sets the command time-out and awaits "OK".
  bool SendSetting(const std::string& command);
  // Checks the link, purges, sets the command time-out and reads a reply line into text.
  bool ReadIdentity(const char* command, std::string& text);

  std::array<std::uint8_t, kSampleAreaBytes> sampleArea{};
  std::array<char, kReplyAreaBytes> replyArea{};
};
