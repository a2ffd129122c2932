// The unit's driver as a program's options choose it: --simulate[=CONFIG] selects the
// simulated unit, otherwise --device=VALUE (or, without it, the default driver)
// selects the real unit's buffered driver. zemtra-cli and the desktop program share
// it, so both take the same options with the same checks and messages.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "drivers/D2xx.h"
#include "drivers/DriverLog.h"

struct UnitDriver {
  std::unique_ptr<D2xx> driver;  // none when an option's value was refused
  std::string error;             // then one line naming the option: "--simulate: …", "--device: …"
};

// Both options together are refused: the simulated unit would win silently, and a
// measurement meant for the unit on the bench would come from the simulation.
inline constexpr const char* kSimulateWithDevice =
    "--simulate and --device exclude each other: the one uses the simulated unit, the other the real one";

// simulate: the CONFIG of --simulate when it was given (empty for the demonstration
// signal); device: the value of --device= when it was given; both: refused with
// kSimulateWithDevice. log: where the real unit's driver reports its failures.
UnitDriver MakeUnitDriver(const std::optional<std::string>& simulate, const std::optional<std::string>& device,
                          DriverLog log);
