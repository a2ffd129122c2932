#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "drivers/SimConfigFor.h"
#include "drivers/UnitFirmware.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using std::chrono::seconds;

// Sends one line at time now and returns what came back.
std::string Send(UnitFirmware& unit, const std::string& line, nanoseconds now = nanoseconds{0}) {
  std::string out;
  unit.Receive(line + "\r", now, out);
  return out;
}

TEST(UnitFirmware, AnswersEveryCommand) {
  UnitFirmware unit(Config("name=QT4418PX,version=V9"));
  struct Row {
    const char* line;
    const char* reply;
  };
  const std::vector<Row> rows = {
      {"?", "OK\r"},        {"S3", "OK\r"},   {"S4", "OK\r"},       {"SB0", "OK\r"},      {"SB1", "OK\r"},
      {"SC0", "OK\r"},      {"SC1", "OK\r"},  {"F0", "OK\r"},       {"F9", "OK\r"},       {"FC", "OK\r"},
      {"SG0", "OK\r"},      {"SG5", "OK\r"},  {"U?", "QT4418PX\r"}, {"V?", "V9\r"},       {"AX", ""},
      {"FD", "NG\r"},       {"Fc", "NG\r"},   {"F", "NG\r"},        {"F10", "NG\r"},      {"SG6", "NG\r"},
      {"SG", "NG\r"},       {"S5", "NG\r"},   {"SB2", "NG\r"},      {"", "NG\r"},         {"hello", "NG\r"},
      {"A2000010", "NG\r"}, {"A000", "NG\r"}, {"A00000G", "NG\r"},  {"A0000001", "NG\r"},
  };
  for (const Row& row : rows) EXPECT_EQ(Send(unit, row.line), row.reply) << row.line;
}

TEST(UnitFirmware, SettingsCommandsSelectTheConverterSetting) {
  UnitFirmware unit(Config(""));
  for (const char* line : {"S3", "SB1", "SC1", "FB", "SG2"}) Send(unit, line);
  EXPECT_EQ(unit.Setting(), (ConverterSetting{11, 2, true, true, true}));
}

TEST(UnitFirmware, LinesMaySpanSeveralTransfersAndLineFeedsAreIgnored) {
  UnitFirmware unit(Config(""));
  std::string out;
  unit.Receive("S", nanoseconds{0}, out);
  unit.Receive("G3\r\n?", nanoseconds{0}, out);
  unit.Receive("\r", nanoseconds{0}, out);
  EXPECT_EQ(out, "OK\rOK\r");
  EXPECT_EQ(Send(unit, std::string(100, 'S')), "NG\r") << "an overlong line is refused";
  EXPECT_EQ(Send(unit, "?"), "OK\r") << "and the next line is read afresh";
}

TEST(UnitFirmware, StreamsTheRequestedRecordsOnTime) {
  UnitFirmware unit(Config("ch0=dc:0,noise=off"));
  Send(unit, "FC");                      // 4800 per second
  EXPECT_EQ(Send(unit, "A000003"), "");  // no reply to a start
  EXPECT_TRUE(unit.Streaming());
  std::string out;
  unit.Advance(nanoseconds{208'333}, out);  // just before 1/4800 s
  EXPECT_EQ(out, "");
  unit.Advance(nanoseconds{208'334}, out);
  EXPECT_EQ(out, "800000\r");
  EXPECT_EQ(Send(unit, "?", nanoseconds{300'000}), "") << "ignored while streaming";
  out.clear();
  unit.Advance(milliseconds{1}, out);
  EXPECT_EQ(out, "800000\r800000\r");
  EXPECT_FALSE(unit.Streaming()) << "the third record was the last";
  EXPECT_EQ(Send(unit, "?", milliseconds{2}), "OK\r");
}

TEST(UnitFirmware, CountZeroStreamsUntilStoppedAndStopActsAtOnce) {
  UnitFirmware unit(Config("ch1=dc:1.25,noise=off"));
  Send(unit, "F0");   // 5 per second
  Send(unit, "SG0");  // gain 1
  Send(unit, "A100000");
  std::string out;
  unit.Advance(seconds{100}, out);
  EXPECT_EQ(out.size(), 500U * 7);
  EXPECT_EQ(out.substr(0, 7), "C00000\r") << "1.25 V at gain 1 is three quarters of the range";
  EXPECT_EQ(Send(unit, "AX", nanoseconds{100'100'000'000}), "");
  EXPECT_FALSE(unit.Streaming());
  out.clear();
  unit.Advance(seconds{200}, out);
  EXPECT_EQ(out, "") << "nothing after the stop";
  EXPECT_EQ(unit.RecordsSent(), 500U);
}

TEST(UnitFirmware, RecordsDueAreExactOverLongRuns) {
  // 960 per second has no whole-nanosecond period; slicing time in odd steps must
  // still give floor(elapsed × rate) records at every moment.
  UnitFirmware unit(Config("ch0=dc:0,noise=off"));
  Send(unit, "F9");
  Send(unit, "A000000");
  std::string out;
  constexpr std::int64_t kStep = 777'777;  // ns
  for (std::int64_t now = kStep; now < 100'000'000'000; now += kStep * 129) {
    unit.Advance(nanoseconds{now}, out);
    ASSERT_EQ(out.size() / 7, static_cast<std::size_t>(now * 960 / 1'000'000'000)) << now;
  }
  EXPECT_GT(unit.RecordsSent(), 95'000U);
}

TEST(UnitFirmware, DueTimeMakesExactlyThatManyRecordsDue) {
  UnitFirmware unit(Config("ch0=dc:0,noise=off"));
  Send(unit, "F4");  // 60 per second
  Send(unit, "A000000", milliseconds{5});
  std::string out;
  unit.Advance(unit.DueTime(32) - nanoseconds{1}, out);
  EXPECT_EQ(out.size(), 31U * 7);
  unit.Advance(unit.DueTime(1), out);
  EXPECT_EQ(out.size(), 32U * 7);
}

TEST(UnitFirmware, Faults) {
  UnitFirmware silent(Config("fault=silent"));
  EXPECT_EQ(Send(silent, "?"), "");
  EXPECT_EQ(Send(silent, "A000010"), "");
  EXPECT_FALSE(silent.Streaming());

  UnitFirmware refusing(Config("fault=ng:SG5"));
  EXPECT_EQ(Send(refusing, "SG5"), "NG\r");
  EXPECT_EQ(Send(refusing, "SG4"), "OK\r");

  UnitFirmware renamed(Config("name=QT4418PY,version=2.0"));
  EXPECT_EQ(Send(renamed, "U?"), "QT4418PY\r");
  EXPECT_EQ(Send(renamed, "V?"), "2.0\r");

  UnitFirmware garbling(Config("ch0=dc:0,noise=off,fault=garble@2"));
  Send(garbling, "FC");
  Send(garbling, "A000004");
  std::string out;
  garbling.Advance(seconds{1}, out);
  EXPECT_EQ(out, "800000\r800000\r800000800000\r") << "the third record lacks its CR";

  UnitFirmware unplugging(Config("ch0=dc:0,noise=off,fault=unplug@3"));
  Send(unplugging, "FC");
  Send(unplugging, "A000010");
  out.clear();
  unplugging.Advance(seconds{1}, out);
  EXPECT_EQ(out.size(), 3U * 7);
  EXPECT_TRUE(unplugging.Unplugged());
  EXPECT_EQ(Send(unplugging, "?", seconds{2}), "") << "an unplugged unit says nothing";
}

TEST(UnitFirmware, SameSeedSameNoiseOtherSeedOtherNoise) {
  const auto stream = [](const std::string& config) {
    UnitFirmware unit(Config(config));
    Send(unit, "FC");
    Send(unit, "A000100");
    std::string out;
    unit.Advance(seconds{1}, out);
    return out;
  };
  const std::string first = stream("ch0=dc:0+white:1e-6,seed=5");
  EXPECT_EQ(first, stream("ch0=dc:0+white:1e-6,seed=5"));
  EXPECT_NE(first, stream("ch0=dc:0+white:1e-6,seed=6"));
  EXPECT_NE(first, stream("ch0=dc:0+white:1e-6,seed=5,noise=off"));
}

}  // namespace
