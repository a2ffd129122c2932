#include "model/UnitTables.h"

#include <array>
#include <string>

namespace {

struct RateRow {
  int samplesPerSecond;
  const char* text;
  float periodMs;
  int samplesPerRead;
};

constexpr std::array<RateRow, kRateCount> kRates{{
    {5, "5sps", 200.0F, 1},
    {10, "10sps", 100.0F, 1},
    {20, "20sps", 50.0F, 1},
    {50, "50sps", 20.0F, 1},
    {60, "60sps", 1000.0F / 60.0F, 1},
    {100, "100sps", 10.0F, 1},
    {200, "200sps", 5.0F, 2},
    {400, "400sps", 2.5F, 4},
    {800, "800sps", 1.25F, 8},
    {960, "960sps", 1000.0F / 960.0F, 8},
    {1200, "1.2ksps", 1000.0F / 1200.0F, 8},
    {2400, "2.4ksps", 1000.0F / 2400.0F, 16},
    {4800, "4.8ksps", 1000.0F / 4800.0F, 32},
}};

constexpr std::array<std::int32_t, kGainCount> kGains{1, 8, 16, 32, 64, 128};

constexpr bool RateInRange(int spsSel) { return spsSel >= 0 && spsSel < kRateCount; }
constexpr bool GainInRange(std::uint32_t gainSel) { return gainSel < kGainCount; }

}  // namespace

int SamplesPerSecond(int spsSel) { return RateInRange(spsSel) ? kRates[spsSel].samplesPerSecond : 0; }
float SamplePeriodMs(int spsSel) { return RateInRange(spsSel) ? kRates[spsSel].periodMs : 0.0F; }
std::string RateText(int spsSel) { return RateInRange(spsSel) ? kRates[spsSel].text : ""; }
int SamplesPerRead(int spsSel) { return RateInRange(spsSel) ? kRates[spsSel].samplesPerRead : 0; }

int RateIndexOf(int samplesPerSecond) {
  for (int i = 0; i < kRateCount; ++i) {
    if (kRates[i].samplesPerSecond == samplesPerSecond) return i;
  }
  return -1;
}

std::int32_t GainOf(std::uint32_t gainSel) { return GainInRange(gainSel) ? kGains[gainSel] : 0; }
std::string GainText(std::uint32_t gainSel) { return GainInRange(gainSel) ? std::to_string(kGains[gainSel]) : ""; }

int GainIndexOf(std::int32_t gain) {
  for (int i = 0; i < kGainCount; ++i) {
    if (kGains[i] == gain) return i;
  }
  return -1;
}
