#include "files/DrawnText.h"

#include <QFont>
#include <algorithm>

namespace {

// Code points a font maps to a glyph that is also an ordinary character's.
constexpr char32_t kLastControl = 0x1F;
constexpr char32_t kFirstRadical = 0x2E80;  // CJK Radicals Supplement, then Kangxi Radicals
constexpr char32_t kLastRadical = 0x2FDF;
constexpr char32_t kFirstLigature = 0xFB00;  // ﬀ ﬁ ﬂ ﬃ ﬄ ﬅ ﬆ
constexpr char32_t kLastLigature = 0xFB06;

bool IsLigature(char32_t c) { return c >= kFirstLigature && c <= kLastLigature; }
bool SharesAGlyph(char32_t c) { return c <= kLastControl || (c >= kFirstRadical && c <= kLastRadical); }

std::u32string Utf32(const QString& text) {
  const QList<uint> units = text.toUcs4();
  return {units.begin(), units.end()};
}

quint32 GlyphOf(const QRawFont& font, char32_t c) {
  const QList<quint32> glyphs = font.glyphIndexesForString(QString::fromUcs4(&c, 1));
  return glyphs.size() == 1 ? glyphs.front() : 0;
}

}  // namespace

void DrawnText::Add(const QString& text, const QFont& font) {
  const QRawFont raw = QRawFont::fromFont(font);
  auto face = std::find_if(faces.begin(), faces.end(), [&](const Face& f) {
    return f.font.familyName() == raw.familyName() && f.font.styleName() == raw.styleName();
  });
  if (face == faces.end()) face = faces.insert(faces.end(), Face{raw, {}});
  for (const char32_t c : Utf32(text)) {
    face->characters.insert(c);
    all.insert(c);
  }
}

std::optional<std::u32string> DrawnText::TextFor(char32_t emitted) const {
  if (all.count(emitted) != 0) return std::nullopt;
  if (IsLigature(emitted)) return Utf32(QString::fromUcs4(&emitted, 1).normalized(QString::NormalizationForm_KC));
  if (!SharesAGlyph(emitted)) return std::nullopt;
  std::set<char32_t> candidates;
  for (const Face& face : faces) {
    const quint32 glyph = GlyphOf(face.font, emitted);
    if (glyph == 0) continue;
    for (const char32_t c : face.characters) {
      if (GlyphOf(face.font, c) == glyph) candidates.insert(c);
    }
  }
  if (candidates.size() != 1) return std::nullopt;
  return std::u32string(1, *candidates.begin());
}
