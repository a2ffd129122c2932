#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimulatedBench.h"
#include "adc/UnitSetup.h"

namespace {

AdUnitSetting Setting(std::uint8_t sinc3, std::uint8_t buf_on, std::uint8_t chop_on) {
  AdUnitSetting setting;
  setting.sinc3 = sinc3;
  setting.buf_on = buf_on;
  setting.chop_on = chop_on;
  return setting;
}

// The last command line written, or empty when none was.
std::string LastLine(const std::vector<std::string>& wire) {
  for (auto entry = wire.rbegin(); entry != wire.rend(); ++entry) {
    if (*entry != "Purge") return *entry;
  }
  return {};
}

TEST(UnitSetup, SendsTheSettingsInOrderAndIdentifiesTheUnit) {
  SimulatedBench bench("version=1.23");
  AdUnitSetting setting = Setting(1, 1, 0);
  setting.spsSel = 12;
  setting.GainSel = 5;
  const UnitSetupResult result = RunUnitSetup(bench.adc, setting);
  ASSERT_TRUE(result.Ok()) << SetupStepName(result.failedStep);
  EXPECT_EQ(result.unitName, "QT4418PX");
  EXPECT_EQ(result.version, "1.23");
  EXPECT_EQ(result.description, "4.8ksps x128, ");
  const std::vector<std::string> wire = {"Purge", "Purge", "Purge", "?\r",   "Purge", "S3\r",
                                         "Purge", "SB1\r", "Purge", "SC0\r", "Purge", "FC\r",
                                         "Purge", "SG5\r", "Purge", "U?\r",  "Purge", "V?\r"};
  EXPECT_EQ(bench.tap.wire, wire);
  EXPECT_EQ(bench.unit->Firmware().Setting(), (ConverterSetting{12, 5, true, true, false}));
  EXPECT_TRUE(bench.adc.IsOpen());
}

TEST(UnitSetup, EachFaultEndsTheSequenceAtItsStep) {
  struct Row {
    const char* config;
    AdUnitSetting setting;
    SetupStep failed;
    bool linkOpen;
    const char* lastCommand;  // the last line written
  };
  const std::vector<Row> rows = {
      {"fault=absent", Setting(0, 0, 0), SetupStep::OpenUnit, false, nullptr},
      {"fault=silent", Setting(0, 0, 0), SetupStep::CheckUnit, false, "?\r"},
      {"fault=ng:?", Setting(0, 0, 0), SetupStep::CheckUnit, false, "?\r"},
      {"fault=ng:S3", Setting(1, 0, 0), SetupStep::Filter, true, "S3\r"},
      {"fault=ng:S4", Setting(0, 0, 0), SetupStep::Filter, true, "S4\r"},
      {"fault=ng:S3", Setting(0, 0, 0), SetupStep::None, true, "V?\r"},
      {"fault=ng:SB0", Setting(0, 0, 0), SetupStep::Buffer, true, "SB0\r"},
      {"fault=ng:SB1", Setting(0, 1, 0), SetupStep::Buffer, true, "SB1\r"},
      {"fault=ng:SC0", Setting(0, 0, 0), SetupStep::Chop, true, "SC0\r"},
      {"fault=ng:SC1", Setting(0, 0, 1), SetupStep::Chop, true, "SC1\r"},
      {"fault=ng:FC", Setting(0, 0, 0), SetupStep::DataRate, true, "FC\r"},
      {"fault=ng:SG5", Setting(0, 0, 0), SetupStep::Gain, true, "SG5\r"},
      {"fault=ng:U?", Setting(0, 0, 0), SetupStep::UnitName, true, "U?\r"},
      {"name=QT4418PY", Setting(0, 0, 0), SetupStep::UnitName, true, "U?\r"},
      {"name=QT4418PX ", Setting(0, 0, 0), SetupStep::UnitName, true, "U?\r"},
      {"name=QT4418", Setting(0, 0, 0), SetupStep::UnitName, true, "U?\r"},
      {"fault=ng:V?", Setting(0, 0, 0), SetupStep::Version, true, "V?\r"},
      {"fault=short", Setting(0, 0, 0), SetupStep::None, true, "V?\r"},
      {"fault=burst:1", Setting(0, 0, 0), SetupStep::None, true, "V?\r"},
  };
  for (const Row& row : rows) {
    SimulatedBench bench(row.config);
    const UnitSetupResult result = RunUnitSetup(bench.adc, row.setting);
    EXPECT_EQ(result.failedStep, row.failed) << row.config << " failed at " << SetupStepName(result.failedStep);
    EXPECT_EQ(bench.adc.IsOpen(), row.linkOpen) << row.config;
    EXPECT_EQ(LastLine(bench.tap.wire), row.lastCommand == nullptr ? "" : row.lastCommand) << row.config;
  }
}

TEST(UnitSetup, DescriptionGrowsWithTheStepsThatSucceeded) {
  AdUnitSetting setting = Setting(0, 0, 0);
  setting.spsSel = 10;
  setting.GainSel = 0;
  SimulatedBench refusedGain("fault=ng:SG0");
  EXPECT_EQ(RunUnitSetup(refusedGain.adc, setting).description, "1.2ksps");
  SimulatedBench wrongName("name=OTHER");
  const UnitSetupResult result = RunUnitSetup(wrongName.adc, setting);
  EXPECT_EQ(result.description, "1.2ksps x1, ");
  EXPECT_EQ(result.unitName, "OTHER") << "shown by callers that explain the refusal";
}

TEST(UnitSetup, ReusesAnOpenLinkAndDiscardsStaleRecords) {
  SimulatedBench bench("");
  ASSERT_TRUE(RunUnitSetup(bench.adc, Setting(0, 0, 0)).Ok());
  ASSERT_TRUE(bench.adc.StartAcquisition(0, 0));
  bench.clock.Advance(std::chrono::seconds{1});
  std::uint32_t queued = 0;
  ASSERT_EQ(bench.unit->GetQueueStatus(queued), FT_OK);
  EXPECT_GT(queued, 0U);
  ASSERT_TRUE(bench.adc.StopAcquisition());
  EXPECT_TRUE(RunUnitSetup(bench.adc, Setting(0, 0, 0)).Ok()) << "stale records are purged before the commands";
}

}  // namespace
