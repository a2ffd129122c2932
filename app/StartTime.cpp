#include "app/StartTime.h"

#include <array>
#include <cstdio>
#include <ctime>

#include "files/PlatformFiles.h"

namespace {
constexpr int kSecondsPerMinute = 60;
constexpr int kMinutesPerHour = 60;
}  // namespace

std::optional<std::string> IsoStartTime(std::string_view startDateTime) {
  const std::string text(startDateTime);
  std::tm local{};
  if (!ParseCalendar(text, "%Y/%m/%d %H:%M:%S", local)) return std::nullopt;
  std::tm normalised = local;
  normalised.tm_isdst = -1;  // the offset that held on that day
  if (std::mktime(&normalised) == -1 || normalised.tm_mday != local.tm_mday || normalised.tm_mon != local.tm_mon ||
      normalised.tm_year != local.tm_year || normalised.tm_hour != local.tm_hour) {
    return std::nullopt;  // no such day, or an hour skipped when the clocks went forward
  }
  std::array<char, 32> iso{};
  const std::size_t n = std::strftime(iso.data(), iso.size(), "%Y-%m-%dT%H:%M:%S", &normalised);
  const long offsetMinutes = UtcOffsetSeconds(normalised) / kSecondsPerMinute;
  const long magnitude = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
  std::array<char, 8> offset{};
  std::snprintf(offset.data(), offset.size(), "%c%02ld:%02ld", offsetMinutes < 0 ? '-' : '+',
                magnitude / kMinutesPerHour, magnitude % kMinutesPerHour);
  return std::string(iso.data(), n) + offset.data();
}

std::string StartDateTimeText(std::chrono::system_clock::time_point when) {
  const std::time_t time = std::chrono::system_clock::to_time_t(when);
  const std::tm local = LocalCalendar(time);
  std::array<char, 32> text{};
  const std::size_t n = std::strftime(text.data(), text.size(), "%Y/%m/%d %H:%M:%S", &local);
  return {text.data(), n};
}
