// The converter unit's setting tables: data rates with their texts, sample periods
// and records per poll, and the programmable gains. Lookups outside a table give
// the neutral value stated per function and never read outside it.
#pragma once

#include <cstdint>
#include <string>

inline constexpr int kRateCount = 13;  // data-rate indices 0..12
inline constexpr int kGainCount = 6;   // gain indices 0..5

// Samples per second of a data-rate index; 0 outside the table.
int SamplesPerSecond(int spsSel);
// 1000 / samples per second in ms, as the nearest 32-bit float; 0 outside the table.
float SamplePeriodMs(int spsSel);
// "5sps" … "4.8ksps"; empty outside the table.
std::string RateText(int spsSel);
// Sample records asked for per acquisition poll (1 … 32); 0 outside the table.
int SamplesPerRead(int spsSel);
// The data-rate index of a rate in samples per second, or -1.
int RateIndexOf(int samplesPerSecond);

// Gain value 1, 8, 16, 32, 64, 128 of an index; 0 outside the table.
std::int32_t GainOf(std::uint32_t gainSel);
// The gain as decimal text; empty outside the table.
std::string GainText(std::uint32_t gainSel);
// The gain index of a gain value, or -1.
int GainIndexOf(std::int32_t gain);
