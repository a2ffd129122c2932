#include "adc/UnitSetup.h"

#include "ui/Mymessage.h"

UnitSetupResult RunUnitSetup(TADC& adc, const AdUnitSetting& setting) {
  UnitSetupResult result;
  const auto fail = [&result](SetupStep step) {
    result.failedStep = step;
    return result;
  };

  if (!adc.OpenUnit()) {
    adc.CloseUnit();
    return fail(SetupStep::OpenUnit);
  }
  if (!adc.CheckUnit()) {
    adc.CloseUnit();
    return fail(SetupStep::CheckUnit);
  }
  if (!(setting.sinc3 == 1 ? adc.SetSinc3() : adc.SetSinc4())) return fail(SetupStep::Filter);
  if (!(setting.buf_on == 1 ? adc.BufferOn() : adc.BufferOff())) return fail(SetupStep::Buffer);
  if (!(setting.chop_on == 1 ? adc.ChopOn() : adc.ChopOff())) return fail(SetupStep::Chop);
  if (!adc.SetDataRate(setting.spsSel)) return fail(SetupStep::DataRate);
  result.description = RateText(setting.spsSel);
  if (!adc.SetGain(setting.GainSel)) return fail(SetupStep::Gain);
  result.description += " x" + GainText(setting.GainSel) + ", ";
  if (!adc.ReadUnitName(result.unitName) || result.unitName != kUnitName) return fail(SetupStep::UnitName);
  if (!adc.ReadVersion(result.version)) return fail(SetupStep::Version);
  return result;
}

const char* SetupStepName(SetupStep step) {
  switch (step) {
    case SetupStep::None:
      return "none";
    case SetupStep::OpenUnit:
      return "open";
    case SetupStep::CheckUnit:
      return "presence check";
    case SetupStep::Filter:
      return "filter";
    case SetupStep::Buffer:
      return "input buffer";
    case SetupStep::Chop:
      return "chopping";
    case SetupStep::DataRate:
      return "data rate";
    case SetupStep::Gain:
      return "gain";
    case SetupStep::UnitName:
      return "unit name";
    case SetupStep::Version:
      return "version";
  }
  return "unknown";
}
