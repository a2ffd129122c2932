// Every number the program writes or reads as text goes through this module, so
// that one rounding rule and one decimal point ('.', whatever the locale) hold
// everywhere.
//
// Rounding rule of the fixed patterns: the value is rounded from its exact binary
// value to the nearest number with the pattern's decimals; a value exactly halfway
// between two goes away from zero (0.125 with "0.00" gives "0.13", 2.5 with "0"
// gives "3", -0.0625 with "0.000" gives "-0.063"). A result that rounds to zero
// keeps no minus sign.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Pattern "0" (decimals 0), "0.0" (1), "0.00" (2), "0.000" (3): at least one integer
// digit, exactly `decimals` digits after the point.
std::string FormatFixed(double value, int decimals);

inline std::string Format0(double value) { return FormatFixed(value, 0); }
inline std::string Format0_0(double value) { return FormatFixed(value, 1); }
inline std::string Format0_00(double value) { return FormatFixed(value, 2); }
inline std::string Format0_000(double value) { return FormatFixed(value, 3); }

// Plain decimal integer.
std::string FormatInteger(std::int64_t value);

// The general format of data and spectrum files: the exact value of the 32-bit
// float with at most 15 significant digits, trailing zeros removed. Magnitudes from
// 0.0001 up to below 10^15 without exponent; others as mantissa "E" exponent, the
// exponent without plus sign or leading zeros (9.99999974737875E-6); zero as "0".
std::string FormatGeneral(float value);
// The same text without allocating, for writers of many numbers: written from first
// on, at most kGeneralMaxChars characters; returns the end of the text.
inline constexpr std::size_t kGeneralMaxChars = 32;
char* FormatGeneralTo(char* first, float value);

// The shortest text that reads back as exactly this double (full precision), in
// plain or exponent form as is shorter ("0.0732421875", "2.0412414523193151e-08").
std::string FormatRoundTrip(double value);
// The same for a 32-bit float: the shortest text that reads back as exactly this
// float ("0.0015", "5.386e-08"), without the digits that widening to double would add.
std::string FormatRoundTripFloat(float value);

// Parsing accepts a value only when the whole text converts: no blanks, no trailing
// text, not empty, not a sign alone. An optional leading '+' or '-' is allowed.
std::optional<std::int32_t> ParseInt32(std::string_view text);
// A finite decimal number (plain or exponent form), correctly rounded to double;
// values beyond the largest double are rejected, values too small for the smallest
// become zero.
std::optional<double> ParseDouble(std::string_view text);
// A finite decimal number correctly rounded to a 32-bit float; values beyond the
// largest float are rejected, values too small for the smallest become zero.
std::optional<float> ParseFloat32(std::string_view text);
