#include "files/FileIdentity.h"

#include <system_error>

#include "files/PlatformFiles.h"

bool IsSpecialFile(const std::filesystem::path& path) {
  const auto identity = IdentityOf(path);
  return identity && !identity->regular;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  const auto first = IdentityOf(a);
  const auto second = IdentityOf(b);
  if (first && second) return *first == *second;
  if (first.has_value() != second.has_value()) return false;
  std::error_code ec;
  const auto resolvedA = std::filesystem::weakly_canonical(std::filesystem::absolute(a, ec), ec);
  if (ec) return false;
  const auto resolvedB = std::filesystem::weakly_canonical(std::filesystem::absolute(b, ec), ec);
  return !ec && resolvedA == resolvedB;
}
