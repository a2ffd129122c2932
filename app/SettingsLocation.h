// Where the default settings file "Zemtraini.prf" lives: beside the executable when
// that directory is writable (portable use), else in the user's configuration
// directory, which is created when missing. The entry point resolves it once.
#pragma once

#include <QString>
#include <filesystem>

inline constexpr const char* kDefaultSettingsName = "Zemtraini.prf";

std::filesystem::path DefaultSettingsPath(const QString& executableDir, const QString& configDir);
