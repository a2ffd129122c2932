// Validity rules and defaults of the measurement and display settings that more than
// the settings dialog needs.
#pragma once

#include <string_view>

#include "model/Records.h"

// The dB indices of the level range (index k stands for 20 - 10k dB).
inline constexpr int kHighestDbTop = 16;     // -140 dB, the lowest top offered
inline constexpr int kRelativeDbTop = 2;     // 0 dB, the top in relative display
inline constexpr int kLowestDbBottom = 3;    // -10 dB
inline constexpr int kHighestDbBottom = 20;  // -180 dB

// The frequency indices the range ends may take in the settings dialog.
inline constexpr int kLastFreqStart = 12;  // 1 kHz
inline constexpr int kFirstFreqEnd = 6;    // 10 Hz
inline constexpr int kLastFreqEnd = 14;    // 2.4 kHz

// The number-of-samples selections: DataCountSel 0 … 6 stands for 1024 << DataCountSel.
inline constexpr int kDataCountChoices = 7;

// True when the dB range is valid: in absolute display the top index lies above
// the bottom (index_dB_max < index_dB_min), the top at most 16 and the bottom 3 … 20;
// in relative display the top is 2 (0 dB) and the bottom 3 … 20.
bool CheckSetting(const FftSetting& setting);
// The key a failed CheckSetting is about: "index_dB_min" when the bottom is out of its
// range, otherwise "index_dB_max".
std::string_view DbRangeKeyAtFault(const FftSetting& setting);
// What CheckSetting asks, for messages.
inline constexpr std::string_view kDbRangeRule =
    "gives no valid dB range (index_dB_min 3 to 20; index_dB_max at most 16 and below it in absolute display, "
    "2 in relative display)";

// Writes the defaults of both records (automatic saving off, no file, no start time).
void SetDefault(FftSetting& setting, SaveSetting& save);

// Samples per measurement of a DataCountSel: 1024 … 32768 for 0 … 5, 65536 for any
// other value.
int GetDataCount(int dataCountSel);
