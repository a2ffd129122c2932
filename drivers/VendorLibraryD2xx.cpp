#include "drivers/VendorLibraryD2xx.h"

#include <windows.h>

#include <cstdint>

namespace {

// The library's calls, as its header declares them (the handle is a pointer, the
// counts are 32-bit DWORDs).
using FtHandle = void*;
using OpenCall = FT_STATUS(WINAPI*)(int device, FtHandle* handle);
using CloseCall = FT_STATUS(WINAPI*)(FtHandle handle);
using ReadCall = FT_STATUS(WINAPI*)(FtHandle handle, void* buffer, DWORD n, DWORD* read);
using WriteCall = FT_STATUS(WINAPI*)(FtHandle handle, void* bytes, DWORD n, DWORD* written);
using PurgeCall = FT_STATUS(WINAPI*)(FtHandle handle, ULONG mask);
using QueueStatusCall = FT_STATUS(WINAPI*)(FtHandle handle, DWORD* queued);
using UsbParametersCall = FT_STATUS(WINAPI*)(FtHandle handle, ULONG inTransferSize, ULONG outTransferSize);

constexpr int kFirstDevice = 0;

// Looks a call up by name; the function pointer types differ, so the cast goes
// through the generic FARPROC.
template <typename Call>
bool Find(HMODULE module, const char* name, Call& call) {
  call = reinterpret_cast<Call>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
  return call != nullptr;
}

std::string SystemMessage(DWORD error) {
  char* text = nullptr;
  const DWORD n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = n > 0 && text != nullptr ? std::string(text, n) : "error " + std::to_string(error);
  ::LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
    message.pop_back();
  }
  return message;
}

}  // namespace

struct VendorLibraryD2xx::Library {
  HMODULE module = nullptr;
  OpenCall open = nullptr;
  CloseCall close = nullptr;
  ReadCall read = nullptr;
  WriteCall write = nullptr;
  PurgeCall purge = nullptr;
  QueueStatusCall queueStatus = nullptr;
  UsbParametersCall usbParameters = nullptr;

  ~Library() { ::FreeLibrary(module); }
};

VendorLibraryD2xx::VendorLibraryD2xx(DriverLog log, std::string library)
    : log_(std::move(log)), libraryName_(std::move(library)) {}

VendorLibraryD2xx::~VendorLibraryD2xx() { Close(); }

FT_STATUS VendorLibraryD2xx::Checked(const char* call, FT_STATUS status) const {
  if (status != FT_OK && log_) log_(std::string(call) + " failed with status " + std::to_string(status));
  return status;
}

FT_STATUS VendorLibraryD2xx::Open() {
  if (handle_ != nullptr) return FT_OK;
  if (!library_) {
    auto library = std::make_unique<Library>();
    library->module = ::LoadLibraryA(libraryName_.c_str());
    if (library->module == nullptr) {
      if (log_) {
        log_("cannot load " + libraryName_ + " (" + SystemMessage(::GetLastError()) +
             "); it comes with the converter unit's USB driver package from the unit's vendor: install that");
      }
      return FT_DEVICE_NOT_FOUND;
    }
    Library& l = *library;
    if (!Find(l.module, "FT_Open", l.open) || !Find(l.module, "FT_Close", l.close) ||
        !Find(l.module, "FT_Read", l.read) || !Find(l.module, "FT_Write", l.write) ||
        !Find(l.module, "FT_Purge", l.purge) || !Find(l.module, "FT_GetQueueStatus", l.queueStatus) ||
        !Find(l.module, "FT_SetUSBParameters", l.usbParameters)) {
      if (log_) log_(libraryName_ + " lacks one of the driver calls the program needs; install the unit vendor's driver package");
      return FT_OTHER_ERROR;
    }
    library_ = std::move(library);
  }
  FtHandle handle = nullptr;
  const FT_STATUS status = Checked("FT_Open", library_->open(kFirstDevice, &handle));
  if (status == FT_OK) handle_ = handle;
  return status;
}

FT_STATUS VendorLibraryD2xx::Close() {
  if (handle_ == nullptr) return FT_INVALID_HANDLE;
  const FT_STATUS status = Checked("FT_Close", library_->close(handle_));
  handle_ = nullptr;  // a failed close leaves nothing to use either
  return status;
}

FT_STATUS VendorLibraryD2xx::SetUSBParameters(std::uint32_t inTransferSize, std::uint32_t outTransferSize) {
  if (handle_ == nullptr) return FT_INVALID_HANDLE;
  return Checked("FT_SetUSBParameters", library_->usbParameters(handle_, inTransferSize, outTransferSize));
}

FT_STATUS VendorLibraryD2xx::Purge(std::uint32_t mask) {
  if (handle_ == nullptr) return FT_INVALID_HANDLE;
  return Checked("FT_Purge", library_->purge(handle_, mask));
}

FT_STATUS VendorLibraryD2xx::Write(const void* bytes, std::uint32_t n, std::uint32_t& written) {
  written = 0;
  if (handle_ == nullptr) return FT_INVALID_HANDLE;
  DWORD count = 0;
  // The library's declaration takes a non-const buffer; it only reads it.
  const FT_STATUS status = Checked("FT_Write", library_->write(handle_, const_cast<void*>(bytes), n, &count));
  written = count;
  return status;
}

FT_STATUS VendorLibraryD2xx::GetQueueStatus(std::uint32_t& queued) {
  queued = 0;
  if (handle_ == nullptr) return FT_INVALID_HANDLE;
  DWORD count = 0;
  const FT_STATUS status = Checked("FT_GetQueueStatus", library_->queueStatus(handle_, &count));
  queued = count;
  return status;
}

FT_STATUS VendorLibraryD2xx::Read(void* buffer, std::uint32_t n, std::uint32_t& read) {
  read = 0;
  if (handle_ == nullptr) return FT_INVALID_HANDLE;
  DWORD count = 0;
  const FT_STATUS status = Checked("FT_Read", library_->read(handle_, buffer, n, &count));
  // A misbehaving driver never makes the caller believe more arrived than asked.
  read = count <= n ? count : n;
  return status;
}
