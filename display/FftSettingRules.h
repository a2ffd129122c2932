// Validity rules of the measurement and display settings that more than the
// settings dialog needs.
#pragma once

#include "model/Records.h"

// True when the dB range is valid: in absolute display the top index lies above
// the bottom (index_dB_max < index_dB_min), the top at most 16 and the bottom 3 … 20;
// in relative display the top is 2 (0 dB) and the bottom 3 … 20.
bool CheckSetting(const FftSetting& setting);
