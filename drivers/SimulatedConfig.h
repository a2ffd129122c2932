// The textual CONFIG of the simulated converter unit: the signal on each channel,
// the converter's own noise, the seed, the clock, the identification replies and one
// injected fault. Items are separated by commas and later items override earlier
// ones; an empty CONFIG is the demonstration set-up kDemoSimulatedConfig.
//
//   ch0=SIGNAL, ch1=SIGNAL   terms joined by '+': dc:VOLTS, sine:HERTZ:VOLTS
//                            (amplitude), white:VOLTS (RMS), hum:VOLTS (50 Hz amplitude,
//                            with its 3rd, 5th and 7th harmonics), flicker:NSD (1/f
//                            noise, density at 1 Hz in V/√Hz)
//   noise=datasheet|off      the converter's own noise and offset
//   seed=N                   unsigned decimal seed of every random source
//   clock=real|virtual       virtual: records are ready as fast as they are polled
//   name=TEXT, version=TEXT  the replies to "U?" and "V?" (printable ASCII)
//   fault=none|absent|silent|ng:COMMAND|garble@K|unplug@K|short|burst:N
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kSimulatedChannels = 2;
inline constexpr std::size_t kMaxReplyTextLength = 24;  // fits the program's reply area with its CR

// The demonstration set-up used for an empty CONFIG, written in the CONFIG grammar.
inline constexpr const char* kDemoSimulatedConfig =
    "ch0=dc:1.5e-3+sine:1000:5e-3+sine:2000:2e-5+hum:3e-4+white:5e-7,"
    "ch1=dc:-4e-4+sine:10:2e-3+white:2e-6,"
    "noise=datasheet,seed=1,clock=real,name=QT4418PX,version=SIM 1.00,fault=none";

enum class SignalKind {
  Dc,       // constant, volts
  Sine,     // hertz, amplitude in volts, starting at phase 0 with the acquisition
  White,    // Gaussian white noise, RMS volts
  Hum,      // 50 Hz mains of the given amplitude in volts, with odd harmonics
  Flicker,  // 1/f noise, its density at 1 Hz in V/√Hz
};

struct SignalTerm {
  SignalKind kind = SignalKind::Dc;
  double hertz = 0.0;  // Sine only
  double volts = 0.0;  // Flicker: V/√Hz

  friend bool operator==(const SignalTerm&, const SignalTerm&) = default;
};

using ChannelSignal = std::vector<SignalTerm>;

enum class SimClockKind { Real, Virtual };

enum class FaultKind {
  None,
  Absent,  // opening the device fails
  Silent,  // the unit never answers nor streams
  Ng,      // "NG" to one command line (command)
  Garble,  // the record after `count` intact ones lacks its CR
  Unplug,  // every driver call fails once `count` records have been sent
  Short,   // reads deliver about half of what was asked although it was queued
  Burst,   // received bytes show up in pieces of 1 … `count` bytes per queue query
};

struct SimFault {
  FaultKind kind = FaultKind::None;
  std::string command;      // Ng: the command line refused
  std::uint64_t count = 0;  // Garble, Unplug: records before the fault; Burst: largest piece

  friend bool operator==(const SimFault&, const SimFault&) = default;
};

struct SimConfig {
  std::array<ChannelSignal, kSimulatedChannels> channels;
  bool converterNoise = true;  // the converter's own noise and offset
  std::uint64_t seed = 0;
  SimClockKind clock = SimClockKind::Real;
  std::string name;
  std::string version;
  SimFault fault;

  friend bool operator==(const SimConfig&, const SimConfig&) = default;
};

// The CONFIG applied over the demonstration set-up; nothing and a message naming the
// bad item when the text is malformed.
std::optional<SimConfig> ParseSimulatedConfig(std::string_view text, std::string& error);

// The demonstration set-up.
SimConfig DemoSimulatedConfig();
