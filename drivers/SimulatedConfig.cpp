#include "drivers/SimulatedConfig.h"

#include <charconv>
#include <cmath>

#include "drivers/SignalModel.h"
#include "ui/NumberFormat.h"

namespace {

constexpr char kItemSeparator = ',';
constexpr char kTermSeparator = '+';
constexpr char kFieldSeparator = ':';
constexpr char kKeySeparator = '=';
constexpr char kCountMark = '@';
constexpr char kFirstPrintable = ' ';
constexpr char kLastPrintable = '~';
constexpr std::size_t kMaxCommandLength = 19;  // the longest command line the program sends

// Splits at every separator; a text without one is a single part.
std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator, start)) {
    parts.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

// Splits a signal at its '+' joins; a '+' right after the 'e' of a number's exponent
// ("1e+3") belongs to the number.
std::vector<std::string_view> SplitTerms(std::string_view text) {
  std::vector<std::string_view> terms;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != kTermSeparator) continue;
    const bool inExponent = i >= 2 && (text[i - 1] == 'e' || text[i - 1] == 'E') &&
                            ((text[i - 2] >= '0' && text[i - 2] <= '9') || text[i - 2] == '.');
    if (inExponent) continue;
    terms.push_back(text.substr(start, i - start));
    start = i + 1;
  }
  terms.push_back(text.substr(start));
  return terms;
}

std::optional<std::uint64_t> ParseUnsigned(std::string_view text) {
  std::uint64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

bool IsPrintable(std::string_view text) {
  for (const char c : text) {
    if (c < kFirstPrintable || c > kLastPrintable) return false;
  }
  return true;
}

// The text in single quotes, for messages.
std::string Quoted(std::string_view text) {
  std::string quoted(1, '\'');
  quoted.append(text);
  quoted += '\'';
  return quoted;
}

// One term of a signal; an error text or empty on success.
std::string ParseTerm(std::string_view text, SignalTerm& term) {
  const std::vector<std::string_view> fields = Split(text, kFieldSeparator);
  const std::string_view kind = fields[0];
  std::size_t wanted = 2;
  if (kind == "dc") {
    term.kind = SignalKind::Dc;
  } else if (kind == "sine") {
    term.kind = SignalKind::Sine;
    wanted = 3;
  } else if (kind == "white") {
    term.kind = SignalKind::White;
  } else if (kind == "hum") {
    term.kind = SignalKind::Hum;
  } else if (kind == "flicker") {
    term.kind = SignalKind::Flicker;
  } else {
    return "unknown signal term " + Quoted(text) + " (dc, sine, white, hum, flicker)";
  }
  if (fields.size() != wanted) {
    return Quoted(text) + " needs " + (wanted == 3 ? "sine:HERTZ:VOLTS" : std::string(kind) + ":VOLTS");
  }
  std::vector<double> numbers;
  for (std::size_t i = 1; i < fields.size(); ++i) {
    const std::optional<double> number = ParseDouble(fields[i]);
    if (!number) return Quoted(fields[i]) + " is not a number";
    numbers.push_back(*number);
  }
  if (term.kind == SignalKind::Sine) {
    if (numbers[0] < 0.0) return "a frequency must not be negative";
    term.hertz = numbers[0];
  }
  term.volts = numbers.back();
  if (term.kind == SignalKind::White && term.volts < 0.0) return "an RMS noise must not be negative";
  if (term.kind == SignalKind::Flicker && term.volts < 0.0) return "a noise density must not be negative";
  return {};
}

std::string ParseSignal(std::string_view text, ChannelSignal& signal) {
  if (text.empty()) return "a channel needs at least one term";
  ChannelSignal parsed;
  for (const std::string_view termText : SplitTerms(text)) {
    SignalTerm term;
    if (std::string error = ParseTerm(termText, term); !error.empty()) return error;
    parsed.push_back(term);
  }
  // The converter takes the sum as a number; one beyond the doubles has no code.
  if (!std::isfinite(LargestMagnitude(parsed))) return "the terms add up to more than a finite number of volts";
  signal = std::move(parsed);
  return {};
}

std::string ParseFault(std::string_view text, SimFault& fault) {
  SimFault parsed;
  const auto countAfter = [&text](std::size_t at) { return ParseUnsigned(text.substr(at + 1)); };
  if (text == "none") {
    parsed.kind = FaultKind::None;
  } else if (text == "absent") {
    parsed.kind = FaultKind::Absent;
  } else if (text == "silent") {
    parsed.kind = FaultKind::Silent;
  } else if (text == "short") {
    parsed.kind = FaultKind::Short;
  } else if (text.starts_with("ng:")) {
    parsed.kind = FaultKind::Ng;
    parsed.command = std::string(text.substr(3));
    if (parsed.command.empty() || parsed.command.size() > kMaxCommandLength || !IsPrintable(parsed.command)) {
      return "ng:COMMAND needs a command of 1 to 19 printable characters";
    }
  } else if (text.starts_with("burst:")) {
    parsed.kind = FaultKind::Burst;
    const std::optional<std::uint64_t> size = countAfter(text.find(kFieldSeparator));
    if (!size || *size == 0) return "burst:N needs a piece size N of at least 1 byte";
    parsed.count = *size;
  } else if (text.starts_with("garble@") || text.starts_with("unplug@")) {
    parsed.kind = text.starts_with("garble") ? FaultKind::Garble : FaultKind::Unplug;
    const std::optional<std::uint64_t> count = countAfter(text.find(kCountMark));
    if (!count) return "the record count after '@' must be an unsigned decimal number";
    parsed.count = *count;
  } else {
    return "unknown fault (none, absent, silent, ng:COMMAND, garble@K, unplug@K, short, burst:N)";
  }
  fault = std::move(parsed);
  return {};
}

std::string ParseReplyText(std::string_view text, std::string& target) {
  if (text.size() > kMaxReplyTextLength || !IsPrintable(text)) {
    return "the text must be at most 24 printable ASCII characters";
  }
  target = std::string(text);
  return {};
}

// Applies one key=value item; an error text or empty on success.
std::string ApplyItem(std::string_view item, SimConfig& config) {
  const std::size_t at = item.find(kKeySeparator);
  if (at == std::string_view::npos) return "expected KEY=VALUE";
  const std::string_view key = item.substr(0, at);
  const std::string_view value = item.substr(at + 1);
  if (key == "ch0") return ParseSignal(value, config.channels[0]);
  if (key == "ch1") return ParseSignal(value, config.channels[1]);
  if (key == "noise") {
    if (value == "datasheet")
      config.converterNoise = true;
    else if (value == "off")
      config.converterNoise = false;
    else
      return "noise is datasheet or off";
    return {};
  }
  if (key == "seed") {
    const std::optional<std::uint64_t> seed = ParseUnsigned(value);
    if (!seed) return "seed must be an unsigned decimal number";
    config.seed = *seed;
    return {};
  }
  if (key == "clock") {
    if (value == "real")
      config.clock = SimClockKind::Real;
    else if (value == "virtual")
      config.clock = SimClockKind::Virtual;
    else
      return "clock is real or virtual";
    return {};
  }
  if (key == "name") return ParseReplyText(value, config.name);
  if (key == "version") return ParseReplyText(value, config.version);
  if (key == "fault") return ParseFault(value, config.fault);
  return "unknown key (ch0, ch1, noise, seed, clock, name, version, fault)";
}

std::optional<SimConfig> Apply(std::string_view text, SimConfig config, std::string& error) {
  if (text.empty()) return config;
  for (const std::string_view item : Split(text, kItemSeparator)) {
    const std::string problem = item.empty() ? "empty item" : ApplyItem(item, config);
    if (!problem.empty()) {
      error = "simulation CONFIG item \"" + std::string(item) + "\": " + problem;
      return std::nullopt;
    }
  }
  return config;
}

}  // namespace

SimConfig DemoSimulatedConfig() {
  std::string error;
  // The demonstration text is part of the program; it always parses.
  return *Apply(kDemoSimulatedConfig, SimConfig{}, error);
}

std::optional<SimConfig> ParseSimulatedConfig(std::string_view text, std::string& error) {
  return Apply(text, DemoSimulatedConfig(), error);
}
