// The real unit on Windows: the unit vendor's driver library, loaded when the device
// is opened, so the program starts and simulates without it. Its seven calls are the
// driver contract itself; the library keeps the receive queue, so no buffering of
// our own is needed.
#pragma once

#include <memory>
#include <string>

#include "drivers/D2xx.h"
#include "drivers/DriverLog.h"

// The library's file name, as the vendor's driver package installs it.
inline constexpr const char* kVendorLibraryName = "FTD2XX.DLL";

class VendorLibraryD2xx : public D2xx {
 public:
  // library: the file to load (the default is found on the system's search path).
  explicit VendorLibraryD2xx(DriverLog log, std::string library = kVendorLibraryName);
  ~VendorLibraryD2xx() override;
  VendorLibraryD2xx(const VendorLibraryD2xx&) = delete;
  VendorLibraryD2xx& operator=(const VendorLibraryD2xx&) = delete;

  // Loads the library (once) and opens device index 0.
  FT_STATUS Open() override;
  FT_STATUS Close() override;
  FT_STATUS SetUSBParameters(std::uint32_t inTransferSize, std::uint32_t outTransferSize) override;
  FT_STATUS Purge(std::uint32_t mask) override;
  FT_STATUS Write(const void* bytes, std::uint32_t n, std::uint32_t& written) override;
  FT_STATUS GetQueueStatus(std::uint32_t& queued) override;
  FT_STATUS Read(void* buffer, std::uint32_t n, std::uint32_t& read) override;

 private:
  struct Library;
  // The failing status logged with the call's name.
  FT_STATUS Checked(const char* call, FT_STATUS status) const;

  DriverLog log_;
  std::string libraryName_;
  std::unique_ptr<Library> library_;  // loaded on the first Open that finds it
  void* handle_ = nullptr;            // the open device; none while closed
};
