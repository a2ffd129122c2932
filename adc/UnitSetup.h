// The set-up sequence run at the start of every measurement: open, presence check,
// filter, buffer, chopping, data rate, gain, identification, version. It stops at the
// first failing step and reports which one, so each caller (main window, command-line
// tool) shows its own messages.
#pragma once

#include <string>

#include "adc/Ad7190.h"
#include "model/Records.h"

// The step of the sequence that failed, in the order they run.
enum class SetupStep {
  None,       // every step succeeded
  OpenUnit,   // the unit was not found (link closed)
  CheckUnit,  // the unit did not answer "?" (link closed)
  Filter,     // "S3"/"S4" refused or unanswered
  Buffer,     // "SB0"/"SB1"
  Chop,       // "SC0"/"SC1"
  DataRate,   // "F0" … "FC"
  Gain,       // "SG0" … "SG5"
  UnitName,   // "U?" refused, unanswered, or not the expected unit name
  Version,    // "V?" refused or unanswered
};

struct UnitSetupResult {
  SetupStep failedStep = SetupStep::None;
  std::string unitName;     // the reply to "U?", when it came
  std::string version;      // the reply to "V?", when it came
  std::string description;  // rate text, " x", gain text, ", " (e.g. "4.8ksps x128, ")

  bool Ok() const { return failedStep == SetupStep::None; }
};

// Runs the sequence with the settings of a measurement. When the unit is absent or
// silent the link is closed again; later failures leave it open.
UnitSetupResult RunUnitSetup(TADC& adc, const AdUnitSetting& setting);

// A short English name of a step for logs and the command-line tool ("open", "gain" …).
const char* SetupStepName(SetupStep step);
