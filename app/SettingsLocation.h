// Where the default settings file "Zemtraini.prf" lives: beside the executable when
// that directory is writable (portable use), else in the user's configuration
// directory, which is created when missing. An installed copy (its desktop entry
// desktopFileName + ".desktop" in ../share/applications) always uses the
// configuration directory: a system's bin directory is writable for root, and a
// file left there would outlive the package. The entry point resolves it once.
#pragma once

#include <QString>
#include <filesystem>

inline constexpr const char* kDefaultSettingsName = "Zemtraini.prf";

std::filesystem::path DefaultSettingsPath(const QString& executableDir, const QString& configDir,
                                          const QString& desktopFileName);
