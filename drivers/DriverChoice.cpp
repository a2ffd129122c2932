#include "drivers/DriverChoice.h"

#include "drivers/DeviceSelect.h"
#include "drivers/SimulatedUnit.h"

UnitDriver MakeUnitDriver(const std::optional<std::string>& simulate, const std::optional<std::string>& device) {
  UnitDriver chosen;
  if (simulate) {
    chosen.driver = MakeSimulatedDriver(*simulate, chosen.error);
    if (!chosen.driver) chosen.error = "--simulate: " + chosen.error;
    return chosen;
  }
  const DeviceSpecResult spec = ParseDeviceSpec(device.value_or(""));
  if (!spec.device) {
    chosen.error = "--device: " + spec.error;
    return chosen;
  }
  chosen.driver = MakeRealUnitDriver(*spec.device);
  return chosen;
}
