// What the tests need of the system where the platforms differ: TestPlatformPosix.cpp
// and TestPlatformWindows.cpp, linked into every test binary.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

// An environment variable of the test process; none when it is not set.
std::optional<std::string> Environment(const char* name);
// Sets it, or removes it when value is none.
void SetEnvironment(const char* name, const std::optional<std::string>& value);
// The variable that names the user's state directory, as the program reads it.
const char* StateDirectoryVariable();
// Makes a FIFO at path: a special file that blocks an ordinary open. False where the
// system has none (Windows).
bool MakeFifo(const std::filesystem::path& path);
// A stream on which every write fails, as on a full disk; none where the system has no
// such device (Windows).
std::FILE* OpenFullDevice();
// Makes tz (POSIX notation; none: the system's own) the time zone the C library uses;
// false, with nothing changed, when this C library cannot follow its rules (Windows
// knows neither explicit summer-time rules nor quoted names).
bool UseTimeZone(const std::optional<std::string>& tz);
