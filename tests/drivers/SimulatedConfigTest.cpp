#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drivers/SimulatedConfig.h"

namespace {

TEST(SimulatedConfig, EmptyIsTheDemonstration) {
  std::string error;
  const std::optional<SimConfig> config = ParseSimulatedConfig("", error);
  ASSERT_TRUE(config) << error;
  EXPECT_EQ(*config, DemoSimulatedConfig());
  EXPECT_EQ(config->clock, SimClockKind::Real);
  EXPECT_TRUE(config->converterNoise);
  EXPECT_EQ(config->name, "QT4418PX");
  EXPECT_EQ(config->fault.kind, FaultKind::None);
  EXPECT_GE(config->channels[0].size(), 2U) << "the demonstration shows a real signal";
}

TEST(SimulatedConfig, ItemsApplyOverTheDemonstrationAndLaterOnesWin) {
  std::string error;
  const std::optional<SimConfig> config = ParseSimulatedConfig(
      "ch0=dc:1e-3+sine:1e+3:2.5E-3+white:1e-6+hum:2e-4+flicker:1e-7,seed=7,clock=virtual,noise=off,seed=9,"
      "name=QT4418PX ,version=X 2,fault=ng:SG5",
      error);
  ASSERT_TRUE(config) << error;
  const ChannelSignal expected = {{SignalKind::Dc, 0.0, 1e-3},
                                  {SignalKind::Sine, 1000.0, 2.5e-3},
                                  {SignalKind::White, 0.0, 1e-6},
                                  {SignalKind::Hum, 0.0, 2e-4},
                                  {SignalKind::Flicker, 0.0, 1e-7}};
  EXPECT_EQ(config->channels[0], expected) << "'+' inside an exponent is part of the number";
  EXPECT_EQ(config->channels[1], DemoSimulatedConfig().channels[1]) << "ch1 keeps the demonstration";
  EXPECT_EQ(config->seed, 9U);
  EXPECT_EQ(config->clock, SimClockKind::Virtual);
  EXPECT_FALSE(config->converterNoise);
  EXPECT_EQ(config->name, "QT4418PX ") << "kept exactly, blank included";
  EXPECT_EQ(config->version, "X 2");
  EXPECT_EQ(config->fault, (SimFault{FaultKind::Ng, "SG5", 0}));
}

TEST(SimulatedConfig, Faults) {
  struct Row {
    const char* text;
    SimFault fault;
  };
  const std::vector<Row> rows = {
      {"fault=absent", {FaultKind::Absent, "", 0}},       {"fault=silent", {FaultKind::Silent, "", 0}},
      {"fault=garble@100", {FaultKind::Garble, "", 100}}, {"fault=unplug@0", {FaultKind::Unplug, "", 0}},
      {"fault=short", {FaultKind::Short, "", 0}},         {"fault=burst:5", {FaultKind::Burst, "", 5}},
      {"fault=ng:U?", {FaultKind::Ng, "U?", 0}},          {"fault=silent,fault=none", {FaultKind::None, "", 0}},
  };
  for (const Row& row : rows) {
    std::string error;
    const std::optional<SimConfig> config = ParseSimulatedConfig(row.text, error);
    ASSERT_TRUE(config) << row.text << ": " << error;
    EXPECT_EQ(config->fault, row.fault) << row.text;
  }
}

TEST(SimulatedConfig, MalformedItemsAreNamed) {
  struct Row {
    const char* text;
    const char* badItem;
  };
  const std::vector<Row> rows = {
      {"ch0=dc:1,,seed=1", "\"\""},                                        // empty item
      {"seed", "\"seed\""},                                                // no value
      {"speed=3", "\"speed=3\""},                                          // unknown key
      {"ch2=dc:1", "\"ch2=dc:1\""},                                        // no such channel
      {"ch0=", "\"ch0=\""},                                                // no term
      {"ch0=dc:1+", "\"ch0=dc:1+\""},                                      // empty term
      {"ch0=square:1:2", "\"ch0=square:1:2\""},                            // unknown term
      {"ch0=sine:50", "\"ch0=sine:50\""},                                  // missing amplitude
      {"ch0=dc:1:2", "\"ch0=dc:1:2\""},                                    // too many fields
      {"ch0=dc:1V", "\"ch0=dc:1V\""},                                      // not a number
      {"ch0=dc:inf", "\"ch0=dc:inf\""},                                    // not finite
      {"ch0=sine:-5:1", "\"ch0=sine:-5:1\""},                              // negative frequency
      {"ch1=white:-1e-6", "\"ch1=white:-1e-6\""},                          // negative RMS
      {"ch0=dc:1e308+dc:1e308", "\"ch0=dc:1e308+dc:1e308\""},              // a sum beyond the doubles
      {"ch0=hum:1.5e308", "\"ch0=hum:1.5e308\""},                          // with its harmonics
      {"ch1=white:1e200+white:1e200", "\"ch1=white:1e200+white:1e200\""},  // in power
      {"ch1=white:1e308", "\"ch1=white:1e308\""},                          // at its largest draw
      {"ch1=flicker:-1e-7", "\"ch1=flicker:-1e-7\""},                      // negative density
      {"ch1=flicker:1e300", "\"ch1=flicker:1e300\""},                      // in power
      {"noise=on", "\"noise=on\""},
      {"seed=-1", "\"seed=-1\""},
      {"seed=12x", "\"seed=12x\""},
      {"clock=fast", "\"clock=fast\""},
      {"name=QT4418PX\t", "\"name=QT4418PX\t\""},                                      // not printable
      {"version=0123456789012345678901234", "\"version=0123456789012345678901234\""},  // 25 characters
      {"fault=broken", "\"fault=broken\""},
      {"fault=ng:", "\"fault=ng:\""},
      {"fault=ng:01234567890123456789", "\"fault=ng:01234567890123456789\""},  // 20 characters
      {"fault=garble@", "\"fault=garble@\""},
      {"fault=unplug@x", "\"fault=unplug@x\""},
      {"fault=burst:0", "\"fault=burst:0\""},
      {" seed=1", "\" seed=1\""},  // blanks are not trimmed
  };
  for (const Row& row : rows) {
    std::string error;
    EXPECT_FALSE(ParseSimulatedConfig(row.text, error)) << row.text;
    EXPECT_NE(error.find(row.badItem), std::string::npos) << row.text << " gave: " << error;
  }
}

}  // namespace
