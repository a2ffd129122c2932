#include "cli/NoiseOptions.h"

#include <bit>
#include <cmath>

#include "model/Records.h"
#include "ui/NumberFormat.h"

namespace {

constexpr int kMaxAverages = 1000;
constexpr char kBandSeparator = ':';

std::string NotAllowed(std::string_view name, const std::string& text, const char* allowed) {
  return std::string(name) + " '" + text + "' is not allowed: " + allowed;
}

std::optional<FrequencyBand> ParseBand(const std::string& text) {
  const auto colon = text.find(kBandSeparator);
  if (colon == std::string::npos) return std::nullopt;
  const auto f1 = ParseDouble(std::string_view(text).substr(0, colon));
  const auto f2 = ParseDouble(std::string_view(text).substr(colon + 1));
  if (!f1 || !f2 || !(*f1 > 0.0) || !(*f2 > *f1)) return std::nullopt;
  return FrequencyBand{*f1, *f2};
}

}  // namespace

std::optional<FrequencyBand> NoiseOptions::ReportedBand() const {
  if (band) return band;
  if (density) return kDefaultNoiseBand;
  return std::nullopt;
}

NoiseOptionKind NoiseOptionOf(std::string_view name) {
  if (name == "--density") return NoiseOptionKind::Switch;
  if (name == "--average") return NoiseOptionKind::MeasureValue;
  if (name == "--segments" || name == "--band") return NoiseOptionKind::Value;
  return NoiseOptionKind::None;
}

std::string ApplyNoiseOption(std::string_view name, const std::optional<std::string>& value, NoiseOptions& noise) {
  const std::string text = value.value_or("");
  if (name == "--density") {
    noise.density = true;
  } else if (name == "--average") {
    const auto n = ParseInt32(text);
    if (!n || *n < 1 || *n > kMaxAverages) return NotAllowed(name, text, "1 to 1000 acquisitions");
    noise.average = *n;
  } else if (name == "--segments") {
    const auto n = ParseInt32(text);
    if (!n || *n < kMinWelchSegment || *n > kMaxSamples || !std::has_single_bit(static_cast<unsigned>(*n))) {
      return NotAllowed(name, text, "a power of two from 256 to 65536, at most the record's samples");
    }
    noise.segments = *n;
  } else if (name == "--band") {
    const auto band = ParseBand(text);
    if (!band) return NotAllowed(name, text, "F1:F2 in Hz with 0 < F1 < F2, e.g. 0.1:10");
    noise.band = band;
  }
  return {};
}

std::string CheckNoiseOptions(const NoiseOptions& noise) {
  if (noise.segments && !noise.Wanted())
    return "--segments applies to the noise density: add --density, --band, --nsd or --nsd-png";
  return {};
}
