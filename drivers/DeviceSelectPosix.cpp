#include "drivers/DeviceSelect.h"

#include <utility>

#include "drivers/BufferedD2xx.h"
#include "drivers/TtySource.h"
#if ZEMTRA_HAVE_LIBFTDI
#include "drivers/LibFtdiSource.h"
#endif

namespace {

constexpr std::string_view kLibFtdiName = "libftdi";
constexpr std::string_view kTtyName = "tty";
constexpr char kPathSeparator = ':';

DeviceSpecResult Refuse(std::string error) { return {std::nullopt, std::move(error)}; }

}  // namespace

bool LibFtdiBuiltIn() {
#if ZEMTRA_HAVE_LIBFTDI
  return true;
#else
  return false;
#endif
}

const char* DeviceOptionSyntax() { return "libftdi[:SERIAL]|tty[:PATH]"; }

DeviceSpec DefaultDeviceSpec() { return {LibFtdiBuiltIn() ? DeviceBackend::kLibFtdi : DeviceBackend::kTty, {}, {}}; }

DeviceSpecResult ParseDeviceSpec(std::string_view value) {
  if (value.empty()) return {DefaultDeviceSpec(), {}};
  const std::size_t separator = value.find(kPathSeparator);
  const std::string_view name = value.substr(0, separator);
  const bool hasPath = separator != std::string_view::npos;
  const std::string_view after = hasPath ? value.substr(separator + 1) : std::string_view{};
  if (name == kLibFtdiName) {
    if (!LibFtdiBuiltIn()) return Refuse("this build has no libftdi1 support; use --device=tty or --device=tty:PATH");
    if (hasPath && after.empty())
      return Refuse(
          "--device=libftdi: needs a serial number, for example --device=libftdi:A50285BI (see zemtra-cli scan)");
    if (after.find('/') != std::string_view::npos)
      return Refuse("--device=libftdi:SERIAL takes a serial number; a terminal path goes with --device=tty:PATH");
    return {DeviceSpec{DeviceBackend::kLibFtdi, {}, std::string(after)}, {}};
  }
  if (name == kTtyName) {
    if (hasPath && after.empty())
      return Refuse("--device=tty: needs a terminal path, for example --device=tty:/dev/ttyUSB0");
    return {DeviceSpec{DeviceBackend::kTty, std::filesystem::path(after), {}}, {}};
  }
  return Refuse("unknown device \"" + std::string(value) +
                "\"; use --device=libftdi, --device=libftdi:SERIAL, --device=tty or --device=tty:PATH");
}

std::vector<FoundDevice> ScanDevices(const DriverLog& log) {
  std::vector<FoundDevice> found;
#if ZEMTRA_HAVE_LIBFTDI
  found = ListLibFtdiDevices(log);
#else
  (void)log;
#endif
  for (FoundDevice& tty : FindFtdiTtys(TtyRoots{})) found.push_back(std::move(tty));
  return found;
}

std::unique_ptr<D2xx> MakeRealUnitDriver(const DeviceSpec& device, DriverLog log) {
  std::unique_ptr<ByteSource> source;
  if (device.backend == DeviceBackend::kLibFtdi) {
#if ZEMTRA_HAVE_LIBFTDI
    source = std::make_unique<LibFtdiSource>(device.serial, log);
#else
    log("libftdi1 support is not built in; using the kernel's USB serial driver");
#endif
  }
  if (!source) source = std::make_unique<TtySource>(device.ttyPath, log);
  return std::make_unique<BufferedD2xx>(std::move(source), std::move(log));
}
