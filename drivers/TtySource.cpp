#include "drivers/TtySource.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTtyUsbPrefix = "ttyUSB";

// The number of a "ttyUSB<n>" name; none for other names.
std::optional<unsigned long> TtyUsbNumber(const std::string& name) {
  if (name.size() <= kTtyUsbPrefix.size() || !name.starts_with(kTtyUsbPrefix)) return std::nullopt;
  const std::string digits = name.substr(kTtyUsbPrefix.size());
  if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c) != 0; })) {
    return std::nullopt;
  }
  return std::stoul(digits);
}

// The nearest USB device (the directory with an idVendor) at or above dir in the sysfs tree.
std::optional<fs::path> UsbDeviceAbove(fs::path dir, const fs::path& sysfsRoot) {
  std::error_code error;
  const fs::path stop = fs::weakly_canonical(sysfsRoot, error);
  for (; !dir.empty() && dir != stop && dir != dir.root_path(); dir = dir.parent_path()) {
    if (fs::exists(dir / "idVendor", error)) return dir;
  }
  return std::nullopt;
}

// The first word of a sysfs attribute; empty when it is missing.
std::string Attribute(const fs::path& file) {
  std::ifstream in(file);
  std::string word;
  in >> word;
  return word;
}

// A four-digit hexadecimal USB id as sysfs writes it; 0 when unreadable.
std::uint16_t HexId(const std::string& text) {
  constexpr int kHex = 16;
  std::uint16_t id = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id, kHex);
  return error == std::errc() && end == text.data() + text.size() ? id : 0;
}

bool SameHexId(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

int PollMs(std::chrono::steady_clock::duration duration) {
  return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(duration).count());
}

}  // namespace

std::vector<FoundDevice> FindFtdiTtys(const TtyRoots& roots) {
  std::vector<std::pair<unsigned long, std::string>> candidates;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(roots.sysfs / "class" / "tty", error)) {
    const std::string name = entry.path().filename().string();
    if (const auto number = TtyUsbNumber(name)) candidates.emplace_back(*number, name);
  }
  std::sort(candidates.begin(), candidates.end());
  std::vector<FoundDevice> found;
  for (const auto& [number, name] : candidates) {
    const fs::path device = fs::canonical(roots.sysfs / "class" / "tty" / name / "device", error);
    if (error) continue;
    const auto usb = UsbDeviceAbove(device, roots.sysfs);
    if (!usb || !SameHexId(Attribute(*usb / "idVendor"), kFtdiVendorText)) continue;
    FoundDevice tty;
    tty.backend = DeviceBackend::kTty;
    tty.vendor = HexId(Attribute(*usb / "idVendor"));
    tty.product = HexId(Attribute(*usb / "idProduct"));
    tty.serial = Attribute(*usb / "serial");
    tty.tty = roots.dev / name;
    found.push_back(std::move(tty));
  }
  return found;
}

fs::path LatencyTimerAttribute(const TtyRoots& roots, const fs::path& ttyPath) {
  // A link such as /dev/serial/by-id/... names the terminal by its target.
  std::error_code error;
  fs::path resolved = fs::canonical(ttyPath, error);
  if (error) resolved = ttyPath;
  return roots.sysfs / "class" / "tty" / resolved.filename() / "device" / "latency_timer";
}

TtySource::TtySource(fs::path devicePath, DriverLog log, TtyRoots roots)
    : devicePath_(std::move(devicePath)), log_(std::move(log)), roots_(std::move(roots)) {}

FT_STATUS TtySource::Open() {
  Close();
  fs::path path = devicePath_;
  if (path.empty()) {
    const std::vector<FoundDevice> found = FindFtdiTtys(roots_);
    if (found.empty()) {
      log_("no USB serial terminal of an FTDI chip (vendor " + std::string(kFtdiVendorText) + ") found in " +
           (roots_.sysfs / "class" / "tty").string());
      return FT_DEVICE_NOT_FOUND;
    }
    const DeviceChoice choice = ChooseDevice(found, {});
    if (!choice.index) {
      log_(choice.error);
      return FT_DEVICE_NOT_FOUND;
    }
    path = found[*choice.index].tty;
  }
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd.Valid()) {
    const int error = errno;
    const bool absent = error == ENOENT || error == ENODEV || error == ENXIO;
    const FT_STATUS status = Fail(absent ? FT_DEVICE_NOT_FOUND : FT_DEVICE_NOT_OPENED, "cannot open ", path, error);
    if (error == EACCES) log_("the user needs read and write access to it, usually through the dialout group");
    return status;
  }
  termios settings{};
  if (::tcgetattr(fd.Get(), &settings) != 0) return Fail(FT_DEVICE_NOT_OPENED, "not a terminal: ", path, errno);
  // Keeps other programs from opening the unit while it is ours.
  if (::ioctl(fd.Get(), TIOCEXCL) != 0) return Fail(FT_DEVICE_NOT_OPENED, "cannot lock ", path, errno);
  ::cfmakeraw(&settings);
  settings.c_cflag |= CLOCAL | CREAD;
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  if (::tcsetattr(fd.Get(), TCSANOW, &settings) != 0) {
    return Fail(FT_DEVICE_NOT_OPENED, "cannot set raw mode on ", path, errno);
  }
  SetMinimumLatency(path);
  if (::tcflush(fd.Get(), TCIOFLUSH) != 0) return Fail(FT_DEVICE_NOT_OPENED, "cannot flush ", path, errno);
  fd_ = std::move(fd);
  openPath_ = path;
  return FT_OK;
}

FT_STATUS TtySource::SetTransferSize(std::uint32_t /*bytes*/) { return fd_.Valid() ? FT_OK : FT_INVALID_HANDLE; }

FT_STATUS TtySource::ReadSome(std::span<std::uint8_t> into, std::size_t& got) {
  got = 0;
  if (!fd_.Valid()) return FT_INVALID_HANDLE;
  pollfd wait{fd_.Get(), POLLIN, 0};
  const int ready = ::poll(&wait, 1, PollMs(kSourcePollTimeout));
  if (ready < 0) return errno == EINTR ? FT_OK : Fail(FT_IO_ERROR, "cannot wait for ", openPath_, errno);
  if (ready == 0) return FT_OK;
  if ((wait.revents & POLLIN) != 0) {
    const ssize_t count = ::read(fd_.Get(), into.data(), into.size());
    if (count > 0) {
      got = static_cast<std::size_t>(count);
      return FT_OK;
    }
    if (count < 0) {
      const int error = errno;
      if (error == EAGAIN || error == EINTR) return FT_OK;
      return Fail(FT_IO_ERROR, "cannot read from ", openPath_, error);
    }
  }
  if ((wait.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
    log_(openPath_.string() + " was disconnected");
    return FT_IO_ERROR;
  }
  return FT_OK;
}

FT_STATUS TtySource::Write(std::span<const std::uint8_t> bytes) {
  if (!fd_.Valid()) return FT_INVALID_HANDLE;
  const auto deadline = std::chrono::steady_clock::now() + kTtyWriteTimeout;
  while (!bytes.empty()) {
    const ssize_t count = ::write(fd_.Get(), bytes.data(), bytes.size());
    if (count > 0) {
      bytes = bytes.subspan(static_cast<std::size_t>(count));
      continue;
    }
    const int error = errno;
    if (count < 0 && error == EINTR) continue;
    if (count < 0 && error != EAGAIN) return Fail(FT_IO_ERROR, "cannot write to ", openPath_, error);
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) {
      log_("writing to " + openPath_.string() + " timed out with " + std::to_string(bytes.size()) + " bytes unsent");
      return FT_IO_ERROR;
    }
    pollfd wait{fd_.Get(), POLLOUT, 0};
    if (::poll(&wait, 1, PollMs(left)) < 0 && errno != EINTR) {
      return Fail(FT_IO_ERROR, "cannot wait to write to ", openPath_, errno);
    }
  }
  return FT_OK;
}

FT_STATUS TtySource::Flush(bool rx, bool tx) {
  if (!fd_.Valid()) return FT_INVALID_HANDLE;
  if (!rx && !tx) return FT_OK;
  const int queues = rx && tx ? TCIOFLUSH : (rx ? TCIFLUSH : TCOFLUSH);
  if (::tcflush(fd_.Get(), queues) != 0) return Fail(FT_IO_ERROR, "cannot flush ", openPath_, errno);
  return FT_OK;
}

void TtySource::Close() {
  fd_.Reset();
  openPath_.clear();
}

void TtySource::SetMinimumLatency(const fs::path& ttyPath) {
  const fs::path attribute = LatencyTimerAttribute(roots_, ttyPath);
  // Terminals of other drivers (and pseudo-terminals) have no such attribute, and
  // without write access the udev rule's setting stands.
  if (::access(attribute.c_str(), W_OK) != 0) return;
  std::ofstream file(attribute);
  file << kTtyMinLatencyMs << '\n';
  file.flush();
  if (!file) log_("cannot set the latency timer in " + attribute.string());
}

FT_STATUS TtySource::Fail(FT_STATUS status, std::string_view what, const fs::path& path, int error) {
  log_(std::string(what) + path.string() + ": " + std::error_code(error, std::generic_category()).message());
  return status;
}
