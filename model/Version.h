// The program's version, set once in the build (the project's version in CMake) and
// shown by --version of both programs, the version dialog, the package, the metainfo
// and the man pages.
#pragma once

#include <string>
#include <string_view>

// "1.1.0": major, minor and patch.
std::string_view ZemtraVersion();

// "1.1": major and minor, as the version dialog shows them.
std::string ZemtraShortVersion();

// The line of --version: "zemtra-cli 1.1.0".
std::string VersionLine(std::string_view program);
