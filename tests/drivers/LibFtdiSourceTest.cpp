#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drivers/LibFtdiSource.h"

namespace {

TEST(LibFtdiSourceTest, LooksForTheFtdiFifoChipsInOrder) {
  EXPECT_EQ(kFtdiVendorId, 0x0403);
  EXPECT_EQ(kFtdiProductIds, (std::array<std::uint16_t, 5>{0x6001, 0x6010, 0x6011, 0x6014, 0x6015}));
  EXPECT_EQ(LibFtdiIdList(), "0403:6001, 0403:6010, 0403:6011, 0403:6014, 0403:6015");
}

TEST(LibFtdiSourceTest, MapsLibFtdiReturnCodesToStatuses) {
  struct Row {
    LibFtdiStep step;
    int code;
    FT_STATUS expected;
    const char* reason;
  };
  const Row rows[] = {
      {LibFtdiStep::kIo, 0, FT_OK, "zero is success"},
      {LibFtdiStep::kIo, 4096, FT_OK, "a byte count is success"},
      {LibFtdiStep::kFind, -5, FT_OTHER_ERROR, "USB devices cannot be listed"},
      {LibFtdiStep::kOpen, -4, FT_DEVICE_NOT_OPENED, "found but libusb cannot open it (permissions)"},
      {LibFtdiStep::kOpen, -5, FT_DEVICE_NOT_OPENED, "found but claimed by another program"},
      {LibFtdiStep::kOpen, -8, FT_DEVICE_NOT_OPENED, "found, inappropriate permissions"},
      {LibFtdiStep::kIo, -1, FT_IO_ERROR, "a transfer failed"},
      {LibFtdiStep::kIo, -666, FT_INVALID_HANDLE, "no device open on the context"},
  };
  for (const Row& row : rows) EXPECT_EQ(LibFtdiStatus(row.step, row.code), row.expected) << row.reason;
}

TEST(LibFtdiSourceTest, WithoutADeviceOpenReportsNotFoundAndLogsWhatItLookedFor) {
  std::vector<std::string> log;
  LibFtdiSource source("", [&](std::string_view line) { log.emplace_back(line); });
  const FT_STATUS status = source.Open();
  if (status == FT_OTHER_ERROR) GTEST_SKIP() << "libusb cannot be initialised here";
  ASSERT_EQ(status, FT_DEVICE_NOT_FOUND) << "an FTDI device is attached to this machine?";
  ASSERT_FALSE(log.empty());
  EXPECT_NE(log.back().find(std::string(LibFtdiIdList())), std::string::npos);

  std::array<std::uint8_t, 8> buffer{};
  std::size_t got = 0;
  EXPECT_EQ(source.ReadSome(buffer, got), FT_INVALID_HANDLE);
  EXPECT_EQ(source.Write(buffer), FT_INVALID_HANDLE);
  EXPECT_EQ(source.Flush(true, true), FT_INVALID_HANDLE);
  source.Close();
}

}  // namespace
