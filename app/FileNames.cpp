#include "app/FileNames.h"

std::string WithExtensionIfNoDot(const std::string& name, const std::string& extension) {
  return name.find('.') == std::string::npos ? name + extension : name;
}
