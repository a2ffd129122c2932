#include "drivers/DriverChoice.h"

#include "drivers/DeviceSelect.h"
#include "drivers/SimulatedUnit.h"

#include <utility>

UnitDriver MakeUnitDriver(const std::optional<std::string>& simulate, const std::optional<std::string>& device,
                          DriverLog log) {
  UnitDriver chosen;
  if (simulate && device) {
    chosen.error = kSimulateWithDevice;
    return chosen;
  }
  if (simulate) {
    chosen.driver = MakeSimulatedDriver(*simulate, chosen.error);
    if (!chosen.driver) chosen.error = "--simulate: " + chosen.error;
    return chosen;
  }
  const DeviceSpecResult parsed = ParseDeviceSpec(device.value_or(""));
  if (!parsed.device) {
    chosen.error = "--device: " + parsed.error;
    return chosen;
  }
  chosen.driver = MakeRealUnitDriver(*parsed.device, std::move(log));
  return chosen;
}
