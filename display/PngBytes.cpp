#include "display/PngBytes.h"

#include <QBuffer>
#include <QByteArray>

std::optional<std::string> PngBytes(const QImage& picture) {
  if (picture.isNull()) return std::nullopt;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) return std::nullopt;
  return bytes.toStdString();
}
