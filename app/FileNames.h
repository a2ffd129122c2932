// How the file commands complete a chosen file name: a name without any "." (in the
// file name or in a directory of its path) gets the command's extension; any other
// name is taken as it stands.
#pragma once

#include <string>

// name + extension when name has no "." anywhere, else name.
std::string WithExtensionIfNoDot(const std::string& name, const std::string& extension);

inline constexpr const char* kFftExtension = ".FFT";  // spectrum text files
