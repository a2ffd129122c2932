// How the start of a measurement is stamped into SaveSetting::StartDateTime: local
// time as "yyyy/MM/dd HH:mm:ss" (2026/12/08 19:50:07), the platform's short date and
// long time. The text is stored and printed verbatim.
#pragma once

#include <chrono>
#include <functional>
#include <string>

// Where the session takes the current time from (injectable for tests).
using WallClock = std::function<std::chrono::system_clock::time_point()>;

std::string StartDateTimeText(std::chrono::system_clock::time_point when);
