#include "ui/UiFont.h"

#include <QStringList>

namespace {
constexpr int kUiFontPixels = 12;
}  // namespace

QFont UiFont() {
  QFont font;
  font.setFamilies(QStringList{QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans CJK")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(kUiFontPixels);
  return font;
}
