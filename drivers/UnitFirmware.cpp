#include "drivers/UnitFirmware.h"

#include "model/UnitTables.h"

namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr const char* kOk = "OK\r";
constexpr const char* kNg = "NG\r";
constexpr std::uint64_t kNanosPerSecond = 1'000'000'000;
constexpr int kCountDigits = 5;
constexpr int kCodeDigits = 6;
constexpr int kBitsPerDigit = 4;
constexpr int kDigitMask = 0xF;
constexpr int kDecimalDigits = 10;
constexpr std::string_view kUpperHex = "0123456789ABCDEF";

// Independent random streams of one seed.
enum Stream : std::uint64_t { kChannel0Stream = 1, kChannel1Stream = 2, kConverterStream = 3 };

// Records due after elapsed time at a rate: floor(elapsed × rate), without rounding
// error however long the stream runs.
std::uint64_t RecordsDue(std::chrono::nanoseconds elapsed, int rate) {
  if (elapsed.count() <= 0) return 0;
  const auto nanos = static_cast<std::uint64_t>(elapsed.count());
  const auto perSecond = static_cast<std::uint64_t>(rate);
  return nanos / kNanosPerSecond * perSecond + nanos % kNanosPerSecond * perSecond / kNanosPerSecond;
}

// Value of an upper- or lower-case hex digit, or -1.
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + kDecimalDigits;
  if (c >= 'a' && c <= 'f') return c - 'a' + kDecimalDigits;
  return -1;
}

}  // namespace

UnitFirmware::UnitFirmware(const SimConfig& config)
    : config(config),
      inputs{SignalModel(config.channels[0], DeriveSeed(config.seed, kChannel0Stream)),
             SignalModel(config.channels[1], DeriveSeed(config.seed, kChannel1Stream))},
      converter(config.converterNoise, DeriveSeed(config.seed, kConverterStream)) {}

void UnitFirmware::Receive(std::string_view bytes, Nanos now, std::string& out) {
  Advance(now, out);
  if (unplugged || config.fault.kind == FaultKind::Silent) return;
  for (const char c : bytes) {
    if (c == kLf) continue;
    if (c != kCr) {
      if (line.size() <= kMaxLineLength) line += c;
      continue;
    }
    Execute(line, now, out);
    line.clear();
  }
}

void UnitFirmware::Execute(std::string_view command, Nanos now, std::string& out) {
  if (streaming) {
    if (command == "AX") streaming = false;
    return;
  }
  if (config.fault.kind == FaultKind::Ng && command == config.fault.command) {
    out += kNg;
    return;
  }
  if (command == "AX") return;  // nothing to stop
  if (command == "U?") {
    out += config.name + kCr;
  } else if (command == "V?") {
    out += config.version + kCr;
  } else if (!command.empty() && command[0] == 'A') {
    if (!StartStream(command, now)) out += kNg;
  } else {
    out += ApplySetting(command) ? kOk : kNg;
  }
}

bool UnitFirmware::ApplySetting(std::string_view command) {
  if (command == "?") return true;
  if (command == "S3" || command == "S4") {
    setting.sinc3 = command == "S3";
  } else if (command == "SB0" || command == "SB1") {
    setting.buffer = command == "SB1";
  } else if (command == "SC0" || command == "SC1") {
    setting.chop = command == "SC1";
  } else if (command.size() == 2 && command[0] == 'F' && kUpperHex.find(command[1]) < kRateCount) {
    setting.spsSel = static_cast<int>(kUpperHex.find(command[1]));
  } else if (command.size() == 3 && command.starts_with("SG") && command[2] >= '0' && command[2] < '0' + kGainCount) {
    setting.gainSel = static_cast<std::uint32_t>(command[2] - '0');
  } else {
    return false;
  }
  return true;
}

bool UnitFirmware::StartStream(std::string_view command, Nanos now) {
  if (command.size() != 2 + kCountDigits || (command[1] != '0' && command[1] != '1')) return false;
  std::uint64_t count = 0;
  for (const char c : command.substr(2)) {
    const int digit = HexDigit(c);
    if (digit < 0) return false;
    count = (count << kBitsPerDigit) | static_cast<std::uint64_t>(digit);
  }
  streaming = true;
  channel = command[1] - '0';
  streamCount = count;
  streamSent = 0;
  streamRate = SamplesPerSecond(setting.spsSel);
  streamStart = now;
  return true;
}

void UnitFirmware::Advance(Nanos now, std::string& out) {
  if (!streaming || unplugged) return;
  std::uint64_t due = RecordsDue(now - streamStart, streamRate);
  if (streamCount != 0 && due > streamCount) due = streamCount;
  while (streamSent < due) {
    if (config.fault.kind == FaultKind::Unplug && recordsSent >= config.fault.count) {
      unplugged = true;
      return;
    }
    EmitRecord(out);
  }
  if (streamCount != 0 && streamSent == streamCount) streaming = false;
}

void UnitFirmware::EmitRecord(std::string& out) {
  const double seconds = static_cast<double>(streamSent) / streamRate;
  const std::int32_t code = converter.Convert(inputs[channel].Next(seconds, streamRate), setting);
  for (int digit = kCodeDigits - 1; digit >= 0; --digit) {
    out += kUpperHex[(code >> (digit * kBitsPerDigit)) & kDigitMask];
  }
  const bool garbled = config.fault.kind == FaultKind::Garble && recordsSent == config.fault.count;
  if (!garbled) out += kCr;
  ++streamSent;
  ++recordsSent;
}

UnitFirmware::Nanos UnitFirmware::DueTime(std::uint64_t count) const {
  if (!streaming) return Nanos{0};
  // Record n is due once elapsed × rate ≥ n + 1; rounded up to whole nanoseconds.
  const std::uint64_t target = streamSent + count;
  const auto perSecond = static_cast<std::uint64_t>(streamRate);
  const std::uint64_t seconds = target / perSecond;
  const std::uint64_t rest = target % perSecond;
  const std::uint64_t nanos = seconds * kNanosPerSecond + (rest * kNanosPerSecond + perSecond - 1) / perSecond;
  return streamStart + Nanos(static_cast<std::int64_t>(nanos));
}
