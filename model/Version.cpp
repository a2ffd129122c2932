#include "model/Version.h"

#ifndef ZEMTRA_VERSION
#error "ZEMTRA_VERSION comes from the project's version in CMakeLists.txt"
#endif

std::string_view ZemtraVersion() { return ZEMTRA_VERSION; }

std::string ZemtraShortVersion() {
  const std::string_view version = ZemtraVersion();
  return std::string(version.substr(0, version.rfind('.')));
}

std::string VersionLine(std::string_view program) {
  return std::string(program) + " " + std::string(ZemtraVersion()) + "\n";
}
