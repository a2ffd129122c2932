#include "ui/FileText.h"

#include <QByteArrayView>
#include <QStringDecoder>
#include <optional>

#include "ui/TextHelpers.h"

namespace {

// The text when every byte decodes, else nothing.
std::optional<QString> DecodeStrictly(QStringDecoder decoder, QByteArrayView bytes) {
  QString text = decoder.decode(bytes);
  if (!decoder.isValid() || decoder.hasError()) return std::nullopt;
  return text;
}

}  // namespace

QString FileText(const std::string& bytes) {
  const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
  // Stateless: an incomplete sequence at the end is an error, not a wait for more.
  constexpr auto kWhole = QStringDecoder::Flag::Stateless;
  if (auto utf8 = DecodeStrictly(QStringDecoder(QStringDecoder::Utf8, kWhole), view)) return *utf8;
  if (auto shiftJis = DecodeStrictly(QStringDecoder("Shift_JIS", kWhole), view)) return *shiftJis;
  return QString::fromUtf8(view);
}

QString ShortFileText(const std::string& pathBytes, std::size_t maxCharacters) {
  return QString::fromStdString(ShortenPath(FileText(pathBytes).toStdString(), maxCharacters));
}
