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

DeviceSpec DefaultDeviceSpec() { return {LibFtdiBuiltIn() ? DeviceBackend::kLibFtdi : DeviceBackend::kTty, {}}; }

DeviceSpecResult ParseDeviceSpec(std::string_view value) {
  if (value.empty()) return {DefaultDeviceSpec(), {}};
  const std::size_t separator = value.find(kPathSeparator);
  const std::string_view name = value.substr(0, separator);
  const bool hasPath = separator != std::string_view::npos;
  if (name == kLibFtdiName) {
    if (hasPath) return Refuse("--device=libftdi takes no path; a terminal path goes with --device=tty:PATH");
    if (!LibFtdiBuiltIn()) return Refuse("this build has no libftdi1 support; use --device=tty or --device=tty:PATH");
    return {DeviceSpec{DeviceBackend::kLibFtdi, {}}, {}};
  }
  if (name == kTtyName) {
    const std::string_view path = hasPath ? value.substr(separator + 1) : std::string_view{};
    if (hasPath && path.empty())
      return Refuse("--device=tty: needs a terminal path, for example --device=tty:/dev/ttyUSB0");
    return {DeviceSpec{DeviceBackend::kTty, std::filesystem::path(path)}, {}};
  }
  return Refuse("unknown device \"" + std::string(value) +
                "\"; use --device=libftdi, --device=tty or --device=tty:PATH");
}

std::unique_ptr<D2xx> MakeRealUnitDriver(const DeviceSpec& device, DriverLog log) {
  std::unique_ptr<ByteSource> source;
  if (device.backend == DeviceBackend::kLibFtdi) {
#if ZEMTRA_HAVE_LIBFTDI
    source = std::make_unique<LibFtdiSource>(log);
#else
    log("libftdi1 support is not built in; using the kernel's USB serial driver");
#endif
  }
  if (!source) source = std::make_unique<TtySource>(device.ttyPath, log);
  return std::make_unique<BufferedD2xx>(std::move(source), std::move(log));
}
