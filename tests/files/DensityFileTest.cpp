#include <gtest/gtest.h>

#include <vector>

#include "FileTestSupport.h"
#include "files/DensityFile.h"
#include "ui/NumberFormat.h"

namespace {

TEST(DensityFile, OneLinePerLineAboveDcAtFullPrecision) {
  const std::vector<double> density{5.0, 2.0412414523193151e-08, 1e-300, 0.1 + 0.2};
  const double deltaF = 4800.0 / 65536;
  const auto lines = SplitCrLf(DensityCsv(density, deltaF));
  const std::vector<std::string> expected = {"frequency_Hz,density_V/rtHz", "0.0732421875,2.041241452319315e-08",
                                             "0.146484375,1e-300", "0.2197265625,0.30000000000000004"};
  EXPECT_EQ(lines, expected) << "no DC line; every value reads back exactly";
  EXPECT_EQ(*ParseDouble("2.041241452319315e-08"), density[1]);
  EXPECT_EQ(SplitCrLf(DensityCsv(std::vector<double>{1.0}, 1.0)).size(), 1U) << "the header alone";
}

}  // namespace
