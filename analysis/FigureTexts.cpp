#include "analysis/FigureTexts.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "ui/NumberFormat.h"

namespace {

constexpr int kSignificant = 4;

// Decimals that give kSignificant significant digits to a value of at least 1 (or
// below 1 with one integer digit).
int DecimalsFor(double value) {
  const int integerDigits = value >= 1.0 ? static_cast<int>(std::floor(std::log10(value))) + 1 : 1;
  return std::max(0, kSignificant - integerDigits);
}

}  // namespace

std::string VoltText(double volts, const char* suffix) {
  struct Prefix {
    double scale;
    const char* name;
  };
  constexpr std::array<Prefix, 5> kPrefixes{{{1.0, ""}, {1e3, "m"}, {1e6, "µ"}, {1e9, "n"}, {1e12, "p"}}};
  Prefix prefix = kPrefixes.back();
  for (const Prefix& p : kPrefixes) {
    if (std::fabs(volts) * p.scale >= 1.0) {
      prefix = p;
      break;
    }
  }
  const double value = volts * prefix.scale;
  return FormatFixed(value, DecimalsFor(value)) + " " + prefix.name + "V" + suffix;
}

std::string HertzText(double hertz) { return FormatRoundTrip(hertz) + " Hz"; }

std::string FigureText(double value, int decimals) { return std::isfinite(value) ? FormatFixed(value, decimals) : "∞"; }

std::string SignificantText(double value) {
  const int integerDigits = static_cast<int>(std::floor(std::log10(value))) + 1;
  return FormatFixed(value, std::max(0, kSignificant - integerDigits));
}

std::string ConverterNoiseText(const ConverterNoise& noise) {
  return "noise: σ " + FormatFixed(noise.sigmaCodes, 3) + " codes = " + VoltText(noise.sigmaVolts) +
         " RMS, peak-to-peak " + FormatFixed(noise.ppCodes, 0) + " codes = " + VoltText(noise.ppVolts) + " measured, " +
         VoltText(noise.ppGaussVolts) + " as 6.6 σ; effective resolution " + FigureText(noise.effectiveBits, 2) +
         " bits, noise-free " + FigureText(noise.noiseFreeBits, 2) + " bits (" + FigureText(noise.noiseFreeCounts, 0) +
         " counts), dynamic range " + FigureText(noise.dynamicRangeDb, 1) + " dB of " + VoltText(noise.fsrVolts) +
         " full scale\n";
}

std::string ToneText(const std::optional<ToneMetrics>& tone, int samples) {
  if (!tone) {
    return samples < kMinToneSamples
               ? "tone: none, the record is shorter than " + FormatInteger(kMinToneSamples) + " samples\n"
               : "tone: none stands clear of the noise\n";
  }
  return "tone: " + FormatFixed(tone->frequencyHz, 4) + " Hz, " + VoltText(tone->vrms) + " RMS; SNR " +
         FigureText(tone->snrDb, 2) + " dB, THD " + FigureText(tone->thdDb, 2) + " dB, SINAD " +
         FigureText(tone->sinadDb, 2) + " dB, SFDR " + FigureText(tone->sfdrDbc, 2) + " dBc, ENOB " +
         FigureText(tone->enobBits, 2) + " bits\n";
}

std::string AllanText(const std::vector<AllanPoint>& allan) {
  std::string text = "Allan deviation:";
  if (allan.empty()) return text + " none, the data rate is unknown\n";
  for (const AllanPoint& p : allan) text += " " + SignificantText(p.tauSeconds) + " s " + VoltText(p.adevVolts) + ";";
  text.back() = '\n';
  return text;
}

std::string BandNoiseText(const BandNoise& band) {
  return "band " + FormatRoundTrip(band.f1) + " to " + HertzText(band.f2) + ": " + VoltText(band.rmsVolts) + " RMS, " +
         VoltText(band.ppVolts) + " peak-to-peak (" + FormatRoundTrip(kPeakToPeakPerRms) + " × RMS), " +
         FormatInteger(band.lines) + " lines\n";
}
