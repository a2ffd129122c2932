#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "ui/NumberFormat.h"

namespace {

struct FixedCase {
  double value;
  int decimals;
  const char* expected;
  const char* reason;
};

TEST(FormatFixed, PatternsAndTies) {
  const FixedCase cases[] = {
      {50.0, 3, "50.000", "padding with zeros"},
      {0.0, 3, "0.000", "zero keeps one integer digit"},
      {0.125, 2, "0.13", "exact tie goes away from zero"},
      {-0.125, 2, "-0.13", "negative tie goes away from zero"},
      {2.5, 0, "3", "tie at the integer pattern"},
      {0.0625, 3, "0.063", "tie at three decimals"},
      {0.15, 1, "0.1", "the double nearest 0.15 lies below the tie"},
      {static_cast<double>(0.15F), 1, "0.2", "the float nearest 0.15 lies above the tie"},
      {99.96F, 1, "100.0", "carry into a new integer digit"},
      {999.9995, 3, "1000.000", "the double nearest 999.9995 lies just above the tie"},
      {9.9996, 3, "10.000", "carry through all digits"},
      {-0.0001, 3, "0.000", "rounds to zero without a minus sign"},
      {-250.0, 3, "-250.000", "negative value"},
      {4.6875, 3, "4.688", "exact tie of a frequency step"},
      {213.333333, 2, "213.33", "time label"},
      {1234567.891, 3, "1234567.891", "large value"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFixed(c.value, c.decimals), c.expected) << c.reason;
}

TEST(FormatInteger, PlainDecimal) {
  EXPECT_EQ(FormatInteger(0), "0");
  EXPECT_EQ(FormatInteger(-8388608), "-8388608");
  EXPECT_EQ(FormatInteger(16777215), "16777215");
}

TEST(FormatGeneral, FifteenSignificantDigitsOfTheExactFloat) {
  const struct {
    float value;
    const char* expected;
  } cases[] = {
      {2.5F, "2.5"},
      {0.1F, "0.100000001490116"},
      {0.00001F, "9.99999974737875E-6"},
      {0.0F, "0"},
      {-0.0F, "0"},
      {-2.5F, "-2.5"},
      {1.0F, "1"},
      {0.0001F, "9.99999974737875E-5"},       // the float is just below 0.0001
      {0.0001220703125F, "0.0001220703125"},  // 2^-13: exact, at least 0.0001
      {4.6875F, "4.6875"},
      {0.0732421875F, "0.0732421875"},
      {16777216.0F, "16777216"},
      {1e15F, "999999986991104"},  // the float is just below 10^15
      {1e20F, "1.00000002004088E20"},
      {-3.0e-9F, "-3.00000002617651E-9"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatGeneral(c.value), c.expected) << c.value;
}

TEST(FormatGeneral, RoundTripsEveryFloatItWrites) {
  const float samples[] = {0.1F, 1.0F / 3.0F, 2.328306437e-9F, -1.2345678e-5F, 65535.99F, 7.0e-30F, 3.4e38F};
  for (float v : samples) {
    const auto text = FormatGeneral(v);
    const auto back = ParseFloat32(text);
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_EQ(*back, v) << text;
  }
}

// printf's %.15G, with the exponent written without plus sign or leading zeros, is an
// independent reference for the general format.
std::string GeneralByPrintf(float value) {
  std::array<char, 64> buf{};
  std::snprintf(buf.data(), buf.size(), "%.15G", static_cast<double>(value));
  std::string text(buf.data());
  const auto e = text.find('E');
  if (e == std::string::npos) return text == "-0" ? "0" : text;
  std::string exponent = text.substr(e + 1);
  const bool negative = exponent.front() == '-';
  exponent.erase(0, exponent.find_first_not_of("+-0"));
  return text.substr(0, e + 1) + (negative ? "-" : "") + exponent;
}

TEST(FormatGeneral, AgreesWithPrintfOnRandomFloats) {
  std::mt19937 rng(5);
  int checked = 0;
  while (checked < 200000) {
    const float v = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
    if (!std::isfinite(v)) continue;
    ++checked;
    std::array<char, kGeneralMaxChars> buf{};
    const std::string text(buf.data(), FormatGeneralTo(buf.data(), v));
    ASSERT_EQ(text, GeneralByPrintf(v)) << v;
    ASSERT_EQ(FormatGeneral(v), text);
  }
}

TEST(Parsing, AcceptsOnlyWholeValues) {
  EXPECT_EQ(ParseInt32("128"), 128);
  EXPECT_EQ(ParseInt32("-5"), -5);
  EXPECT_EQ(ParseInt32("+7"), 7);
  EXPECT_EQ(ParseInt32("2147483647"), 2147483647);
  const char* rejectedInts[] = {"", " ", "-", "+", "128 ", " 128", "12a", "1.0", "2147483648", "+-1", "0x10"};
  for (const char* text : rejectedInts) EXPECT_FALSE(ParseInt32(text).has_value()) << '"' << text << '"';

  EXPECT_EQ(ParseDouble("2.5"), 2.5);
  EXPECT_EQ(ParseDouble("9.99999974737875E-6"), 9.99999974737875E-6);
  EXPECT_EQ(ParseDouble("1e3"), 1000.0);
  const char* rejectedNumbers[] = {
      "",          "nan",    "inf", "-inf", "infinity", "1e400", "2.5x", " 2.5", "2,5", ".", "1e99999999999999999999",
      "0.001e312", "1e-400x"};
  for (const char* text : rejectedNumbers) EXPECT_FALSE(ParseDouble(text).has_value()) << '"' << text << '"';
  const std::string tinyPlain = "0." + std::string(400, '0') + "1";
  for (const std::string& text : {std::string("1e-400"), std::string("+123e-330"), std::string("1000e-327"),
                                  std::string("1e-99999999999999999999"), tinyPlain}) {
    EXPECT_EQ(ParseDouble(text), 0.0) << text << " is too small for a double: zero";
  }
  EXPECT_TRUE(std::signbit(*ParseDouble("-1e-400"))) << "keeps its sign";
  EXPECT_FALSE(ParseFloat32("1e39").has_value()) << "beyond the float range";
  EXPECT_EQ(ParseFloat32("-1e-50"), 0.0F) << "too small for a float";
  EXPECT_FALSE(ParseFloat32("nan").has_value());
}

}  // namespace
