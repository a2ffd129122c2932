// A simulated unit on a clock the benchmark moves. (Made apart from the Qt headers:
// the firmware's own names clash with Qt's keywords.)
#pragma once

#include <memory>
#include <string>

#include "drivers/D2xx.h"
#include "drivers/SimClock.h"

std::unique_ptr<D2xx> MakeBenchUnit(const std::string& config, const SimClock& clock);
