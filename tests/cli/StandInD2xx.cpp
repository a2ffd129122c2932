// A stand-in for the unit vendor's driver library, for the tests of the Windows
// backend: the seven calls of the driver contract, exported by their names with the
// library's calling convention, answering as the simulated unit does. The unit it
// plays is the CONFIG of --simulate (faults included) in the environment variable
// ZEMTRA_STAND_IN_UNIT when the device is opened; it is built as FTD2XX.dll beside
// the tests, where the backend's LoadLibrary finds it first.
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "drivers/D2xx.h"
#include "drivers/SimulatedConfig.h"
#include "drivers/SimulatedUnit.h"

namespace {

constexpr const char* kUnitVariable = "ZEMTRA_STAND_IN_UNIT";
constexpr DWORD kLongestConfig = 4096;

std::unique_ptr<SimulatedUnit> gUnit;  // the open device; one at a time, as the unit has one port

std::string ConfigText() {
  std::array<char, kLongestConfig> text{};
  const DWORD n = ::GetEnvironmentVariableA(kUnitVariable, text.data(), kLongestConfig);
  return n > 0 && n < kLongestConfig ? std::string(text.data(), n) : std::string();
}

SimulatedUnit* UnitOf(void* handle) { return handle != nullptr && handle == gUnit.get() ? gUnit.get() : nullptr; }

}  // namespace

extern "C" {

__declspec(dllexport) FT_STATUS WINAPI FT_Open(int device, void** handle) {
  if (handle == nullptr) return FT_INVALID_PARAMETER;
  *handle = nullptr;
  if (device != 0) return FT_DEVICE_NOT_FOUND;
  if (gUnit) return FT_DEVICE_NOT_OPENED;  // in use
  std::string error;
  const auto config = ParseSimulatedConfig(ConfigText(), error);
  if (!config) return FT_OTHER_ERROR;
  auto unit = std::make_unique<SimulatedUnit>(*config);
  if (const FT_STATUS status = unit->Open(); status != FT_OK) return status;
  gUnit = std::move(unit);
  *handle = gUnit.get();
  return FT_OK;
}

__declspec(dllexport) FT_STATUS WINAPI FT_Close(void* handle) {
  SimulatedUnit* unit = UnitOf(handle);
  if (unit == nullptr) return FT_INVALID_HANDLE;
  const FT_STATUS status = unit->Close();
  gUnit.reset();
  return status;
}

__declspec(dllexport) FT_STATUS WINAPI FT_Read(void* handle, void* buffer, DWORD n, DWORD* read) {
  SimulatedUnit* unit = UnitOf(handle);
  if (unit == nullptr || read == nullptr) return FT_INVALID_HANDLE;
  std::uint32_t count = 0;
  const FT_STATUS status = unit->Read(buffer, n, count);
  *read = count;
  return status;
}

__declspec(dllexport) FT_STATUS WINAPI FT_Write(void* handle, void* bytes, DWORD n, DWORD* written) {
  SimulatedUnit* unit = UnitOf(handle);
  if (unit == nullptr || written == nullptr) return FT_INVALID_HANDLE;
  std::uint32_t count = 0;
  const FT_STATUS status = unit->Write(bytes, n, count);
  *written = count;
  return status;
}

__declspec(dllexport) FT_STATUS WINAPI FT_Purge(void* handle, ULONG mask) {
  SimulatedUnit* unit = UnitOf(handle);
  return unit == nullptr ? FT_INVALID_HANDLE : unit->Purge(mask);
}

__declspec(dllexport) FT_STATUS WINAPI FT_GetQueueStatus(void* handle, DWORD* queued) {
  SimulatedUnit* unit = UnitOf(handle);
  if (unit == nullptr || queued == nullptr) return FT_INVALID_HANDLE;
  std::uint32_t count = 0;
  const FT_STATUS status = unit->GetQueueStatus(count);
  *queued = count;
  return status;
}

__declspec(dllexport) FT_STATUS WINAPI FT_SetUSBParameters(void* handle, ULONG inTransferSize, ULONG outTransferSize) {
  SimulatedUnit* unit = UnitOf(handle);
  return unit == nullptr ? FT_INVALID_HANDLE : unit->SetUSBParameters(inTransferSize, outTransferSize);
}

}  // extern "C"
