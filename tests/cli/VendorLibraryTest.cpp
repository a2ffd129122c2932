// The real unit on Windows, end to end: zemtra-cli measure --device=d2xx through the
// backend that loads the vendor's driver library, here the stand-in FTD2XX.dll that
// answers as the simulated unit does; every failure of the measurement road comes
// through the library's status codes alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CaptureFile.h"
#include "ScratchState.h"
#include "TestPlatform.h"
#include "cli/Commands.h"
#include "drivers/VendorLibraryD2xx.h"
#include "files/FileTestSupport.h"

namespace {

constexpr const char* kUnitVariable = "ZEMTRA_STAND_IN_UNIT";

class VendorLibrary : public ::testing::Test {
 protected:
  // zemtra-cli measure with the stand-in playing the unit config describes.
  int Measure(const std::string& config, std::vector<std::string> extra = {}) {
    std::vector<std::string> args{"measure", "--device=d2xx", "--samples", "1024", "--out", Path("run.DTA")};
    args.insert(args.end(), extra.begin(), extra.end());
    return Run(config, args);
  }
  // A command with the stand-in playing the unit config describes.
  int Run(const std::string& config, const std::vector<std::string>& args) {
    SetEnvironment(kUnitVariable, config.empty() ? "clock=virtual" : "clock=virtual," + config);
    const CliParse parse = ParseCommandLine(args);
    EXPECT_EQ(parse.error, "");
    CaptureFile out;
    CaptureFile err;
    CliIo io;
    io.out = out.File();
    io.err = err.File();
    const int exit = RunCommand(parse.options, io);
    SetEnvironment(kUnitVariable, std::nullopt);
    report = out.Text();
    messages = err.Text();
    return exit;
  }
  std::string Path(const std::string& name) const { return (dir / name).string(); }

  TempDir dir;
  std::string report;    // stdout of the last run
  std::string messages;  // its stderr
};

TEST_F(VendorLibrary, AMeasurementRunsThroughTheLibrary) {
  ASSERT_EQ(Measure("noise=off,ch0=sine:1000:5e-3", {"--json"}), kExitOk) << messages;
  EXPECT_NE(report.find("\"unit_info\":\"QT4418PX/ SIM 1.00/ 4.8ksps x128, \""), std::string::npos) << report;
  EXPECT_NE(report.find("\"peak\":{\"bin\":213,"), std::string::npos) << "the 1 kHz tone is the largest line: " << report;
  const std::string data = ReadBytes(dir / "run.DTA");
  EXPECT_GT(data.size(), 1024U * 8U) << "every sample is written";

  // The same unit again: the device was closed, so it opens a second time.
  ASSERT_EQ(Measure("noise=off", {"--yes"}), kExitOk) << messages;
}

TEST_F(VendorLibrary, EveryFailureOfTheRoadComesThroughTheStatusCodes) {
  const struct {
    const char* config;
    int exit;
    const char* text;
  } rows[] = {
      {"fault=absent", kExitUnit, "QT4418PXが見つかりませんでした"},
      {"fault=silent", kExitUnit, "QT4418PXが応答しませんでした"},
      {"fault=ng:SG5", kExitUnit, "set-up failed at step 'gain'"},
      {"name=QT4418PY", kExitUnit, "set-up failed at step 'unit name'"},
      {"fault=garble@100", kExitRead, "計測エラーで終了"},
      {"fault=unplug@500", kExitRead, "計測エラーで終了"},
      {"fault=ng:A000400", kExitRead, "計測エラーで終了"},
      {"ch0=dc:0.03", kExitLevel, "入力信号レベルが適正範囲からはずれています"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Measure(r.config), r.exit) << r.config << "\n" << messages;
    EXPECT_NE(messages.find(r.text), std::string::npos) << r.config << "\n" << messages;
    EXPECT_FALSE(fs::exists(dir / "run.DTA")) << r.config;
  }
}

TEST_F(VendorLibrary, ScanNamesTheLibraryWhenItOpensTheUnit) {
  EXPECT_EQ(Run("", {"scan"}), kExitOk) << messages;
  EXPECT_EQ(report, "d2xx  the first device of FTD2XX.DLL\n");
  EXPECT_EQ(Run("fault=absent", {"scan"}), kExitUnit);
  EXPECT_EQ(report, "");
  EXPECT_NE(messages.find("FT_Open failed"), std::string::npos) << messages;
}

TEST(VendorLibraryMissing, TheErrorNamesTheLibraryAndWhereItComesFrom) {
  std::string logged;
  VendorLibraryD2xx driver([&logged](std::string_view line) { logged += std::string(line) + "\n"; },
                           "ZEMTRA-NO-SUCH-LIBRARY.DLL");
  EXPECT_EQ(driver.Open(), FT_DEVICE_NOT_FOUND);
  EXPECT_NE(logged.find("cannot load ZEMTRA-NO-SUCH-LIBRARY.DLL"), std::string::npos) << logged;
  EXPECT_NE(logged.find("driver package from the unit's vendor"), std::string::npos) << logged;
  std::uint32_t queued = 0;
  EXPECT_EQ(driver.GetQueueStatus(queued), FT_INVALID_HANDLE) << "nothing is open";
}

}  // namespace
