// A picture as the bytes of a PNG file, so the callers write it like every other file.
#pragma once

#include <QImage>
#include <optional>
#include <string>

// None when the picture is null or could not be encoded.
std::optional<std::string> PngBytes(const QImage& picture);
