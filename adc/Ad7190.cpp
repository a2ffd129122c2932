#include "adc/Ad7190.h"

#include "ui/TextHelpers.h"

namespace {

constexpr std::uint8_t kCr = 13;
constexpr int kCountDigits = 5;
constexpr int kCodeDigits = 6;
constexpr int kBitsPerHexDigit = 4;
constexpr int kHexDigitMask = 0xF;
constexpr int kNotHex = -1;
constexpr int kDecimalDigits = 10;

// The count field's hex digits, most significant first.
std::string CountField(std::uint32_t count) {
  const std::uint32_t sent = count > TADC::kMaxCountField ? 0 : count;
  std::string field;
  for (int digit = kCountDigits - 1; digit >= 0; --digit) {
    field += HexChar(static_cast<int>((sent >> (digit * kBitsPerHexDigit)) & kHexDigitMask));
  }
  return field;
}

// "NG" from the unit: a reply starting with "N" or with "G" as its second character.
bool IsRefusal(const std::string& reply) {
  return (!reply.empty() && reply[0] == 'N') || (reply.size() > 1 && reply[1] == 'G');
}

}  // namespace

bool TADC::OpenUnit() { return Open(kUsbTransferSize) && Purge(); }

void TADC::CloseUnit() { Close(); }

bool TADC::SendSetting(const std::string& command) {
  if (!IsOpen() || !Purge()) return false;
  SetTimeOut(kCommandTimeOutMs);
  return SendCommandOK(command);
}

bool TADC::CheckUnit() { return SendSetting("?"); }
bool TADC::SetSinc3() { return SendSetting("S3"); }
bool TADC::SetSinc4() { return SendSetting("S4"); }
bool TADC::BufferOff() { return SendSetting("SB0"); }
bool TADC::BufferOn() { return SendSetting("SB1"); }
bool TADC::ChopOff() { return SendSetting("SC0"); }
bool TADC::ChopOn() { return SendSetting("SC1"); }

bool TADC::SetDataRate(int spsSel) {
  if (spsSel < 0 || spsSel >= kRateCount) return false;
  std::string command = "F";
  command += HexChar(spsSel);
  return SendSetting(command);
}

bool TADC::SetGain(std::uint32_t gainSel) {
  if (gainSel >= kGainCount) return false;
  std::string command = "SG";
  command += HexChar(static_cast<int>(gainSel));
  return SendSetting(command);
}

bool TADC::ReadIdentity(const char* command, std::string& text) {
  if (!IsOpen() || !Purge()) return false;
  SetTimeOut(kCommandTimeOutMs);
  if (!SendCommandReply(command, replyArea.data(), kReplyAreaBytes)) return false;
  const std::string reply(replyArea.data());
  if (IsRefusal(reply)) return false;
  text = reply.substr(0, kUnitTextLength);
  return true;
}

bool TADC::ReadUnitName(std::string& name) { return ReadIdentity("U?", name); }
bool TADC::ReadVersion(std::string& version) { return ReadIdentity("V?", version); }

bool TADC::StartAcquisition(int channel, std::uint32_t count) {
  if (channel != 0 && channel != 1) return false;
  if (!IsOpen() || !Purge()) return false;
  SetTimeOut(kStartTimeOutMs);
  std::string command = "A";
  command += HexChar(channel);
  command += CountField(count);
  return WriteCommand(command);
}

bool TADC::StopAcquisition() {
  if (!IsOpen()) return false;
  SetTimeOut(kCommandTimeOutMs);
  return WriteCommand("AX");
}

bool TADC::ReadSamples(std::int32_t* dest, std::uint32_t k, std::uint32_t& delivered) {
  delivered = 0;
  if (!IsOpen() || k == 0 || k > kMaxRecordsPerRead) return false;
  const std::uint32_t bytes = k * kRecordBytes;
  std::uint32_t got = 0;
  if (!ReadBlock(sampleArea.data(), bytes, got)) return false;
  if (got == 0) return true;
  if (got != bytes) return false;
  for (std::uint32_t i = 0; i < k; ++i) {
    const std::uint8_t* record = sampleArea.data() + i * kRecordBytes;
    if (record[kRecordBytes - 1] != kCr) return false;
    const std::optional<std::int32_t> code = ParseSampleRecord(record);
    if (!code) return false;
    dest[delivered++] = *code;
  }
  return true;
}

std::optional<std::int32_t> TADC::ParseSampleRecord(const std::uint8_t* record) {
  std::int32_t code = 0;
  for (int i = 0; i < kCodeDigits; ++i) {
    const int value = HexValue(record[i]);
    if (value == kNotHex) return std::nullopt;
    code = (code << kBitsPerHexDigit) | value;
  }
  return code;
}

int TADC::HexValue(std::uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + kDecimalDigits;
  if (c >= 'A' && c <= 'F') return c - 'A' + kDecimalDigits;
  return kNotHex;
}
