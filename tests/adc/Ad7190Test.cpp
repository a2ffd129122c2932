#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ScriptedDriver.h"
#include "SimulatedBench.h"
#include "adc/Ad7190.h"

namespace {

using Wire = std::vector<std::string>;

TEST(TADC, CommandLinesOnTheWire) {
  struct Row {
    const char* name;
    std::function<bool(TADC&)> call;
    Wire wire;
  };
  const std::vector<Row> rows = {
      {"CheckUnit", [](TADC& a) { return a.CheckUnit(); }, {"Purge", "?\r"}},
      {"SetSinc3", [](TADC& a) { return a.SetSinc3(); }, {"Purge", "S3\r"}},
      {"SetSinc4", [](TADC& a) { return a.SetSinc4(); }, {"Purge", "S4\r"}},
      {"BufferOff", [](TADC& a) { return a.BufferOff(); }, {"Purge", "SB0\r"}},
      {"BufferOn", [](TADC& a) { return a.BufferOn(); }, {"Purge", "SB1\r"}},
      {"ChopOff", [](TADC& a) { return a.ChopOff(); }, {"Purge", "SC0\r"}},
      {"ChopOn", [](TADC& a) { return a.ChopOn(); }, {"Purge", "SC1\r"}},
      {"SetDataRate 0", [](TADC& a) { return a.SetDataRate(0); }, {"Purge", "F0\r"}},
      {"SetDataRate 10", [](TADC& a) { return a.SetDataRate(10); }, {"Purge", "FA\r"}},
      {"SetDataRate 12", [](TADC& a) { return a.SetDataRate(12); }, {"Purge", "FC\r"}},
      {"SetGain 0", [](TADC& a) { return a.SetGain(0); }, {"Purge", "SG0\r"}},
      {"SetGain 5", [](TADC& a) { return a.SetGain(5); }, {"Purge", "SG5\r"}},
      {"ReadUnitName",
       [](TADC& a) {
         std::string t;
         return a.ReadUnitName(t);
       },
       {"Purge", "U?\r"}},
      {"ReadVersion",
       [](TADC& a) {
         std::string t;
         return a.ReadVersion(t);
       },
       {"Purge", "V?\r"}},
      {"StartAcquisition 1024", [](TADC& a) { return a.StartAcquisition(0, 1024); }, {"Purge", "A000400\r"}},
      {"StartAcquisition 65536 ch1", [](TADC& a) { return a.StartAcquisition(1, 65536); }, {"Purge", "A110000\r"}},
      {"StartAcquisition 0xFFFFF", [](TADC& a) { return a.StartAcquisition(0, 0xFFFFF); }, {"Purge", "A0FFFFF\r"}},
      {"StartAcquisition 1048576", [](TADC& a) { return a.StartAcquisition(0, 1048576); }, {"Purge", "A000000\r"}},
      {"StopAcquisition, no purge", [](TADC& a) { return a.StopAcquisition(); }, {"AX\r"}},
  };
  for (const Row& row : rows) {
    SimulatedBench bench("");
    ASSERT_TRUE(bench.adc.OpenUnit());
    EXPECT_EQ(bench.tap.wire, (Wire{"Purge", "Purge"})) << "open purges, and OpenUnit purges again";
    bench.tap.wire.clear();
    EXPECT_TRUE(row.call(bench.adc)) << row.name;
    EXPECT_EQ(bench.tap.wire, row.wire) << row.name;
  }
}

TEST(TADC, BadArgumentsAndAClosedLinkSendNothing) {
  SimulatedBench bench("");
  std::string text = "kept";
  std::array<std::int32_t, 32> codes{};
  std::uint32_t delivered = 7;
  EXPECT_FALSE(bench.adc.CheckUnit());
  EXPECT_FALSE(bench.adc.SetGain(0));
  EXPECT_FALSE(bench.adc.ReadUnitName(text));
  EXPECT_FALSE(bench.adc.StartAcquisition(0, 1024));
  EXPECT_FALSE(bench.adc.StopAcquisition());
  EXPECT_FALSE(bench.adc.ReadSamples(codes.data(), 1, delivered));
  EXPECT_EQ(delivered, 0U);
  EXPECT_EQ(text, "kept");
  EXPECT_TRUE(bench.tap.wire.empty()) << "closed link";

  ASSERT_TRUE(bench.adc.OpenUnit());
  bench.tap.wire.clear();
  EXPECT_FALSE(bench.adc.SetDataRate(13));
  EXPECT_FALSE(bench.adc.SetDataRate(-1));
  EXPECT_FALSE(bench.adc.SetGain(6));
  EXPECT_FALSE(bench.adc.StartAcquisition(2, 1024));
  EXPECT_FALSE(bench.adc.StartAcquisition(-1, 1024));
  EXPECT_FALSE(bench.adc.ReadSamples(codes.data(), 0, delivered));
  EXPECT_FALSE(bench.adc.ReadSamples(codes.data(), 33, delivered));
  EXPECT_TRUE(bench.tap.wire.empty()) << "bad arguments";
}

TEST(TADC, IdentificationReplies) {
  struct Row {
    const char* config;
    bool ok;
    std::string name;
  };
  const std::vector<Row> rows = {
      {"", true, "QT4418PX"},
      {"name=QT4418PX ", true, "QT4418PX "},
      {"name=QT4418PX-EXTENDED", true, "QT4418PX-E"},  // first 10 characters
      {"name=", true, ""},
      {"name=NOPE", false, ""},   // starts with N
      {"name=AGAIN", false, ""},  // G second
      {"fault=ng:U?", false, ""},
      {"fault=silent", false, ""},
  };
  for (const Row& row : rows) {
    SimulatedBench bench(row.config);
    ASSERT_TRUE(bench.adc.OpenUnit());
    std::string name;
    EXPECT_EQ(bench.adc.ReadUnitName(name), row.ok) << row.config;
    EXPECT_EQ(name, row.name) << row.config;
  }
  SimulatedBench versioned("version=2.10 beta");
  ASSERT_TRUE(versioned.adc.OpenUnit());
  std::string version;
  EXPECT_TRUE(versioned.adc.ReadVersion(version));
  EXPECT_EQ(version, "2.10 beta");
}

TEST(TADC, StopDuringAReplyWaitLeavesTheWaitItsTimeOut) {
  // The desktop window's pump runs its events, where the stop button lives.
  const struct {
    const char* name;
    std::function<bool(TADC&)> wait;
  } rows[] = {
      {"SendCommandOK", [](TADC& a) { return a.CheckUnit(); }},
      {"SendCommandReply",
       [](TADC& a) {
         std::string name;
         return a.ReadUnitName(name);
       }},
  };
  constexpr int kTurnsOfAnEndlessWait = 1000;
  for (const auto& row : rows) {
    SimulatedBench bench("fault=silent");
    ASSERT_TRUE(bench.adc.OpenUnit());
    bench.time.onPump = [&](int turn) {
      if (turn == 3) bench.adc.StopAcquisition();
      if (turn > kTurnsOfAnEndlessWait) throw std::runtime_error("the wait did not end");
    };
    bool ok = true;
    EXPECT_NO_THROW(ok = row.wait(bench.adc)) << row.name;
    EXPECT_FALSE(ok) << row.name;
    EXPECT_EQ(bench.time.pumps, 10) << row.name << ": still 100 ms at 10 ms a turn";
    EXPECT_EQ(bench.tap.wire.back(), "AX\r") << row.name << ": the stop went out";
  }
}

class ReadSamplesTest : public ::testing::Test {
 protected:
  ScriptedDriver driver;
  FakeTime time;
  TADC adc{driver, time.Pump(), time.Clock()};
  std::array<std::int32_t, 32> codes{};
  std::uint32_t delivered = 99;

  void SetUp() override { ASSERT_TRUE(adc.OpenUnit()); }
};

TEST_F(ReadSamplesTest, DecodesRecords) {
  driver.queued = "800000\r7FFFFF\r000001\rFFFFFF\rabcdef\r";
  EXPECT_TRUE(adc.ReadSamples(codes.data(), 5, delivered));
  EXPECT_EQ(delivered, 5U);
  EXPECT_EQ(codes[0], 8388608);
  EXPECT_EQ(codes[1], 8388607);
  EXPECT_EQ(codes[2], 1);
  EXPECT_EQ(codes[3], 16777215);
  EXPECT_EQ(codes[4], 0xABCDEF) << "lower-case digits are accepted";
}

TEST_F(ReadSamplesTest, WaitsUntilAllRecordsAreThere) {
  driver.queued = "800000\r800000\r800000\r800000\r";
  EXPECT_TRUE(adc.ReadSamples(codes.data(), 8, delivered));
  EXPECT_EQ(delivered, 0U);
  EXPECT_EQ(driver.queued.size(), 28U) << "nothing consumed";
  driver.queued += "800000\r800000\r800000\r800001\r";
  EXPECT_TRUE(adc.ReadSamples(codes.data(), 8, delivered));
  EXPECT_EQ(delivered, 8U);
  EXPECT_EQ(codes[7], 0x800001);
}

TEST_F(ReadSamplesTest, ThirtyTwoRecordsFitTheSampleArea) {
  for (int i = 0; i < 32; ++i) driver.queued += "123456\r";
  EXPECT_TRUE(adc.ReadSamples(codes.data(), 32, delivered));
  EXPECT_EQ(delivered, 32U);
  EXPECT_EQ(codes[31], 0x123456);
}

TEST_F(ReadSamplesTest, CorruptedRecordsFailTheCall) {
  struct Row {
    const char* reason;
    std::string bytes;
    std::uint32_t deliveredBefore;
  };
  const std::vector<Row> rows = {
      {"no CR in the first record", "8000000800000\r", 0},     {"no CR in the second record", "800000\r8000000", 1},
      {"not a hex digit, CR in place", "800000\r80G000\r", 1}, {"blank inside the code", " 80000\r800000\r", 0},
      {"line feed instead of CR", "800000\r800000\n", 1},
  };
  for (const Row& row : rows) {
    driver.queued = row.bytes;
    codes.fill(-1);
    EXPECT_FALSE(adc.ReadSamples(codes.data(), 2, delivered)) << row.reason;
    EXPECT_EQ(delivered, row.deliveredBefore) << row.reason;
    if (row.deliveredBefore > 0) {
      EXPECT_EQ(codes[0], 0x800000) << row.reason;
    }
    EXPECT_EQ(codes[row.deliveredBefore], -1) << row.reason;
  }
}

TEST_F(ReadSamplesTest, DriverFailureFailsTheCall) {
  driver.queued = "800000\r";
  driver.readStatus = FT_IO_ERROR;
  EXPECT_FALSE(adc.ReadSamples(codes.data(), 1, delivered));
  EXPECT_EQ(delivered, 0U);
}

TEST(TADC, ParseSampleRecordAndHexValue) {
  const auto parse = [](const char* text) {
    return TADC::ParseSampleRecord(reinterpret_cast<const std::uint8_t*>(text));
  };
  EXPECT_EQ(parse("800000\r"), 0x800000);
  EXPECT_EQ(parse("00000F\r"), 15);
  EXPECT_EQ(parse("Ff0000\r"), 0xFF0000);
  EXPECT_EQ(parse("80000g\r"), std::nullopt);
  EXPECT_EQ(TADC::HexValue('0'), 0);
  EXPECT_EQ(TADC::HexValue('9'), 9);
  EXPECT_EQ(TADC::HexValue('a'), 10);
  EXPECT_EQ(TADC::HexValue('F'), 15);
  for (const char c : {'G', 'g', '/', ':', '@', '`', ' ', '\r', '\0'}) EXPECT_EQ(TADC::HexValue(c), -1) << c;
}

}  // namespace
