// How the start of a measurement is stamped into SaveSetting::StartDateTime: local
// time as "yyyy/MM/dd HH:mm:ss" (2026/12/08 19:50:07), the platform's short date and
// long time. The text is stored and printed verbatim.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Where the session takes the current time from (injectable for tests).
using WallClock = std::function<std::chrono::system_clock::time_point()>;

std::string StartDateTimeText(std::chrono::system_clock::time_point when);

// A StartDateTime text in ISO 8601 with this machine's UTC offset at that moment
// ("2026-12-09T18:43:13+09:00"), the text read as local time; none for a text that is
// not "yyyy/MM/dd HH:mm:ss" or names no moment (2026/02/30).
std::optional<std::string> IsoStartTime(std::string_view startDateTime);
