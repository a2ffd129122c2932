#include "ui/NumberFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <system_error>

namespace {

// Fixed digits after the point used to see the exact value before rounding. Any
// value that can sit exactly on a tie of a pattern (at least 0.0005 in magnitude)
// differs from a near-tie neighbour by at least one ulp, far above 1e-40.
constexpr int kExactDecimals = 40;

// Strips a leading '+' that std::from_chars does not take; rejects a lone sign.
std::optional<std::string_view> StripPlus(std::string_view text) {
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
  }
  if (text.empty()) return std::nullopt;
  return text;
}

// The whole text as a T, or the reason it is none: std::errc::invalid_argument when
// it is not one number, result_out_of_range when it is one that T cannot hold.
template <typename T>
std::optional<T> ParseWhole(std::string_view text, std::errc& error) {
  error = std::errc::invalid_argument;
  auto body = StripPlus(text);
  if (!body) return std::nullopt;
  T value{};
  const char* first = body->data();
  const char* last = first + body->size();
  auto [ptr, ec] = std::from_chars(first, last, value);
  if (ptr != last) return std::nullopt;
  error = ec;
  if (ec != std::errc()) return std::nullopt;
  return value;
}

template <typename T>
std::optional<T> ParseWhole(std::string_view text) {
  std::errc error{};
  return ParseWhole<T>(text, error);
}

// Whether a number that is out of a double's range lies below it rather than above:
// the power of ten of its leading digit is negative.
bool BelowDoubleRange(std::string_view number) {
  const std::size_t e = number.find_first_of("eE");
  const std::string_view mantissa = number.substr(0, e);
  std::int64_t exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view digits = number.substr(e + 1);
    const bool negative = digits.starts_with('-');
    if (negative || digits.starts_with('+')) digits.remove_prefix(1);
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
    if (ec == std::errc::result_out_of_range) return negative;
    if (negative) exponent = -exponent;
  }
  const auto point = static_cast<std::int64_t>(std::min(mantissa.find('.'), mantissa.size()));
  const auto lead = static_cast<std::int64_t>(mantissa.find_first_of("123456789"));
  const std::int64_t position = point - lead - (lead < point ? 1 : 0);  // 0 for units, -1 for tenths
  return exponent < -position;
}

}  // namespace

std::string FormatFixed(double value, int decimals) {
  if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
  // Exact expansion, then decimal rounding by hand with ties away from zero.
  std::array<char, 512> buf{};
  auto res =
      std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(value), std::chars_format::fixed, kExactDecimals);
  std::string digits(buf.data(), res.ptr);
  const auto point = digits.find('.');
  std::string intPart = digits.substr(0, point);
  std::string frac = digits.substr(point + 1);
  std::string kept = frac.substr(0, static_cast<std::size_t>(decimals));
  std::string_view rest = std::string_view(frac).substr(static_cast<std::size_t>(decimals));
  const bool roundUp = !rest.empty() && rest.front() >= '5';
  std::string number = intPart + kept;
  if (roundUp) {
    int i = static_cast<int>(number.size()) - 1;
    while (i >= 0 && number[static_cast<std::size_t>(i)] == '9') number[static_cast<std::size_t>(i--)] = '0';
    if (i < 0)
      number.insert(number.begin(), '1');
    else
      ++number[static_cast<std::size_t>(i)];
  }
  const std::size_t intDigits = number.size() - static_cast<std::size_t>(decimals);
  std::string out = number.substr(0, intDigits);
  if (decimals > 0) out += '.' + number.substr(intDigits);
  const bool isZero = out.find_first_not_of("0.") == std::string::npos;
  if (std::signbit(value) && !isZero) out.insert(out.begin(), '-');
  return out;
}

std::string FormatInteger(std::int64_t value) {
  std::array<char, 24> buf{};
  auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value);
  return std::string(buf.data(), res.ptr);
}

char* FormatGeneralTo(char* out, float value) {
  constexpr int kSignificant = 15;
  constexpr double kPlainMin = 1e-4;
  constexpr double kPlainLimit = 1e15;
  const auto put = [&out](std::string_view text) { out = std::copy(text.begin(), text.end(), out); };
  const double exact = value;  // widening is exact
  if (exact == 0.0) {
    put("0");
    return out;
  }
  if (!std::isfinite(exact)) {
    put(std::isnan(exact) ? "NAN" : (exact < 0 ? "-INF" : "INF"));
    return out;
  }

  // 15 significant digits as d.dddddddddddddde±x, then the digits without the point.
  std::array<char, kGeneralMaxChars> sci{};
  const auto res = std::to_chars(sci.data(), sci.data() + sci.size(), std::fabs(exact), std::chars_format::scientific,
                                 kSignificant - 1);
  std::array<char, kSignificant> digits{};
  int count = 0;
  const char* p = sci.data();
  for (; *p != 'e'; ++p) {
    if (*p != '.') digits[static_cast<std::size_t>(count++)] = *p;
  }
  ++p;
  if (*p == '+') ++p;
  int exponent = 0;
  std::from_chars(p, res.ptr, exponent);
  while (count > 1 && digits[static_cast<std::size_t>(count - 1)] == '0') --count;
  const std::string_view mantissa(digits.data(), static_cast<std::size_t>(count));

  if (std::signbit(exact)) put("-");
  const double magnitude = std::fabs(exact);
  if (magnitude >= kPlainMin && magnitude < kPlainLimit) {
    if (exponent < 0) {
      put("0.");
      out = std::fill_n(out, -exponent - 1, '0');
      put(mantissa);
    } else {
      const auto intDigits = static_cast<std::size_t>(exponent + 1);
      if (mantissa.size() <= intDigits) {
        put(mantissa);
        out = std::fill_n(out, intDigits - mantissa.size(), '0');
      } else {
        put(mantissa.substr(0, intDigits));
        put(".");
        put(mantissa.substr(intDigits));
      }
    }
  } else {
    put(mantissa.substr(0, 1));
    if (mantissa.size() > 1) {
      put(".");
      put(mantissa.substr(1));
    }
    put("E");
    out = std::to_chars(out, out + kGeneralMaxChars, exponent).ptr;
  }
  return out;
}

std::string FormatGeneral(float value) {
  std::array<char, kGeneralMaxChars> buf{};
  return std::string(buf.data(), FormatGeneralTo(buf.data(), value));
}

std::string FormatRoundTrip(double value) {
  std::array<char, kGeneralMaxChars> buf{};
  const auto result = std::to_chars(buf.data(), buf.data() + buf.size(), value);
  return std::string(buf.data(), result.ptr);
}

std::string FormatRoundTripFloat(float value) {
  std::array<char, kGeneralMaxChars> buf{};
  const auto result = std::to_chars(buf.data(), buf.data() + buf.size(), value);
  return std::string(buf.data(), result.ptr);
}

std::optional<std::int32_t> ParseInt32(std::string_view text) { return ParseWhole<std::int32_t>(text); }

std::optional<double> ParseDouble(std::string_view text) {
  std::errc error{};
  auto value = ParseWhole<double>(text, error);
  if (error == std::errc::result_out_of_range && BelowDoubleRange(text)) return text.starts_with('-') ? -0.0 : 0.0;
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

std::optional<float> ParseFloat32(std::string_view text) {
  if (auto value = ParseWhole<float>(text)) {
    if (!std::isfinite(*value)) return std::nullopt;
    return value;
  }
  // from_chars refuses a number that rounds to zero as a float; it is still a number.
  // One that is too large for a float stays refused.
  const auto wide = ParseDouble(text);
  if (!wide || std::fabs(*wide) >= 1.0) return std::nullopt;
  return std::copysign(0.0F, static_cast<float>(*wide));
}
