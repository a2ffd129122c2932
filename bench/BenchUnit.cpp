#include "BenchUnit.h"

#include <stdexcept>

#include "drivers/SimulatedUnit.h"

std::unique_ptr<D2xx> MakeBenchUnit(const std::string& config, const SimClock& clock) {
  std::string error;
  const std::optional<SimConfig> parsed = ParseSimulatedConfig(config, error);
  if (!parsed) throw std::invalid_argument(error);
  return std::make_unique<SimulatedUnit>(*parsed, clock);
}
