#include "files/FileIdentity.h"

#include <sys/stat.h>

#include <system_error>

bool IsSpecialFile(const std::filesystem::path& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode);
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  struct stat first {};
  struct stat second {};
  const bool firstExists = ::stat(a.c_str(), &first) == 0;
  const bool secondExists = ::stat(b.c_str(), &second) == 0;
  if (firstExists && secondExists) return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  if (firstExists != secondExists) return false;
  std::error_code ec;
  const auto resolvedA = std::filesystem::weakly_canonical(std::filesystem::absolute(a, ec), ec);
  if (ec) return false;
  const auto resolvedB = std::filesystem::weakly_canonical(std::filesystem::absolute(b, ec), ec);
  return !ec && resolvedA == resolvedB;
}
